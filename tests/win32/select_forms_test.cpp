// The setup wizard and the airport selection window on Windows, driven by window messages over a
// generated simulator folder, with the windows they ask for written down instead of opened.
#include <filesystem>

#include "behaviour/selection_behaviour.h"
#include "behaviour/setup_behaviour.h"
#include "core/program_state.h"
#include "scenery/scenery_cfg.h"
#include "startup/setup_check.h"
#include "support/sample_sim.h"
#include "support/temp_dir.h"
#include "win32/form_driver.h"
#include "win32/selection_form.h"
#include "win32/setup_form.h"

// The common controls need the window types first.
// clang-format off
#include <commctrl.h>
// clang-format on

namespace orv::win32 {
namespace {

using namespace orv::win32::testing;
using Names = std::vector<std::string>;

struct Asked_Windows : Program_Windows {
  void Show_Setup() override { asked.push_back("setup"); }
  void Show_Selection() override { asked.push_back("selection"); }
  void Show_Chart() override { asked.push_back("chart"); }
  void Show_Preferences(Window_Closed) override {}
  void Show_About(Window_Closed) override {}
  void End_Program() override { asked.push_back("end"); }
  Names asked;
};

// Each test runs in a fresh working folder, which holds the data files.
class Select_Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::current_path(dir.path());
    st.work_dir = dir.path();
  }
  void TearDown() override {
    Close_All_Forms();
    std::filesystem::current_path(was_in_);
  }

  // The lines of a list or combo box.
  static Names Lines(HWND box, UINT count, UINT get_text) {
    Names lines;
    for (WPARAM i = 0; i < static_cast<WPARAM>(SendMessageW(box, count, 0, 0)); ++i) {
      wchar_t text[256] = {};
      SendMessageW(box, get_text, i, reinterpret_cast<LPARAM>(text));
      lines.push_back(Utf8(text));
    }
    return lines;
  }

  std::filesystem::path was_in_ = std::filesystem::current_path();
  orv::testing::Temp_Dir dir;
  Program_State st;
  Asked_Windows windows;
  Recorder recorder;
};

// The pilot's mouse on line `i` of a list box: one click, or a double click.
void Click_Line(HWND list, int i, bool twice) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
  for (UINT down : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
    SendMessageW(list, down, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    if (!twice) return;
  }
}

using Win32Setup = Select_Forms;

TEST_F(Win32Setup, FromTheWorkingFolderToTheSimulatorsFolderThenTheCloseBoxEndsTheProgram) {
  scenery_writer::Sim_Folder(dir / "Fs2002").Exe_Name("FS2002.EXE").Write();
  std::filesystem::create_directories(dir / "Fs2002" / "Scenery");
  HWND form = Open_Setup_Form(st, windows);
  ASSERT_NE(form, nullptr);
  Expect_Built(form, SETUP_WINDOW);
  EXPECT_EQ(SendMessageW(Control(form, "Option1"), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Lines(Control(form, "Drive1"), CB_GETCOUNT, CB_GETLBTEXT), Drive_List());
  HWND dir1 = Control(form, "Dir1");
  HWND text1 = Control(form, "Text1");
  EXPECT_EQ(Text_Of(text1), dir.path().string());
  const auto current = static_cast<int>(SendMessageW(dir1, LB_GETCURSEL, 0, 0));
  const Names folders = Lines(dir1, LB_GETCOUNT, LB_GETTEXT);
  ASSERT_EQ(folders.size(), static_cast<size_t>(current) + 2);
  EXPECT_EQ(folders[static_cast<size_t>(current)], dir.path().filename().string());
  Click_Line(dir1, current + 1, true);  // the click reports it, the second opens it
  EXPECT_EQ(Text_Of(text1), (dir / "Fs2002").string());
  EXPECT_EQ(Lines(dir1, LB_GETCOUNT, LB_GETTEXT).back(), "Scenery");

  // Enter in the folder list opens the selected folder; it does not accept the wizard.
  SetFocus(dir1);
  SendMessageW(dir1, LB_SETCURSEL, SendMessageW(dir1, LB_GETCOUNT, 0, 0) - 1, 0);
  Press_Key(dir1, VK_RETURN);
  EXPECT_EQ(Text_Of(text1), (dir / "Fs2002" / "Scenery").string());
  EXPECT_TRUE(recorder.messages.empty());
  // A path typed key by key arrives whole, the caret at its end; Esc changes nothing.
  Set_Text(text1, "");
  SetFocus(text1);
  Type_Keys(text1, L"Z:\\tmp\\FS2002");
  EXPECT_EQ(Text_Of(text1), "Z:\\tmp\\FS2002");
  DWORD caret = 0;
  SendMessageW(text1, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(caret, 13u);
  Press_Key(text1, VK_ESCAPE);
  EXPECT_TRUE(IsWindow(form) && recorder.messages.empty());

  Click_Line(dir1, 0, false);  // the drive root, without its separator: no simulator there
  EXPECT_EQ(Text_Of(text1), dir.path().root_name().string());
  Click(form, "Command1");
  EXPECT_EQ(recorder.messages.back().icon, Message_Icon::exclamation);
  EXPECT_EQ(recorder.messages.back().text, MSG_NOT_SIM_FOLDER);
  Set_Text(text1, (dir / "Fs2002").string());
  Press_Key(text1, VK_RETURN);  // Enter in the path box accepts, as the button does
  EXPECT_EQ(recorder.messages.back().text, MSG_SETTINGS_CREATED);
  EXPECT_TRUE(std::filesystem::exists(dir / "orv_config.cfg"));
  EXPECT_EQ(windows.asked, Names{"selection"});
  EXPECT_EQ(Find_Form("Form2"), nullptr);

  Close_Form(Open_Setup_Form(st, windows));
  EXPECT_EQ(recorder.messages.back().text, MSG_SETUP_NOT_FINISHED);
  EXPECT_EQ(windows.asked, (Names{"selection", "end"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "orv_config.cfg"));
}

using Win32Selection = Select_Forms;

// The pilot's keys in the list's edit field, replacing what it held.
void Type(HWND combo, const std::wstring& keys) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(combo, &info);
  SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
  for (wchar_t key : keys) SendMessageW(info.hwndItem, WM_CHAR, key, 0);
}

TEST_F(Win32Selection, AFirstRunByItsTimersThenANarrowedChoiceFetchesThatAirport) {
  orv::testing::Write_Sample_Sim(dir / "FS2002");
  ASSERT_TRUE(Write_Wizard_Settings(st, (dir / "FS2002").string()).ok);
  st.first_run = true;
  // Each look at the clock moves on a whole slice: one scan step per tick.
  std::chrono::microseconds now{0};
  HWND form = Open_Selection_Form(st, windows, [&now] { return now += SCAN_SLICE; });
  ASSERT_NE(form, nullptr);
  Expect_Built(form, SELECTION_WINDOW);
  HWND combo = Control(form, "Combo1");
  HWND text1 = Control(form, "Text1");
  HWND bar = Control(form, "ProgressBar1");
  EXPECT_EQ(Text_Of(combo), "[Type and select an airport from the list]");

  Tick(form, SCAN_BGLS_TIMER);  // not started yet: no tick
  EXPECT_EQ(Text_Of(text1), "-None-");
  Tick(form, READ_SCENERIES_PATHS_TIMER);
  EXPECT_FALSE(IsWindowEnabled(combo));
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 4);  // three files, and one
  Tick(form, SCAN_BGLS_TIMER);
  EXPECT_EQ(Text_Of(text1), "Seattle Area");
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 1);
  for (int guard = 0; guard < 20 && Text_Of(text1) != "Done"; ++guard) Tick(form, SCAN_BGLS_TIMER);
  EXPECT_EQ(Text_Of(text1), "Done");
  const Names built = {"KSEA (SEATTLE-TACOMA INTL)", "KBFI (BOEING FLD)", "LSZH (Z\xC3\x9CRICH)",
                       "KPAE (PAINE)"};
  EXPECT_EQ(Lines(combo, CB_GETCOUNT, CB_GETLBTEXT), built);
  EXPECT_TRUE(IsWindowEnabled(combo));

  Type(combo, L"kPa");
  EXPECT_EQ(Lines(combo, CB_GETCOUNT, CB_GETLBTEXT), Names{built[3]});
  EXPECT_EQ(Text_Of(combo), "kPa");
  Click(form, "Command3");  // typed, nothing chosen
  EXPECT_TRUE(windows.asked.empty());
  Type(combo, L"\u00fcr");  // ür: the Windows-1252 letter folds as well
  ASSERT_EQ(Lines(combo, CB_GETCOUNT, CB_GETLBTEXT), Names{built[2]});
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  Click(form, "Command3");
  EXPECT_EQ(st.cur_airport.ident, "LSZH");
  EXPECT_EQ(windows.asked, Names{"chart"});
  EXPECT_EQ(Find_Form("Form3"), nullptr);
}

}  // namespace
}  // namespace orv::win32
