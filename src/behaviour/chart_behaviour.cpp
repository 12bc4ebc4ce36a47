#include "behaviour/chart_behaviour.h"

#include <exception>
#include <utility>

#include "chart/aircraft_tracking.h"
#include "chart/chart_layers.h"
#include "chart/diagram_page.h"
#include "chart/diagram_painter.h"
#include "core/config_rec.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/chart_style_file.h"
#include "simlink/sim_choice.h"

namespace orv {

namespace {

using K = Control_Kind;
constexpr Control_Row kChartControls[] = {
    {"Command2", K::button, "Zoom in", {8, 192, 73, 25}, true},
    {"Command3", K::button, "Center", {96, 192, 73, 25}, true},
    {"Command4", K::button, "Zoom out", {184, 192, 73, 25}, true},
    {"Label1", K::label, "Altimeter: 0", {8, 8, 97, 17}},
};
constexpr Menu_Row kChartMenus[] = {
    {"go_to1", "Change"},
    {"airpt_place", "Airport", "go_to1"},
    {"near_place", "Nearest Airports...", "go_to1"},
    {"op1", "Options"},
    {"pref1", "Preferences", "op1"},
    {"prnt1", "Print...", "op1"},
    {"abot2", "About"},
    {"orv_abot2", BANNER, "abot2"},
};

}  // namespace

const Window_Table CHART_WINDOW{.name = "Form4",
                                .caption = CHART_DESIGN_CAPTION,
                                .client = {0, 0, CHART_CLIENT_W, CHART_CLIENT_H},
                                .controls = kChartControls,
                                .menus = kChartMenus,
                                .first_focus = "Command2"};

Chart_Behaviour::Chart_Behaviour(Program_State& st, Chart_Window_View& window,
                                 Program_Windows& windows, Link_State link)
    : st_(st),
      window_(window),
      windows_(windows),
      link_(std::move(link)),
      self_(std::make_shared<Chart_Behaviour*>(this)) {}

Chart_Behaviour::~Chart_Behaviour() {
  Link_Close(link_);
}

bool Chart_Behaviour::Load() {
  try {
    Run_Load();
    return true;
  } catch (const std::exception&) {
    window_.Enable_Timer1(false);
    window_.Show_Message(Message_Icon::error, MSG_LOAD_FAILED);
    windows_.End_Program();
    return false;
  }
}

void Chart_Behaviour::Run_Load() {
  window_.Make_Topmost();

  Link_Init(link_);
  int32_t result = LINK_OK;
  sim_connected_ = Link_Open(link_, CHART_SIM_CODE, result);
  if (!sim_connected_) {
    window_.Show_Message(Message_Icon::warning, MSG_NO_SIM_AT_LOAD);
    Link_Close(link_);
    sim_connected_ = false;
  }

  window_.Set_Caption(Utf8_From_1252(st_.cur_airport.name) + " Chart");
  Measure_Window();

  Reset_View(projection_);
  Recenter_View(projection_, st_.cur_airport.lon, st_.cur_airport.lat);
  loaded_ = true;
  Center_Airport(st_.cur_airport.lon, st_.cur_airport.lat);
  for (int i = 0; i < ZOOM_AT_LOAD - ZOOM_MIN; ++i) orv::Zoom_In(projection_);

  st_.follow_acft = true;
  st_.show_ils = true;
  st_.show_twys = true;
  st_.show_twy_ids = true;
  st_.show_gates = true;
  st_.show_airspace = true;
  st_.altim_units = 1;
  st_.show_trail = false;
  trail_.Clear();
  const Chart_Style style = Load_Chart_Style(st_.work_dir / CHART_STYLE_FILE);
  st_.diagram_style = style.diagram;
  st_.night_colours = style.night;
  Enable_Timer1();
}

// Before the window is shown its frame is not known, and the window manager may frame it only
// after it is shown: the size is measured again then.
void Chart_Behaviour::Measure_Window() {
  const Window_Size outer = window_.Outer_Size();
  projection_.win_w_px = outer.w;
  projection_.win_h_px = outer.h;
}

void Chart_Behaviour::Shown() {
  if (loaded_ && !unloaded_ && !window_.Is_Minimized()) Measure_Window();
}

void Chart_Behaviour::Resized() {
  if (!loaded_ || unloaded_) return;
  window_.Enable_Timer1(false);
  if (window_.Is_Minimized()) return;
  // A maximised window goes on like a normal one: the chart keeps following the aircraft.
  Measure_Window();
  Enable_Timer1();
}

void Chart_Behaviour::Unload() {
  unloaded_ = true;
  window_.Enable_Timer1(false);
  Link_Close(link_);
  sim_connected_ = false;
}

// The timer runs unless the window is gone or minimised, or the preferences, About or nearest
// airports window is open.
void Chart_Behaviour::Enable_Timer1() {
  if (unloaded_ || window_.Is_Minimized() || prefs_open_ || about_open_ || nearest_open_) return;
  window_.Enable_Timer1(true);
}

template <typename Change>
void Chart_Behaviour::Redraw_Sequence(Change change) {
  window_.Enable_Timer1(false);
  change(projection_);
  window_.Redraw();
  Enable_Timer1();
}

void Chart_Behaviour::Draw(Canvas& canvas) {
  if (!loaded_) {
    canvas.Clear();
    return;
  }
  try {
    if (st_.show_trail) {
      Redraw_Chart_With_Trail(canvas, st_, projection_, sim_connected_, trail_);
    } else {
      Redraw_Chart(canvas, st_, projection_, sim_connected_);
    }
  } catch (const std::exception&) {
    // A layer that fails leaves what was drawn before it; the next redraw tries again.
  }
}

void Chart_Behaviour::Draw(Canvas& canvas, Window_Size client, double scale) {
  client_ = client;
  scale_ = scale > 0.0 ? scale : 1.0;
  if (!loaded_ || !st_.diagram_style) {
    Draw(canvas);
    return;
  }
  try {
    // The window's buttons and altimeter label sit over the chart at their design places.
    std::vector<Box> controls;
    for (const Control_Row& c : CHART_WINDOW.controls) {
      controls.push_back({c.rect.x * scale_, c.rect.y * scale_, (c.rect.x + c.rect.w) * scale_,
                          (c.rect.y + c.rect.h) * scale_});
    }
    Draw_Diagram(canvas, st_, projection_, client.w, client.h, st_.night_colours, sim_connected_,
                 scale_, controls);
  } catch (const std::exception&) {
    // As the classic chart: the next redraw tries again.
  }
}

void Chart_Behaviour::Draw_Page(Canvas& canvas, int32_t width, int32_t height, double dpi) {
  Draw_Diagram_Page(canvas, st_, width, height, dpi, st_.night_colours, sim_connected_);
}

void Chart_Behaviour::Zoom_In() {
  Redraw_Sequence([](Chart_View& v) { orv::Zoom_In(v); });
}

void Chart_Behaviour::Zoom_Out() {
  Redraw_Sequence([](Chart_View& v) { orv::Zoom_Out(v); });
}

void Chart_Behaviour::Center_On_Airport() {
  Center_Airport(st_.cur_airport.lon, st_.cur_airport.lat);
}

void Chart_Behaviour::Center_Airport(double x, double y) {
  Redraw_Sequence([x, y](Chart_View& v) { Recenter_View(v, x, y); });
}

void Chart_Behaviour::Mouse_Down(bool left_button, int32_t px, int32_t py, int32_t client_w,
                                 int32_t client_h) {
  if (!left_button || !loaded_) return;
  if (st_.diagram_style && client_w > 0 && client_h > 0) {
    const Geo_Pos at = Diagram_Unproject(Frame_Of_View(projection_, client_w, client_h), px, py);
    Center_Airport(at.lon, at.lat);
    return;
  }
  const auto at = Mouse_To_Geo(projection_, px, py, client_w, client_h);
  if (at) Center_Airport(at->lon, at->lat);
}

void Chart_Behaviour::Aircraft_Tick() {
  window_.Make_Topmost();
  if (sim_connected_) {
    int32_t result = LINK_OK;
    bool read = false;
    try {
      read = Read_Aircraft(link_, st_, result);
    } catch (const std::exception&) {
      read = false;
    }
    if (!read) {
      // No tick may run while the pilot reads the message: it would read again and fail again.
      window_.Enable_Timer1(false);
      window_.Show_Message(Message_Icon::warning, MSG_SIM_READ_FAILED);
      Link_Close(link_);
      sim_connected_ = false;
      Enable_Timer1();
      return;
    }
    window_.Set_Label1(Altimeter_Caption(st_.altim_value));
    trail_.Add(clock_(), st_.acft_lat, st_.acft_lon);
  }
  trail_.Forget_Before(clock_());
  if (st_.follow_acft && sim_connected_) {
    Center_Airport(st_.acft_lon, st_.acft_lat);
  } else {
    window_.Redraw();
  }
}

void Chart_Behaviour::Change_Airport() {
  windows_.Show_Selection();
  window_.Close();
}

Window_Closed Chart_Behaviour::Dialog_Closed(bool Chart_Behaviour::*open) {
  std::weak_ptr<Chart_Behaviour*> self = self_;
  return [self, open] {
    if (const std::shared_ptr<Chart_Behaviour*> alive = self.lock()) {
      (*alive)->*open = false;
      (*alive)->Enable_Timer1();
    }
  };
}

void Chart_Behaviour::Open_Preferences() {
  window_.Enable_Timer1(false);
  prefs_open_ = true;
  windows_.Show_Preferences(Dialog_Closed(&Chart_Behaviour::prefs_open_));
}

void Chart_Behaviour::Open_About() {
  window_.Enable_Timer1(false);
  about_open_ = true;
  windows_.Show_About(Dialog_Closed(&Chart_Behaviour::about_open_));
}

}  // namespace orv
