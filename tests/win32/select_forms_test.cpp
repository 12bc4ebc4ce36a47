// The setup wizard and the airport selection window on Windows, driven by window messages over a
// generated simulator folder, with the windows they ask for written down instead of opened.
#include <filesystem>

#include "airspace/selection_fetch.h"
#include "core/program_state.h"
#include "core/text_1252.h"
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

using testing::Click;
using testing::Control;
using testing::Tick;

struct Asked_Windows : Program_Windows {
  void Show_Setup() override { asked.push_back("setup"); }
  void Show_Selection() override { asked.push_back("selection"); }
  void Show_Chart() override { asked.push_back("chart"); }
  void Show_Preferences(Window_Closed) override { asked.push_back("preferences"); }
  void Show_About(Window_Closed) override { asked.push_back("about"); }
  void End_Program() override { asked.push_back("end"); }
  std::vector<std::string> asked;
};

// Each test runs in a fresh working folder, which holds the data files.
class Select_Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    was_in_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    st.work_dir = dir.path();
  }
  void TearDown() override {
    testing::Close_All_Forms();
    std::filesystem::current_path(was_in_);
  }

  orv::testing::Temp_Dir dir;
  Program_State st;
  Asked_Windows windows;
  testing::Recorder recorder;
  std::filesystem::path was_in_;
};

std::string Item_Text(HWND control, UINT get_text, WPARAM i) {
  wchar_t text[256] = {};
  SendMessageW(control, get_text, i, reinterpret_cast<LPARAM>(text));
  return Utf8(text);
}

// The pilot's mouse on line `i` of a list box, once or twice.
void Click_Line(HWND list, int i, bool twice) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
  SendMessageW(list, twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(list, WM_LBUTTONUP, 0, at);
  testing::Pump();
}

using Win32Setup = Select_Forms;

TEST_F(Win32Setup, ShowsItsControlsTheDrivesAndTheWorkingFolderAndItsListsFeedText1) {
  std::filesystem::create_directories(dir / "FS2002");
  HWND form = Open_Setup_Form(st, windows);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text_Of(form), "Settings");
  const std::vector<std::pair<const char*, const char*>> captions = {
      {"Frame1", "Flight Simulator Information"},
      {"Label1", "Select the version of your Microsoft Flight Simulator:"},
      {"Option1", "Microsoft Flight Simulator 2002"},
      {"Frame2", "Flight Simulator's Path"},
      {"Label2", "Enter your Flight Simulator's main path:"},
      {"Label4", "Current Directory:"},
      {"Label3", "Example: C:\\Program Files\\Microsoft Games\\Fs2002"},
      {"Command1", "NEXT STEP --->"}};
  for (const auto& [name, caption] : captions) EXPECT_EQ(Text_Of(Control(form, name)), caption);
  EXPECT_EQ(SendMessageW(Control(form, "Option1"), BM_GETCHECK, 0, 0), BST_CHECKED);

  HWND drive1 = Control(form, "Drive1");
  const std::vector<std::string> drives = Drive_List();
  ASSERT_EQ(SendMessageW(drive1, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(drives.size()));
  for (size_t i = 0; i < drives.size(); ++i)
    EXPECT_EQ(Item_Text(drive1, CB_GETLBTEXT, i), drives[i]);
  const auto chosen = static_cast<WPARAM>(SendMessageW(drive1, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(Item_Text(drive1, CB_GETLBTEXT, chosen).substr(0, 2),
            Lower_Ascii(dir.path().string().substr(0, 2)));

  // The folder list stands on the working folder, with its one folder below it.
  HWND dir1 = Control(form, "Dir1");
  HWND text1 = Control(form, "Text1");
  EXPECT_EQ(Text_Of(text1), dir.path().string());
  const auto current = static_cast<int>(SendMessageW(dir1, LB_GETCURSEL, 0, 0));
  EXPECT_EQ(Item_Text(dir1, LB_GETTEXT, current), dir.path().filename().string());
  ASSERT_EQ(SendMessageW(dir1, LB_GETCOUNT, 0, 0), current + 2);
  Click_Line(dir1, current + 1, false);
  EXPECT_EQ(Text_Of(text1), (dir / "FS2002").string());
  Click_Line(dir1, current + 1, true);  // opens it: nothing inside
  EXPECT_EQ(SendMessageW(dir1, LB_GETCOUNT, 0, 0), current + 2);
  EXPECT_EQ(SendMessageW(dir1, LB_GETCURSEL, 0, 0), current + 1);
  Click_Line(dir1, 0, false);  // the drive root, without its separator
  EXPECT_EQ(Text_Of(text1), dir.path().root_name().string());

  Set_Text(text1, "D:\\");
  EXPECT_EQ(Text_Of(text1), "D:");
}

TEST_F(Win32Setup, NextStepWantsTheSimulatorAndTheCloseBoxBeforeItEndsTheProgram) {
  scenery_writer::Sim_Folder(dir / "Fs2002").Exe_Name("FS2002.EXE").Write();
  HWND form = Open_Setup_Form(st, windows);
  ASSERT_NE(form, nullptr);
  Set_Text(Control(form, "Text1"), (dir / "Fs2002" / "Scenery").string());
  Click(form, "Command1");
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].icon, Message_Icon::exclamation);
  EXPECT_EQ(recorder.messages[0].text, MSG_NOT_SIM_FOLDER);
  EXPECT_FALSE(std::filesystem::exists(dir / "orv_config.cfg"));
  EXPECT_EQ(Find_Form("Form2"), form);

  Set_Text(Control(form, "Text1"), (dir / "Fs2002").string());
  Click(form, "Command1");
  EXPECT_EQ(recorder.messages.back().text, MSG_SETTINGS_CREATED);
  EXPECT_TRUE(std::filesystem::exists(dir / "orv_config.cfg"));
  EXPECT_EQ(st.fs_path, (dir / "Fs2002").string());
  EXPECT_EQ(windows.asked, std::vector<std::string>{"selection"});
  EXPECT_EQ(Find_Form("Form2"), nullptr);

  form = Open_Setup_Form(st, windows);
  Close_Form(form);
  EXPECT_EQ(recorder.messages.back().text, MSG_SETUP_NOT_FINISHED);
  EXPECT_EQ(windows.asked, (std::vector<std::string>{"selection", "end"}));
  EXPECT_FALSE(std::filesystem::exists(dir / "orv_config.cfg"));
  EXPECT_EQ(Find_Form("Form2"), nullptr);
}

class Win32Selection : public Select_Forms {
 protected:
  // A first run's window, its settings as the wizard leaves them.
  HWND Open_First_Run() {
    orv::testing::Write_Sample_Sim(dir / "FS2002");
    EXPECT_TRUE(Write_Wizard_Settings(st, (dir / "FS2002").string()).ok);
    st.first_run = true;
    // Each look at the clock moves on a whole slice: one scan step per tick.
    return Open_Selection_Form(st, windows, Airspace_Selection_Engine(),
                               [this] { return now += SCAN_SLICE; });
  }

  static std::vector<std::string> Items(HWND combo) {
    std::vector<std::string> items;
    const auto n = static_cast<WPARAM>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (WPARAM i = 0; i < n; ++i) items.push_back(Item_Text(combo, CB_GETLBTEXT, i));
    return items;
  }

  // The pilot's keys in the list's edit field, replacing what it held.
  static void Type(HWND combo, const std::wstring& keys) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
    for (wchar_t key : keys) SendMessageW(info.hwndItem, WM_CHAR, key, 0);
    testing::Pump();
  }

  std::chrono::microseconds now{0};
};

const std::vector<std::string> kBuiltItems = {"KSEA (SEATTLE-TACOMA INTL)", "KBFI (BOEING FLD)",
                                              "LSZH (Z\xC3\x9CRICH)", "KPAE (PAINE)"};

TEST_F(Win32Selection, AFirstRunTickByTickShowsItsProgressAndFillsTheList) {
  HWND form = Open_First_Run();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text_Of(form), "Choosing an airport");
  HMENU abot1 = GetSubMenu(GetMenu(form), 0);
  wchar_t caption[64] = {};
  GetMenuStringW(GetMenu(form), 0, caption, 64, MF_BYPOSITION);
  EXPECT_EQ(Utf8(caption), "About");
  GetMenuStringW(abot1, 0, caption, 64, MF_BYPOSITION);
  EXPECT_EQ(Utf8(caption), "Orvane v1.2");
  HWND combo = Control(form, "Combo1");
  HWND text1 = Control(form, "Text1");
  HWND bar = Control(form, "ProgressBar1");
  EXPECT_EQ(GetWindowLongW(combo, GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_EQ(Text_Of(combo), "[Type and select an airport from the list]");
  EXPECT_TRUE(GetWindowLongW(text1, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(Text_Of(text1), "-None-");
  EXPECT_EQ(Text_Of(Control(form, "Command3")), "GET AIRPORT");
  EXPECT_EQ(Text_Of(Control(form, "Command2")), "CLOSE_PROGRAM");
  EXPECT_EQ(Text_Of(Control(form, "Label2")), "Scanning:");

  Tick(form, SCAN_BGLS_TIMER);  // not started yet: no tick
  EXPECT_EQ(Text_Of(text1), "-None-");
  Tick(form, READ_SCENERIES_PATHS_TIMER);
  EXPECT_FALSE(IsWindowEnabled(combo));
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 4);  // three files, and one
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
  Tick(form, SCAN_BGLS_TIMER);
  EXPECT_EQ(Text_Of(text1), "Seattle Area");
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 1);
  for (int guard = 0; guard < 20 && Text_Of(text1) != "Done"; ++guard) {
    Tick(form, SCAN_BGLS_TIMER);
  }
  EXPECT_EQ(Text_Of(text1), "Done");
  EXPECT_EQ(recorder.messages.size(), 3u);  // first run, database created, the damaged file
  EXPECT_EQ(Items(combo), kBuiltItems);
  EXPECT_TRUE(IsWindowEnabled(combo) && IsWindowEnabled(Control(form, "Command3")));
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0);

  // The close box in "Done" ends the program.
  Close_Form(form);
  EXPECT_EQ(windows.asked, std::vector<std::string>{"end"});
  EXPECT_EQ(Find_Form("Form3"), nullptr);
}

TEST_F(Win32Selection, TypingNarrowsTheListAndANarrowedChoiceFetchesThatAirport) {
  HWND form = Open_First_Run();
  ASSERT_NE(form, nullptr);
  Tick(form, READ_SCENERIES_PATHS_TIMER);
  for (int guard = 0; guard < 20 && Text_Of(Control(form, "Text1")) != "Done"; ++guard) {
    Tick(form, SCAN_BGLS_TIMER);
  }
  HWND combo = Control(form, "Combo1");
  Type(combo, L"k");
  EXPECT_EQ(Text_Of(combo), "k");
  EXPECT_EQ(Items(combo),
            (std::vector<std::string>{kBuiltItems[0], kBuiltItems[1], kBuiltItems[3]}));
  Type(combo, L"kPa");
  EXPECT_EQ(Items(combo), std::vector<std::string>{kBuiltItems[3]});
  EXPECT_EQ(Text_Of(combo), "kPa");
  Click(form, "Command3");  // typed, nothing chosen
  EXPECT_TRUE(windows.asked.empty());

  Type(combo, L"\u00fcr");  // ür: the Windows-1252 letter folds as well
  ASSERT_EQ(Items(combo), std::vector<std::string>{kBuiltItems[2]});
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(Text_Of(combo), kBuiltItems[2]);
  Click(form, "Command3");
  EXPECT_EQ(st.cur_airport.ident, "LSZH");
  EXPECT_EQ(windows.asked, std::vector<std::string>{"chart"});
  EXPECT_EQ(Find_Form("Form3"), nullptr);
}

}  // namespace
}  // namespace orv::win32
