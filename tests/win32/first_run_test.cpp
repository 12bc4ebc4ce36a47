// orvane.exe's whole first run, window after window, driven by the messages the pilot's clicks
// and the system's timers send: splash, wizard, the build, the airport list, GET AIRPORT, the
// chart, back to the list, and the end.
#include <filesystem>

#include "behaviour/chart_behaviour.h"
#include "core/program_state.h"
#include "scenery/database_build.h"
#include "simlink/sim_choice.h"
#include "startup/setup_check.h"
#include "support/sample_sim.h"
#include "support/temp_dir.h"
#include "win32/chart_form.h"
#include "win32/form_driver.h"
#include "win32/selection_form.h"
#include "win32/splash_form.h"
#include "win32/win32_windows.h"

namespace orv::win32 {
namespace {

using namespace orv::win32::testing;

// The list, ticked until its status box reads "Done".
void Tick_Until_Done(HWND selection) {
  Tick(selection, READ_SCENERIES_PATHS_TIMER);
  HWND text1 = Control(selection, "Text1");
  for (int guard = 0; guard < 50 && Text_Of(text1) != "Done"; ++guard) {
    Tick(selection, SCAN_BGLS_TIMER);
  }
  EXPECT_EQ(Text_Of(text1), "Done");
}

TEST(Win32FirstRun, FromTheSplashToTheChartAndBackToTheEndByWindowMessages) {
  orv::testing::Temp_Dir dir;
  const std::filesystem::path was_in = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  orv::testing::Write_Sample_Sim(dir / "FS2002");
  Recorder recorder;
  Program_State st;
  st.work_dir = dir.path();
  std::chrono::microseconds now{0};  // one scan step per tick
  Win32_Windows windows(
      st, [] { return Platform_Link(); }, [&now] { return now += SCAN_SLICE; });

  HWND splash = windows.Open_Splash();
  ASSERT_NE(splash, nullptr);
  Tick(splash, SPLASH_TIMER1);
  EXPECT_EQ(Find_Form("Form1"), nullptr);
  HWND setup = Find_Form("Form2");
  ASSERT_NE(setup, nullptr);
  Set_Text(Control(setup, "Text1"), (dir / "FS2002").string());
  Click(setup, "Command1");
  EXPECT_EQ(Find_Form("Form2"), nullptr);

  HWND selection = Find_Form("Form3");
  ASSERT_NE(selection, nullptr);
  Tick_Until_Done(selection);
  ASSERT_GE(recorder.messages.size(), 3u);
  EXPECT_EQ(recorder.messages[0].text, MSG_SETTINGS_CREATED);
  EXPECT_EQ(recorder.messages[1].text, MSG_FIRST_BUILD);
  EXPECT_EQ(recorder.messages[2].text, MSG_DATABASE_CREATED);
  for (const char* file : {"orv_config.cfg", "all_fs_airports.dat", "world_airspaces.lst"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / file)) << file;
  }
  HWND combo = Control(selection, "Combo1");
  const LRESULT ksea = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(L"KSEA (SEATTLE-TACOMA INTL)"));
  ASSERT_NE(ksea, CB_ERR);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(ksea), 0);
  SendMessageW(selection, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  Click(selection, "Command3");

  // No simulator runs: the chart says so once and draws the airport anyway.
  EXPECT_EQ(Find_Form("Form3"), nullptr);
  HWND chart = Find_Form("Form4");
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(Text_Of(chart), "SEATTLE-TACOMA INTL Chart");
  EXPECT_EQ(recorder.messages.back().text, MSG_NO_SIM_AT_LOAD);
  const size_t told = recorder.messages.size();
  Tick(chart, CHART_TIMER1);
  EXPECT_EQ(Text_Of(Control(chart, "Label1")), "Altimeter: 0");
  EXPECT_EQ(recorder.messages.size(), told);

  Pick_Menu(chart, "Airport");
  EXPECT_EQ(Find_Form("Form4"), nullptr);
  selection = Find_Form("Form3");
  ASSERT_NE(selection, nullptr);
  Tick_Until_Done(selection);
  EXPECT_EQ(recorder.ends, 0);
  Close_Form(selection);
  EXPECT_EQ(recorder.ends, 1);
  Close_All_Forms();
  std::filesystem::current_path(was_in);
}

}  // namespace
}  // namespace orv::win32
