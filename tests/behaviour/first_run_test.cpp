// The window behaviours without any toolkit: a whole first run, from the splash to the chart
// and back to the list, as a sequence of events and the exact calls it makes on recording views;
// then the splash's start-up decision and the setup wizard's folder check on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "data/data_file_check.h"
#include "data/data_file_names.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "recording_views.h"
#include "scenery/scenery_cfg.h"
#include "simlink/relay_running.h"
#include "simlink/sim_choice.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"

namespace orv {
namespace {

namespace sw = scenery_writer;
using testing::Read_Bytes;

constexpr double kLat = 47.4489;
constexpr double kLon = -122.3094;
const std::string kKsea = "KSEA (SEATTLE-TACOMA INTL)";

class First_Run : public Recording_Test {
 protected:
  void SetUp() override {
    Recording_Test::SetUp();
    sim = dir.path() / "FS2002";
    sw::Sim_Folder folder(sim);
    const std::vector<uint8_t> sea =
        sw::Bgl_File()
            .Add(sw::Airport("KSEA").Reference(kLat, kLon).Name("Seattle-Tacoma Intl"))
            .Add(sw::Airspace_Container().Add(sw::Airspace_Group()
                                                  .Box(47.0, -122.9, 47.9, -121.7)
                                                  .Name("SEATTLE CLASS B")
                                                  .Center(kLat, kLon)
                                                  .Circle(6, 0, 10000)))
            .Build()
            .bytes;
    const std::vector<uint8_t> other =
        sw::Bgl_File()
            .Add(sw::Airport("KBFI").Reference(47.53, -122.3).Name("Boeing"))
            .Build()
            .bytes;
    folder.Area({.title = "Seattle Area",
                 .local = "Scenery\\Seattle",
                 .files = {{"a.bgl", sea}, {"b.bgl", other}, {"c.bgl", other}}});
    folder.Write();
    testing::Write_Text(sim / "fs2002.exe", "");
    // Every look at the clock finds 4 ms gone: a scan tick takes three steps.
    windows.clock = [this] { return now += std::chrono::microseconds(4000); };
    windows.link = std::move(fake.link);
  }

  std::filesystem::path sim;
};

TEST_F(First_Run, FromTheSplashToTheChartAndBackToTheList) {
  windows.Show_Splash();
  EXPECT_EQ(log.Take(), (Calls{"open Form1", "Form1 Timer1 on"}));
  windows.splash->Splash_Time_Over();
  const Calls splash = log.Take();
  ASSERT_GE(splash.size(), 6u);
  EXPECT_EQ(Calls(splash.begin(), splash.begin() + 4),
            (Calls{"Form1 Timer1 off", "open Form2", "Form2 Option1 on",
                   "Form2 drives, chosen " +
                       Drive_List().at(Wizard_Start_Place(Drive_List(), Current_Folder()).drive)}));
  EXPECT_EQ(splash.back(), "Form1 close");
  EXPECT_TRUE(st.first_run);

  windows.setup->Next_Step((sim / "nowhere").string());
  EXPECT_EQ(log.Take(), (Calls{"Form2 message exclamation: " + std::string(MSG_NOT_SIM_FOLDER)}));
  windows.setup->Next_Step(sim.string());
  EXPECT_EQ(log.Take(), (Calls{"Form2 message information: Settings file created successfully!",
                               "open Form3", "Form3 Read_Sceneries_Paths on", "Form2 close"}));

  Selection_Behaviour& list = *windows.selection;
  list.Read_Sceneries_Paths_Timer();
  EXPECT_EQ(
      log.Take(),
      (Calls{"Form3 controls off", "Form3 status Magdec.bgl File", "Form3 status Scenery.cfg File",
             "Form3 progress 0/4", "Form3 Read_Sceneries_Paths off",
             "Form3 message information: " + std::string(MSG_FIRST_BUILD), "Form3 Scan_Bgls on"}));
  // Three steps a tick: the first two files, then the third and the end of the area's listing.
  list.Scan_Bgls_Timer();
  EXPECT_EQ(log.Take(), (Calls{"Form3 status Seattle Area", "Form3 progress 3/4"}));
  list.Scan_Bgls_Timer();
  EXPECT_EQ(log.Take(), (Calls{"Form3 status Seattle Area", "Form3 progress 3/4"}));
  list.Scan_Bgls_Timer();
  EXPECT_EQ(log.Take(),
            (Calls{"Form3 Scan_Bgls off", "Form3 status Creating Database Files...",
                   "Form3 status Creating Airspaces Files List...",
                   "Form3 status Updating Configuration...",
                   "Form3 message information: " + std::string(MSG_DATABASE_CREATED),
                   "Form3 message information: The simulator's magnetic variation file "
                   "scenery\\magdec.bgl could not be read, so runway and ILS headings are true "
                   "headings, not magnetic ones.\n\n",
                   "Form3 status Adding Airports to List...",
                   "Form3 list 3 [" + std::string(COMBO_PROMPT) + "]", "Form3 status Done",
                   "Form3 controls on", "Form3 progress 0/4"}));
  EXPECT_FALSE(st.first_run);

  // GET AIRPORT: an item typed over does nothing; the chosen one opens its chart.
  list.Get_Airport(0, "KSEA");
  EXPECT_EQ(log.Take(), Calls{});
  list.Get_Airport(0, kKsea);
  EXPECT_EQ(log.Take(),
            (Calls{"Form3 controls off", "Form3 status Getting Airport's Info...",
                   "Form3 list 0 [" + kKsea + "]", "Form3 status Looking for Airspace...",
                   "Form3 progress 0/1", "Form3 repaint", "Form3 progress 1/1", "Form3 repaint",
                   "open Form4", "Form4 topmost", "Form4 caption SEATTLE-TACOMA INTL Chart",
                   "Form4 Timer1 off", "Form4 redraw", "Form4 Timer1 on", "Form4 Timer1 on",
                   "Form3 close", "Form3 Read_Sceneries_Paths off", "Form3 Scan_Bgls off"}));
  EXPECT_EQ(st.airspace_count, 1);
  Chart_Behaviour& chart = *windows.chart;
  EXPECT_TRUE(chart.Sim_Connected());
  EXPECT_EQ(chart.Projection().zoom_level, 9);
  EXPECT_EQ(chart.Projection().win_w_px, 281);
  // The window manager frames the window after it is shown: measured again then.
  windows.chart_view->outer = {289, 301};
  chart.Shown();
  EXPECT_EQ(chart.Projection().win_h_px, 301);
  EXPECT_EQ(log.Take(), Calls{});

  // A tick with the simulator: the altimeter, then the view follows the aircraft.
  chart.Aircraft_Tick();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 Label1 Altimeter: 29.92", "Form4 Timer1 off",
                               "Form4 redraw", "Form4 Timer1 on"}));
  // Minimised, the timer stays off; a click re-centres only with the left button.
  windows.chart_view->minimized = true;
  chart.Resized();
  chart.Mouse_Down(false, 10, 10, 271, 228);
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off"}));
  windows.chart_view->minimized = false;
  chart.Resized();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "Form4 Timer1 on"}));

  // The link is lost: one warning, then ticks only redraw.
  fake.fake->module = [](std::span<uint8_t>, int) { return Link_Send_Result{}; };
  chart.Aircraft_Tick();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 Timer1 off",
                               "Form4 message warning: " + std::string(MSG_SIM_READ_FAILED),
                               "Form4 Timer1 on"}));
  chart.Aircraft_Tick();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 redraw"}));
  EXPECT_FALSE(chart.Sim_Connected());

  // The preferences hold the timer until they close, even through a zoom.
  chart.Open_Preferences();
  const Calls prefs = log.Take();
  EXPECT_EQ(Calls(prefs.begin(), prefs.begin() + 4),
            (Calls{"Form4 Timer1 off", "open Form5", "Form5 top-left", "Form5 Check1 on"}));
  EXPECT_EQ(prefs.back(), "Form5 Option3 on [] []");
  windows.prefs->Display_Switch_Changed(4, false);
  chart.Zoom_In();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "Form4 redraw"}));
  windows.prefs->Ok();
  EXPECT_EQ(log.Take(), (Calls{"Form5 close", "Form4 Timer1 on"}));
  EXPECT_FALSE(st.show_airspace);

  // Back to the list, which loads the database it built.
  chart.Change_Airport();
  EXPECT_EQ(log.Take(), (Calls{"open Form3", "Form3 Read_Sceneries_Paths on", "Form4 close",
                               "Form4 Timer1 off"}));
  windows.selection->Read_Sceneries_Paths_Timer();
  EXPECT_EQ(log.Take(),
            (Calls{"Form3 controls off", "Form3 status Magdec.bgl File",
                   "Form3 Read_Sceneries_Paths off", "Form3 status Reading Database File...",
                   "Form3 status Reading Airspaces Files List...",
                   "Form3 status Adding Airports to List...",
                   "Form3 list 3 [" + std::string(COMBO_PROMPT) + "]", "Form3 status Done",
                   "Form3 controls on"}));
  EXPECT_EQ(windows.selection_view->items[0], kKsea);

  // Closing in "Done" ends the program after "Please wait...".
  EXPECT_TRUE(windows.selection->Unload());
  EXPECT_EQ(log.Take(), (Calls{"Form3 status Please wait...", "end",
                               "Form3 Read_Sceneries_Paths off", "Form3 Scan_Bgls off"}));
}

TEST_F(First_Run, AFailedWriteEndsTheProgramAndAnAbandonedSetupToo) {
  testing::Write_Text(st.work_dir / SETTINGS_FILE, "left over");
  windows.Show_Setup();
  log.Take();
  windows.setup_view->Close();
  EXPECT_FALSE(std::filesystem::exists(st.work_dir / SETTINGS_FILE));
  EXPECT_EQ(log.Take(),
            (Calls{"Form2 close",
                   "Form2 message information: " + std::string(MSG_SETUP_NOT_FINISHED), "end"}));

  windows.setup->Next_Step(sim.string());
  std::filesystem::create_directories(st.work_dir / DATABASE_FILE / "blocked");
  windows.selection->Read_Sceneries_Paths_Timer();
  for (int i = 0; i < 3; ++i) windows.selection->Scan_Bgls_Timer();
  const Calls end = log.Take();
  ASSERT_GE(end.size(), 3u);
  EXPECT_EQ(end[end.size() - 3], "Form3 status Creating Database Files...");
  EXPECT_EQ(end.back(), "end");
  // A close from outside now is let through: the program is ending.
  EXPECT_TRUE(windows.selection->Unload());
  EXPECT_FALSE(std::filesystem::exists(st.work_dir / SETTINGS_FILE));
}

TEST_F(First_Run, AMissingLibraryIsToldOnceAndClosingBeforeDoneWritesNothing) {
  std::filesystem::remove(sim / "scenery.cfg");
  windows.Show_Setup();
  windows.setup->Next_Step(sim.string());
  // Closed while scanning: the window goes, the program does not end, nothing is written.
  windows.selection->Read_Sceneries_Paths_Timer();
  log.Take();
  EXPECT_TRUE(windows.selection->Unload());
  EXPECT_EQ(log.Take(), (Calls{"Form3 Read_Sceneries_Paths off", "Form3 Scan_Bgls off"}));
  EXPECT_FALSE(std::filesystem::exists(st.work_dir / DATABASE_FILE));

  // Set up again, the build runs to its end.
  ASSERT_TRUE(Write_Wizard_Settings(st, sim.string()).ok);
  windows.Show_Selection();
  windows.selection->Read_Sceneries_Paths_Timer();
  for (int i = 0; i < 5 && windows.selection_view->scanning; ++i) {
    windows.selection->Scan_Bgls_Timer();
  }
  const Calls build = log.Take();
  const std::string told =
      "Form3 message information: The simulator's magnetic variation file "
      "scenery\\magdec.bgl could not be read, so runway and ILS headings are "
      "true headings, not magnetic ones.\n\nThe simulator's scenery.cfg could "
      "not be read, so no scenery area was scanned.\n\n";
  EXPECT_EQ(std::count(build.begin(), build.end(), told), 1);
  EXPECT_EQ(build.back(), "Form3 progress 0/1");
  EXPECT_EQ(windows.selection->Status(), STATUS_DONE);
}

class Startup_Events : public Recording_Test {
 protected:
  // A complete, consistent set of data files with no airports.
  void Write_Complete_Set() {
    ASSERT_TRUE(Write_Wizard_Settings(st, (dir.path() / "FS2002").string()).ok);
    ASSERT_TRUE(Write_Airport_File(st).ok);
    ASSERT_TRUE(Write_Airspace_List(st).ok);
  }

  // The splash's tick, with the calls it made.
  Calls Splash_Tick() {
    windows.Show_Splash();
    log.Take();
    windows.splash->Splash_Time_Over();
    return log.Take();
  }
};

TEST_F(Startup_Events, SplashWithACompleteSetOpensTheListAndTouchesNothing) {
  Write_Complete_Set();
  const std::vector<uint8_t> settings = Read_Bytes(st.work_dir / SETTINGS_FILE);
  Program_State fresh;
  fresh.work_dir = st.work_dir;
  fresh.first_run = true;
  st = fresh;
  const Calls calls = Splash_Tick();
  EXPECT_EQ(calls.front(), "Form1 Timer1 off");
  EXPECT_TRUE(Has(calls, "open Form3"));
  EXPECT_FALSE(Has(calls, "open Form2"));
  EXPECT_EQ(calls.back(), "Form1 close");
  EXPECT_TRUE(Said(calls, "Form1 message ").empty());
  EXPECT_FALSE(st.first_run);
  EXPECT_EQ(st.fs_path, (dir.path() / "FS2002").string());
  EXPECT_EQ(Read_Bytes(st.work_dir / SETTINGS_FILE), settings);
  for (const char* name : DATA_FILES) EXPECT_TRUE(Data_File_Exists(name)) << name;
}

TEST_F(Startup_Events, SplashRemovesAPartialOrDamagedSetAndOpensTheWizard) {
  Write_Complete_Set();
  std::filesystem::remove(st.work_dir / AIRSPACE_LIST_FILE);
  Calls calls = Splash_Tick();
  EXPECT_TRUE(Has(calls, "open Form2"));
  EXPECT_FALSE(Has(calls, "open Form3"));
  EXPECT_FALSE(Has(calls, "end"));
  EXPECT_TRUE(Said(calls, "Form1 message ").empty());
  EXPECT_TRUE(st.first_run);
  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  EXPECT_FALSE(Data_File_Exists(DATABASE_FILE));

  Write_Complete_Set();
  testing::Write_Text(st.work_dir / SETTINGS_FILE, std::string("\x40\x00", 2));  // past the end
  st.first_run = false;
  calls = Splash_Tick();
  const std::vector<std::string> told = Said(calls, "Form1 message ");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(told[0].starts_with("error: "));
  EXPECT_NE(told[0].find("damaged"), std::string::npos);
  EXPECT_TRUE(Has(calls, "open Form2"));
  for (const char* name : DATA_FILES) EXPECT_FALSE(Data_File_Exists(name)) << name;
  EXPECT_TRUE(st.first_run);
}

TEST_F(Startup_Events, WizardTakesASimulatorFolderInAnyLetterCaseAndItsFolderListOpensFolders) {
  sw::Sim_Folder(dir.path() / "NoExe").No_Exe().Write();
  sw::Sim_Folder(dir.path() / "Fs2004").Exe_Name("fs2004.exe").Write();
  sw::Sim_Folder(dir.path() / "Fs2002").Exe_Name("FS2002.EXE").Write();
  const std::filesystem::path was_in = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  windows.Show_Setup();
  std::filesystem::current_path(was_in);
  const std::string here = dir.path().string();
  EXPECT_TRUE(Has(log.Take(), "Form2 folders at " + here));
  // Opening a line (a double click, Enter) lists that folder's folders and puts it in the path
  // box; choosing a line only puts it there. The box holds the path, not the line's name.
  const std::vector<Folder_Line> lines = windows.setup_view->folders;
  const auto fs2002 = std::find_if(lines.begin(), lines.end(),
                                   [](const Folder_Line& line) { return line.name == "Fs2002"; });
  ASSERT_NE(fs2002, lines.end());
  windows.setup->Folder_Opened(static_cast<size_t>(fs2002 - lines.begin()));
  const std::string sim = (dir.path() / "Fs2002").string();
  EXPECT_EQ(log.Take(), (Calls{"Form2 folders at " + sim, "Form2 Text1 " + sim}));
  windows.setup->Folder_Chosen(0);  // the root: a drive root loses its separator ("C:")
  EXPECT_EQ(log.Take(), Calls{"Form2 Text1 " + Wizard_Path_Text(windows.setup_view->folders[0].path)});
  windows.setup->Folder_Chosen(windows.setup_view->folders.size());  // past the list: nothing
  EXPECT_EQ(log.Take(), Calls{});

  for (const char* folder : {"NoExe", "Fs2004", "Missing"}) {
    windows.setup->Next_Step((dir.path() / folder).string());
  }
  EXPECT_EQ(log.Take(), Calls(3, "Form2 message exclamation: " + std::string(MSG_NOT_SIM_FOLDER)));
  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  EXPECT_FALSE(windows.setup->Setup_Done());

  // The folder typed in other letter case is found too, and stored as typed.
  const std::string typed = (dir.path() / "FS2002").string();
  windows.setup->Next_Step(typed);
  EXPECT_TRUE(Has(log.Take(), "open Form3"));
  Program_State saved;
  ASSERT_EQ(Load_Settings(saved, st.work_dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(saved.cfg.banner, "Orvane v1.2");
  EXPECT_EQ(saved.cfg.cfg_valid, 1);
  EXPECT_EQ(saved.cfg.sim_version, 1);
  EXPECT_EQ(saved.cfg.fs_path, typed);
  EXPECT_EQ(st.fs_path, typed);
}

TEST_F(First_Run, TheRelayChosenInThePreferencesIsFollowedByTheNextChart) {
  testing::Relay_Running relay("k1");
  windows.Show_Preferences({});
  const std::string address = "127.0.0.1:" + std::to_string(relay.port);
  const std::string bad = "Form5 message exclamation: " + std::string(MSG_BAD_SIM_ADDRESS);
  windows.prefs->Another_Computer_Chosen();
  windows.prefs->Key_Typed("k1");
  for (const std::string& text : {std::string("fs-pc"), std::string("fs-pc:65536"), address}) {
    windows.prefs->Address_Typed(text);
    windows.prefs->Ok();  // a bad address keeps the window open
    EXPECT_EQ(log.Take().back(), text == address ? "Form5 close" : bad) << text;
  }
  // Reopened it shows the choice; a bad address closed by the close box is not stored.
  windows.Show_Preferences({});
  EXPECT_EQ(log.Take().back(), "Form5 Option4 on [" + address + "] [k1]");
  windows.prefs->Address_Typed("fs-pc:0");
  windows.prefs_view->Close();
  EXPECT_EQ(log.Take(), (Calls{"Form5 close", bad + MSG_SIM_KEPT}));
  st.cur_airport.lat = kLat;
  windows.link = Chosen_Link(st.work_dir);
  windows.link.sleep = [](uint32_t) {};
  windows.Show_Chart();
  ASSERT_TRUE(windows.chart->Sim_Connected());
  windows.chart->Aircraft_Tick();
  EXPECT_EQ(st.acft_hdg, -90);
  // The relay is gone: one warning, then the chart goes on without the aircraft.
  relay.Kill();
  log.Take();
  windows.chart->Aircraft_Tick();
  windows.chart->Aircraft_Tick();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 Timer1 off",
                               "Form4 message warning: " + std::string(MSG_SIM_READ_FAILED),
                               "Form4 Timer1 on", "Form4 topmost", "Form4 redraw"}));
}

}  // namespace
}  // namespace orv
