// Recording views for the window behaviours: every call a behaviour makes on its view is written,
// prefixed with its window's name, and the program's windows open these views.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "behaviour/chart_behaviour.h"
#include "behaviour/preferences_behaviour.h"
#include "behaviour/selection_behaviour.h"
#include "behaviour/setup_behaviour.h"
#include "behaviour/splash_behaviour.h"
#include "chart/aircraft_tracking.h"
#include "core/program_state.h"
#include "simlink/fake_link_transport.h"
#include "support/temp_dir.h"

namespace orv {

using Calls = std::vector<std::string>;

struct Log {
  Calls calls;
  // The calls made since the last look.
  Calls Take() { return std::exchange(calls, {}); }
};

inline const char* Icon_Name(Message_Icon icon) {
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

inline std::string On(bool on) {
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
  // The system's drives differ from machine to machine: the entry chosen is what counts.
  void Fill_Drives(const std::vector<std::string>& drives, size_t selected) override {
    Say("drives, chosen " + (selected < drives.size() ? drives[selected] : std::string("none")));
  }
  void Show_Folders(const std::vector<Folder_Line>& lines, size_t current) override {
    folders = lines;
    Say("folders at " + (current < lines.size() ? lines[current].path : std::string("none")));
  }
  std::vector<Folder_Line> folders;
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
  void Show_Tooltip(const std::string& text, int32_t, int32_t) override { Say("tooltip " + text); }
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
    selection = std::make_unique<Selection_Behaviour>(st, *selection_view, *this, clock);
    selection_view->unload = [this] { selection->Unload(); };
    selection->Load();
  }
  void Show_Chart() override {
    Say("open Form4");
    // A chart that opens another one is still running: it goes when the test ends.
    old_charts.push_back(std::move(chart));
    old_chart_views.push_back(std::move(chart_view));
    chart_view = std::make_unique<Rec_Chart>(log, "Form4");
    chart = std::make_unique<Chart_Behaviour>(st, *chart_view, *this, std::move(link));
    chart_view->unload = [c = chart.get()] { c->Unload(); };
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
  void Show_Nearest(Nearest_Request request) override {
    Say("open Form7");
    nearest = std::move(request);
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
  std::vector<std::unique_ptr<Rec_Chart>> old_chart_views;
  std::vector<std::unique_ptr<Chart_Behaviour>> old_charts;
  Nearest_Request nearest;
  std::unique_ptr<Rec_Prefs> prefs_view;
  std::unique_ptr<Preferences_Behaviour> prefs;
  Window_Closed about_closed;
};

// The calls of one kind ("Form3 status ", "Form1 message "), without that prefix.
inline std::vector<std::string> Said(const Calls& calls, const std::string& kind) {
  std::vector<std::string> said;
  for (const std::string& c : calls) {
    if (c.starts_with(kind)) said.push_back(c.substr(kind.size()));
  }
  return said;
}

inline bool Has(const Calls& calls, const std::string& call) {
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// A working folder, the program state, the recording windows and a module that answers.
class Recording_Test : public ::testing::Test {
 protected:
  void SetUp() override {
    st.work_dir = dir.path() / "work";
    std::filesystem::create_directories(st.work_dir);
    Image_Put(fake.fake->image, OFS_PRESSURE, 16208, 2);  // 1013 millibars
  }

  bool Data_File_Exists(const char* name) const {
    return std::filesystem::exists(st.work_dir / name);
  }

  testing::Temp_Dir dir;
  Program_State st;
  Log log;
  Rec_Windows windows{st, log};
  std::chrono::microseconds now{0};
  testing::Fake_Link fake;
};

}  // namespace orv
