// The window behaviours without any toolkit: a whole first run, from the splash to the chart
// and back to the list, as a sequence of events and the exact calls it makes on recording views.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "airspace/selection_fetch.h"
#include "chart/aircraft_tracking.h"
#include "chart/chart_behaviour.h"
#include "core/data_file_names.h"
#include "core/program_state.h"
#include "prefs/preferences_behaviour.h"
#include "scenery/selection_behaviour.h"
#include "simlink/fake_link_transport.h"
#include "simlink/relay_running.h"
#include "simlink/sim_choice.h"
#include "startup/setup_behaviour.h"
#include "startup/setup_check.h"
#include "startup/splash_behaviour.h"
#include "support/scenery_writer.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

namespace sw = scenery_writer;
using Calls = std::vector<std::string>;

struct Log {
  Calls calls;
  // The calls made since the last look.
  Calls Take() { return std::exchange(calls, {}); }
};

const char* Icon_Name(Message_Icon icon) {
  switch (icon) {
    case Message_Icon::information:
      return "information";
    case Message_Icon::exclamation:
      return "exclamation";
    case Message_Icon::warning:
      return "warning";
    case Message_Icon::error:
      return "error";
  }
  return "?";
}

std::string On(bool on) {
  return on ? " on" : " off";
}

// A view that writes every call, prefixed with its window's name; its close runs the window's
// unload, as closing a real window does.
template <class View>
class Rec : public View {
 public:
  Rec(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
  void Show_Message(Message_Icon icon, const std::string& text) override {
    Say(std::string("message ") + Icon_Name(icon) + ": " + text);
  }
  void Close() override {
    Say("close");
    if (unload) unload();
  }
  std::function<void()> unload;

 protected:
  void Say(const std::string& what) { log_.calls.push_back(name_ + " " + what); }

 private:
  Log& log_;
  std::string name_;
};

struct Rec_Splash : Rec<Splash_View> {
  using Rec::Rec;
  void Enable_Timer1(bool on) override { Say("Timer1" + On(on)); }
};

struct Rec_Setup : Rec<Setup_View> {
  using Rec::Rec;
  void Set_Option1(bool on) override { Say("Option1" + On(on)); }
  void Fill_Drives(const std::vector<std::string>& drives, size_t) override {
    Say("drives " + std::to_string(drives.size()));
  }
  void Show_Folder(const std::string& folder) override { Say("folder " + folder); }
  void Set_Text1(const std::string& text) override { Say("Text1 " + text); }
};

struct Rec_Selection : Rec<Selection_View> {
  using Rec::Rec;
  void Set_Status(const std::string& text) override { Say("status " + text); }
  void Enable_Controls(bool on) override { Say("controls" + On(on)); }
  void Set_Progress(int32_t value, int32_t maximum) override {
    Say("progress " + std::to_string(value) + "/" + std::to_string(maximum));
  }
  void Fill_List(const std::vector<std::string>& list, const std::string& edit) override {
    Say("list " + std::to_string(list.size()) + " [" + edit + "]");
    items = list;
  }
  void Enable_Timer(Selection_Timer timer, bool on) override {
    Say((timer == Selection_Timer::scan_bgls ? "Scan_Bgls" : "Read_Sceneries_Paths") + On(on));
    if (timer == Selection_Timer::scan_bgls) scanning = on;
  }
  bool scanning = false;
  void Repaint() override { Say("repaint"); }
  std::vector<std::string> items;
};

struct Rec_Chart : Rec<Chart_Window_View> {
  using Rec::Rec;
  void Make_Topmost() override { Say("topmost"); }
  void Set_Caption(const std::string& caption) override { Say("caption " + caption); }
  void Set_Label1(const std::string& caption) override { Say("Label1 " + caption); }
  void Enable_Timer1(bool on) override { Say("Timer1" + On(on)); }
  void Redraw() override { Say("redraw"); }
  Window_Size Outer_Size() const override { return outer; }
  Window_Size outer{281, 270};
  bool Is_Minimized() const override { return minimized; }
  bool minimized = false;
};

struct Rec_Prefs : Rec<Preferences_View> {
  using Rec::Rec;
  void Place_Top_Left() override { Say("top-left"); }
  void Set_Check(int n, bool checked) override { Say("Check" + std::to_string(n) + On(checked)); }
  void Set_Options(bool millibars) override { Say(millibars ? "Option1 on" : "Option2 on"); }
  void Set_Simulator(bool remote, const std::string& address, const std::string& key) override {
    Say(std::string(remote ? "Option4 on" : "Option3 on") + " [" + address + "] [" + key + "]");
  }
};

// The program's windows as the recording views: each open makes the view and its behaviour and
// runs the load.
struct Rec_Windows : Program_Windows {
  Rec_Windows(Program_State& state, Log& l) : st(state), log(l) {}

  void Say(const std::string& what) { log.calls.push_back(what); }
  void Show_Splash() {
    Say("open Form1");
    splash_view = std::make_unique<Rec_Splash>(log, "Form1");
    splash = std::make_unique<Splash_Behaviour>(st, *splash_view, *this);
    splash->Load();
  }
  void Show_Setup() override {
    Say("open Form2");
    setup_view = std::make_unique<Rec_Setup>(log, "Form2");
    setup = std::make_unique<Setup_Behaviour>(st, *setup_view, *this);
    setup_view->unload = [this] { setup->Unload(); };
    setup->Load();
  }
  void Show_Selection() override {
    Say("open Form3");
    selection_view = std::make_unique<Rec_Selection>(log, "Form3");
    selection = std::make_unique<Selection_Behaviour>(st, *selection_view, *this,
                                                      Airspace_Selection_Engine(), clock);
    selection_view->unload = [this] { selection->Unload(); };
    selection->Load();
  }
  void Show_Chart() override {
    Say("open Form4");
    chart_view = std::make_unique<Rec_Chart>(log, "Form4");
    chart = std::make_unique<Chart_Behaviour>(st, *chart_view, *this, std::move(link));
    chart_view->unload = [this] { chart->Unload(); };
    chart->Load();
  }
  void Show_Preferences(Window_Closed closed) override {
    Say("open Form5");
    prefs_view = std::make_unique<Rec_Prefs>(log, "Form5");
    prefs = std::make_unique<Preferences_Behaviour>(st, *prefs_view, std::move(closed));
    prefs_view->unload = [this] { prefs->Unload(); };
    prefs->Load();
  }
  void Show_About(Window_Closed closed) override {
    Say("open Form6");
    about_closed = std::move(closed);
  }
  void End_Program() override { Say("end"); }

  Program_State& st;
  Log& log;
  Tick_Clock clock;
  Link_State link;
  std::unique_ptr<Rec_Splash> splash_view;
  std::unique_ptr<Splash_Behaviour> splash;
  std::unique_ptr<Rec_Setup> setup_view;
  std::unique_ptr<Setup_Behaviour> setup;
  std::unique_ptr<Rec_Selection> selection_view;
  std::unique_ptr<Selection_Behaviour> selection;
  std::unique_ptr<Rec_Chart> chart_view;
  std::unique_ptr<Chart_Behaviour> chart;
  std::unique_ptr<Rec_Prefs> prefs_view;
  std::unique_ptr<Preferences_Behaviour> prefs;
  Window_Closed about_closed;
};

constexpr double kLat = 47.4489;
constexpr double kLon = -122.3094;
const std::string kKsea = "KSEA (SEATTLE-TACOMA INTL)";

class First_Run : public ::testing::Test {
 protected:
  void SetUp() override {
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
    st.work_dir = dir.path() / "work";
    std::filesystem::create_directories(st.work_dir);
    // Every look at the clock finds 4 ms gone: a scan tick takes three steps.
    windows.clock = [this] { return now += std::chrono::microseconds(4000); };
    Image_Put(fake.fake->image, OFS_PRESSURE, 16208, 2);  // 1013 millibars
    windows.link = std::move(fake.link);
  }

  testing::Temp_Dir dir;
  std::filesystem::path sim;
  Program_State st;
  Log log;
  Rec_Windows windows{st, log};
  std::chrono::microseconds now{0};
  testing::Fake_Link fake;
};

TEST_F(First_Run, FromTheSplashToTheChartAndBackToTheList) {
  windows.Show_Splash();
  EXPECT_EQ(log.Take(), (Calls{"open Form1", "Form1 Timer1 on"}));
  windows.splash->Timer1_Timer();
  const Calls splash = log.Take();
  ASSERT_GE(splash.size(), 6u);
  EXPECT_EQ(Calls(splash.begin(), splash.begin() + 4),
            (Calls{"Form1 Timer1 off", "open Form2", "Form2 Option1 on", "Form2 drives 1"}));
  EXPECT_EQ(splash.back(), "Form1 close");
  EXPECT_TRUE(st.first_run);

  windows.setup->Command1_Click((sim / "nowhere").string());
  EXPECT_EQ(log.Take(), (Calls{"Form2 message exclamation: " + std::string(MSG_NOT_SIM_FOLDER)}));
  windows.setup->Command1_Click(sim.string());
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
  list.Command3_Click(0, "KSEA");
  EXPECT_EQ(log.Take(), Calls{});
  list.Command3_Click(0, kKsea);
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
  EXPECT_EQ(chart.View().zoom_level, 9);
  EXPECT_EQ(chart.View().win_w_px, 281);
  // The window manager frames the window after it is shown: measured again then.
  windows.chart_view->outer = {289, 301};
  chart.Shown();
  EXPECT_EQ(chart.View().win_h_px, 301);
  EXPECT_EQ(log.Take(), Calls{});

  // A tick with the simulator: the altimeter, then the view follows the aircraft.
  chart.Timer1_Timer();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 Label1 Altimeter: 29.92", "Form4 Timer1 off",
                               "Form4 redraw", "Form4 Timer1 on"}));
  // Minimised, the timer stays off; a click re-centres only with the left button.
  windows.chart_view->minimized = true;
  chart.Form_Resize();
  chart.Mouse_Down(false, 10, 10, 271, 228);
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off"}));
  windows.chart_view->minimized = false;
  chart.Form_Resize();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "Form4 Timer1 on"}));

  // The link is lost: one warning, then ticks only redraw.
  fake.fake->module = [](std::span<uint8_t>, int) { return Link_Send_Result{}; };
  chart.Timer1_Timer();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 Timer1 off",
                               "Form4 message warning: " + std::string(MSG_SIM_READ_FAILED),
                               "Form4 Timer1 on"}));
  chart.Timer1_Timer();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 redraw"}));
  EXPECT_FALSE(chart.Sim_Connected());

  // The preferences hold the timer until they close, even through a zoom.
  chart.Pref1_Click();
  const Calls prefs = log.Take();
  EXPECT_EQ(Calls(prefs.begin(), prefs.begin() + 4),
            (Calls{"Form4 Timer1 off", "open Form5", "Form5 top-left", "Form5 Check1 on"}));
  EXPECT_EQ(prefs.back(), "Form5 Option3 on [] []");
  windows.prefs->Check_Click(4, false);
  chart.Command2_Click();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "Form4 redraw"}));
  windows.prefs->Command1_Click();
  EXPECT_EQ(log.Take(), (Calls{"Form5 close", "Form4 Timer1 on"}));
  EXPECT_FALSE(st.show_airspace);

  // Back to the list, which loads the database it built.
  chart.Airpt_Place_Click();
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
  windows.Show_Setup();
  log.Take();
  windows.setup_view->Close();
  EXPECT_EQ(log.Take(),
            (Calls{"Form2 close",
                   "Form2 message information: " + std::string(MSG_SETUP_NOT_FINISHED), "end"}));

  windows.setup->Command1_Click(sim.string());
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
  windows.setup->Command1_Click(sim.string());
  // Closed while scanning: the window goes, the program does not end, nothing is written.
  windows.selection->Read_Sceneries_Paths_Timer();
  log.Take();
  EXPECT_TRUE(windows.selection->Unload());
  EXPECT_EQ(log.Take(), (Calls{"Form3 Read_Sceneries_Paths off", "Form3 Scan_Bgls off"}));
  EXPECT_FALSE(std::filesystem::exists(st.work_dir / DATABASE_FILE));

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

TEST_F(First_Run, TheRelayChosenInThePreferencesIsFollowedByTheNextChart) {
  testing::Relay_Running relay("k1");
  windows.Show_Preferences({});
  const std::string address = "127.0.0.1:" + std::to_string(relay.port);
  const std::string bad = "Form5 message exclamation: " + std::string(MSG_BAD_SIM_ADDRESS);
  windows.prefs->Option4_Click();
  windows.prefs->Text2_Change("k1");
  for (const std::string& text : {std::string("fs-pc"), std::string("fs-pc:65536"), address}) {
    windows.prefs->Text1_Change(text);
    windows.prefs->Command1_Click();  // a bad address keeps the window open
    EXPECT_EQ(log.Take().back(), text == address ? "Form5 close" : bad) << text;
  }
  // Reopened it shows the choice; a bad address closed by the close box is not stored.
  windows.Show_Preferences({});
  EXPECT_EQ(log.Take().back(), "Form5 Option4 on [" + address + "] [k1]");
  windows.prefs->Text1_Change("fs-pc:0");
  windows.prefs_view->Close();
  EXPECT_EQ(log.Take(), (Calls{"Form5 close", bad + MSG_SIM_KEPT}));
  st.cur_airport.lat = kLat;
  windows.link = Chosen_Link(st.work_dir);
  windows.link.sleep = [](uint32_t) {};
  windows.Show_Chart();
  ASSERT_TRUE(windows.chart->Sim_Connected());
  windows.chart->Timer1_Timer();
  EXPECT_EQ(st.acft_hdg, -90);
  // The relay is gone: one warning, then the chart goes on without the aircraft.
  relay.Kill();
  log.Take();
  windows.chart->Timer1_Timer();
  windows.chart->Timer1_Timer();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 Timer1 off",
                               "Form4 message warning: " + std::string(MSG_SIM_READ_FAILED),
                               "Form4 Timer1 on", "Form4 topmost", "Form4 redraw"}));
}

}  // namespace
}  // namespace orv
