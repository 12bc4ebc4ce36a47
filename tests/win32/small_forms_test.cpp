// The splash, preferences and About windows as Win32 shows them: their names, captions and
// places, the splash picture and its one tick, the two separate option groups, the topmost
// windows at the corner of the screen, and the opener told once however they close.
#include <array>
#include <string>

#include "behaviour/nearest_behaviour.h"
#include "behaviour/preferences_behaviour.h"
#include "behaviour/splash_behaviour.h"
#include "core/program_state.h"
#include "data/database_files.h"
#include "form_driver.h"
#include "startup/setup_check.h"
#include "support/temp_dir.h"
#include "win32/about_form.h"
#include "win32/nearest_form.h"
#include "win32/preferences_form.h"
#include "win32/splash_form.h"

namespace orv::win32 {
namespace {

using namespace orv::win32::testing;

// Records which window a behaviour asks for instead of opening it.
struct Recording_Windows : Program_Windows {
  void Show_Setup() override { ++setup; }
  void Show_Selection() override { ++selection; }
  void Show_Chart() override {}
  void Show_Preferences(Window_Closed) override {}
  void Show_About(Window_Closed) override {}
  void End_Program() override {}
  int setup = 0;
  int selection = 0;
};

class Small_Forms : public ::testing::Test {
 protected:
  Small_Forms() { st.work_dir = dir.path(); }
  ~Small_Forms() override { Close_All_Forms(); }

  static bool Checked(HWND form, const char* name) {
    return SendMessageW(Control(form, name), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  static bool Topmost_At_Corner(HWND form) {
    RECT r;
    GetWindowRect(form, &r);
    return r.left == 0 && r.top == 0 && (GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
  }

  orv::testing::Temp_Dir dir;
  Program_State st;
  Recorder recorder;
};

class Win32Splash : public Small_Forms {};
class Win32Preferences : public Small_Forms {};
class Win32About : public Small_Forms {};

// How many pixels of the 32-bit bitmap have exactly the colour.
int Count_Colour(HBITMAP picture, COLORREF colour, int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::string pixels(static_cast<size_t>(w) * h * 4, '\0');
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, picture, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  int n = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const auto* p = reinterpret_cast<const unsigned char*>(pixels.data() + i);
    n += RGB(p[2], p[1], p[0]) == colour;
  }
  return n;
}

TEST_F(Win32Splash, ShowsItsPictureAndItsTickHandsOverOnce) {
  Recording_Windows windows;
  HWND splash = Open_Splash_Form(st, windows);
  ASSERT_NE(splash, nullptr);
  Expect_Built(splash, SPLASH_WINDOW);
  EXPECT_FALSE(GetWindowLongW(splash, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX));

  auto picture = reinterpret_cast<HBITMAP>(
      SendMessageW(Control(splash, "Picture1"), STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP size{};
  ASSERT_TRUE(GetObjectW(picture, sizeof size, &size));
  EXPECT_EQ(size.bmWidth, Scaled(400, Dpi_Of(splash)));  // drawn at the window's scale
  EXPECT_EQ(size.bmHeight, Scaled(250, Dpi_Of(splash)));
  // Paper, runways and the green of the chart all show.
  EXPECT_GT(Count_Colour(picture, RGB(255, 255, 255), 400, 250), 400 * 250 / 2);
  EXPECT_GT(Count_Colour(picture, RGB(70, 70, 70), 400, 250), 2000);
  EXPECT_GT(Count_Colour(picture, RGB(0, 192, 0), 400, 250), 1000);

  // No data files: the wizard, and the splash is gone.
  Tick(splash, SPLASH_TIMER1);
  EXPECT_EQ(windows.setup, 1);
  EXPECT_EQ(windows.selection, 0);
  EXPECT_FALSE(IsWindow(splash));

  // All three: the airport list.
  ASSERT_TRUE(Write_Wizard_Settings(st, (dir / "FS2002").string()).ok);
  ASSERT_TRUE(Write_Airport_File(st).ok);
  ASSERT_TRUE(Write_Airspace_List(st).ok);
  splash = Open_Splash_Form(st, windows);
  Tick(splash, SPLASH_TIMER1);
  EXPECT_EQ(windows.setup, 1);
  EXPECT_EQ(windows.selection, 1);
  EXPECT_FALSE(IsWindow(splash));
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Win32Preferences, ClicksSetTheSwitchesAndTheCloseBoxTellsOnce) {
  st.show_twy_ids = true;
  st.show_airspace = true;
  st.altim_units = 1;
  int closed = 0;
  HWND form = Open_Preferences_Form(st, [&] { ++closed; });
  ASSERT_NE(form, nullptr);
  Expect_Built(form, PREFERENCES_WINDOW);
  EXPECT_TRUE(Topmost_At_Corner(form));
  // Moved to a monitor at twice the scale: the window takes the size the system suggests and
  // every control its design place at that scale.
  const int dpi = Dpi_Of(form) * 2;
  RECT suggested{0, 0, Scaled(PREFERENCES_WINDOW.client.w + 20, dpi),
                 Scaled(PREFERENCES_WINDOW.client.h + 40, dpi)};
  SendMessageW(form, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  const Control_Row& check1 = PREFERENCES_WINDOW.controls[PREFERENCES_WINDOW.Index_Of("Check1")];
  EXPECT_EQ(Client_Place(Control(form, "Check1")).left, Scaled(check1.rect.x, dpi));
  EXPECT_EQ(Client_Place(Control(form, "Check1")).right - Client_Place(Control(form, "Check1")).left,
            Scaled(check1.rect.w, dpi));
  for (int n = 1; n <= 6; ++n) {
    const std::string name = "Check" + std::to_string(n);
    EXPECT_EQ(Checked(form, name.c_str()), n == 1 || n == 4) << name;
  }
  EXPECT_TRUE(Checked(form, "Option2"));
  EXPECT_TRUE(Checked(form, "Option3"));
  EXPECT_EQ(SendMessageW(Control(form, "Text2"), EM_GETLIMITTEXT, 0, 0), 64);
  // The frames stack in order, each box inside its own frame.
  EXPECT_GT(Client_Place(Control(form, "Frame2")).top,
            Client_Place(Control(form, "Check6")).bottom);
  EXPECT_LT(Client_Place(Control(form, "Option4")).bottom,
            Client_Place(Control(form, "Frame3")).bottom);

  Click(form, "Check4");
  Click(form, "Check6");
  EXPECT_FALSE(st.show_airspace);
  EXPECT_TRUE(st.follow_acft);
  EXPECT_TRUE(st.show_twy_ids);
  Click(form, "Option1");
  EXPECT_EQ(st.altim_units, 0);
  EXPECT_FALSE(Checked(form, "Option2"));
  // The simulator's group is a group of its own.
  EXPECT_TRUE(Checked(form, "Option3"));

  Close_Form(form);
  Pump();
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_FALSE(st.show_airspace);
  EXPECT_EQ(st.altim_units, 0);
  EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(Win32About, OkClosesAndTellsOnce) {
  int closed = 0;
  HWND form = Open_About_Form([&] { ++closed; });
  ASSERT_NE(form, nullptr);
  Expect_Built(form, ABOUT_WINDOW);
  EXPECT_TRUE(Topmost_At_Corner(form));
  EXPECT_TRUE(GetWindowLongW(Control(form, "Text1"), GWL_STYLE) & ES_READONLY);
  EXPECT_GT(SendMessageW(Control(form, "Text1"), EM_GETLINECOUNT, 0, 0), 3);

  // The credits are text to read: the keyboard passes them, and Enter in them is the window's.
  HWND text1 = Control(form, "Text1");
  EXPECT_FALSE(GetWindowLongW(text1, GWL_STYLE) & WS_TABSTOP);
  SetFocus(text1);
  Press_Key(text1, VK_RETURN);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(IsWindow(form));
  // Esc closes it as its button does.
  form = Open_About_Form([&] { ++closed; });
  Press_Key(Control(form, "Command1"), VK_ESCAPE);
  EXPECT_EQ(closed, 2);
  EXPECT_FALSE(IsWindow(form));
}

TEST(Win32Nearest, EnterOpensTheSelectedLineAndTheOpenerIsToldOnce) {
  int closed = 0;
  std::vector<size_t> chosen;
  HWND form = Open_Nearest_Form({NEAREST_TO_CENTRE,
                                 {"KSEA (SEATTLE-TACOMA INTL)", "KBFI"},
                                 [&](size_t item) { chosen.push_back(item); },
                                 [&] { ++closed; }});
  ASSERT_NE(form, nullptr);
  Expect_Built(form, NEAREST_WINDOW);  // the heading as the chart gave it
  EXPECT_TRUE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND list = Control(form, "List1");
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  SendMessageW(form, WM_COMMAND, IDOK, 0);  // Enter
  Pump();
  EXPECT_EQ(chosen, std::vector<size_t>{1});
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(IsWindow(form));
}

// A form whose creation the window itself refuses, and one that closes itself from inside one of
// its own events while a second close comes during its unload: the frame asks the unload once
// and never deletes a form its code is still using.
class Frame_Form final : public Form {
 public:
  explicit Frame_Form(bool refuse) : refuse_(refuse) {
    Create("Frame_Form", "", WS_POPUP, 0, 10, 10);
  }
  int after_close = 0;
  int* unloads = nullptr;

 protected:
  void Timer(UINT_PTR) override {
    Close_Form(Hwnd());
    ++after_close;  // still this form's own member: the window goes only once this returns
    EXPECT_TRUE(IsWindow(Hwnd()));
  }
  bool Closing() override {
    ++*unloads;
    Close_Form(Hwnd());  // the pilot's close box while the unload's message box is up
    return true;
  }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_CREATE && refuse_) return -1;
    return Form::Handle(msg, wp, lp);
  }

 private:
  bool refuse_;
};

TEST(Win32Frame, ARefusedCreationLeavesTheFormAndASelfCloseWaitsForItsEvent) {
  const int open = Form::Open_Count();
  auto* refused = new Frame_Form(true);
  EXPECT_EQ(refused->Hwnd(), nullptr);
  EXPECT_EQ(Form::Open_Count(), open);
  delete refused;

  auto* form = new Frame_Form(false);
  int unloads = 0;
  form->unloads = &unloads;
  HWND hwnd = form->Hwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(Form::Open_Count(), open + 1);
  SendMessageW(hwnd, WM_TIMER, 1, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(unloads, 1);
  EXPECT_EQ(Form::Open_Count(), open);
}

}  // namespace
}  // namespace orv::win32
