// The chart window as a moving map: the wheel zooms about the pointer, a drag pans, the keys
// zoom, pan, centre and switch following, the pointer shows what lies under it, and the nearest
// airports window lists the airports around the aircraft and opens the chart of the one chosen.
#include <cmath>
#include <cstdlib>

#include "airspace/airport_fetch.h"
#include "behaviour/chart_behaviour.h"
#include "behaviour/nearest_behaviour.h"
#include "chart/chart_hit_test.h"
#include "chart/diagram_frame.h"
#include "chart/nearest_airports.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/database_files.h"

namespace orv {

// The database index and the airspace file list, read when the window first lists the
// nearest airports and kept while the chart is open.
struct Nearest_Data {
  Airport_Index index;
  std::vector<std::string> airspace_files;
};

void Chart_Behaviour::Change_View(const std::function<void(Chart_View&)>& change) {
  window_.Enable_Timer1(false);
  change(projection_);
  window_.Redraw();
  Enable_Timer1();
}

void Chart_Behaviour::Mouse_Press(bool left_button, int32_t px, int32_t py) {
  if (!left_button || !loaded_ || unloaded_) return;
  pressed_ = true;
  dragging_ = false;
  press_x_ = drag_x_ = px;
  press_y_ = drag_y_ = py;
  if (!tooltip_.empty()) {
    tooltip_.clear();
    window_.Show_Tooltip("", px, py);
  }
}

void Chart_Behaviour::Mouse_Move(int32_t px, int32_t py) {
  if (!loaded_ || unloaded_) return;
  if (!pressed_) {
    Show_Hover(px, py);
    return;
  }
  if (!dragging_) {
    const int64_t dx = int64_t{px} - press_x_;
    const int64_t dy = int64_t{py} - press_y_;
    if (std::llabs(dx) <= DRAG_START_PX && std::llabs(dy) <= DRAG_START_PX) return;
    dragging_ = true;
    // The pilot has chosen where to look.
    st_.follow_acft = false;
  }
  Drag_To(px, py);
}

void Chart_Behaviour::Drag_To(int32_t px, int32_t py) {
  const double dx = static_cast<double>(px) - drag_x_;
  const double dy = static_cast<double>(py) - drag_y_;
  drag_x_ = px;
  drag_y_ = py;
  if (Diagram_Shown()) {
    const Window_Size c = client_;
    Change_View([dx, dy, c](Chart_View& v) { Slide_Diagram(v, dx, dy, c.w, c.h); });
    return;
  }
  Change_View([dx, dy](Chart_View& v) { Slide_View(v, dx, dy); });
}

bool Chart_Behaviour::Diagram_Shown() const {
  return st_.diagram_style && client_.w > 0 && client_.h > 0;
}

void Chart_Behaviour::Mouse_Release(bool left_button, int32_t client_w, int32_t client_h) {
  if (!left_button || !pressed_) return;
  pressed_ = false;
  if (dragging_) {
    dragging_ = false;
    return;
  }
  Mouse_Down(true, press_x_, press_y_, client_w, client_h);
}

void Chart_Behaviour::Mouse_Leave() {
  pressed_ = false;
  dragging_ = false;
  if (!tooltip_.empty()) {
    tooltip_.clear();
    window_.Show_Tooltip("", 0, 0);
  }
}

void Chart_Behaviour::Mouse_Wheel(int32_t delta, int32_t px, int32_t py) {
  if (!loaded_ || unloaded_) return;
  const int32_t notches = wheel_.Add(delta);
  if (notches == 0) return;
  const bool diagram = Diagram_Shown();
  const Window_Size c = client_;
  Change_View([notches, px, py, diagram, c](Chart_View& v) {
    for (int32_t i = 0; i < std::abs(notches); ++i) {
      if (diagram) {
        Zoom_About_Diagram(v, notches > 0, px, py, c.w, c.h);
      } else {
        Zoom_About(v, notches > 0, px, py);
      }
    }
  });
}

void Chart_Behaviour::Pan_Quarter(int dx, int dy) {
  st_.follow_acft = false;
  Change_View([dx, dy](Chart_View& v) {
    const double qx = (v.view_right - v.view_left) / 4.0;
    const double qy = (v.view_top - v.view_bottom) / 4.0;
    Recenter_View(v, (v.view_left + v.view_right) / 2.0 + dx * qx,
                  (v.view_top + v.view_bottom) / 2.0 + dy * qy);
  });
}

bool Chart_Behaviour::Key_Down(Chart_Key key) {
  if (!loaded_ || unloaded_) return false;
  switch (key) {
    case Chart_Key::plus:
      Zoom_In();
      return true;
    case Chart_Key::minus:
      Zoom_Out();
      return true;
    case Chart_Key::left:
      Pan_Quarter(-1, 0);
      return true;
    case Chart_Key::right:
      Pan_Quarter(1, 0);
      return true;
    case Chart_Key::up:
      Pan_Quarter(0, 1);
      return true;
    case Chart_Key::down:
      Pan_Quarter(0, -1);
      return true;
    case Chart_Key::home:
      Center_On_Airport();
      return true;
    case Chart_Key::f:
      st_.follow_acft = !st_.follow_acft;
      if (st_.follow_acft && sim_connected_) Center_Airport(st_.acft_lon, st_.acft_lat);
      return true;
  }
  return false;
}

void Chart_Behaviour::Show_Hover(int32_t px, int32_t py) {
  const bool diagram = Diagram_Shown();
  const Diagram_Frame frame = Frame_Of_View(projection_, client_.w, client_.h);
  std::string text =
      Hit_Text(st_, diagram ? Hit_Test_Diagram(st_, frame, projection_.zoom_level, scale_, px, py)
                            : Hit_Test(st_, projection_, px, py));
  if (sim_connected_) {
    const Geo_Pos at = diagram ? Diagram_Unproject(frame, px, py) : Px_To_Geo(projection_, px, py);
    if (!text.empty()) text += "\n";
    text += From_Aircraft_Text(st_, at.lat, at.lon);
  }
  if (text == tooltip_) return;
  tooltip_ = text;
  window_.Show_Tooltip(Utf8_From_1252(text), px, py);
}

bool Chart_Behaviour::Load_Nearest() {
  if (nearest_) return true;
  // Read beside the program's own lists: a database that cannot be read here changes nothing
  // the airport list relies on.
  auto scratch = std::make_unique<Program_State>();
  scratch->work_dir = st_.work_dir;
  scratch->airport_count = st_.airport_count;
  scratch->airspace_file_count = st_.airspace_file_count;
  auto data = std::make_shared<Nearest_Data>();
  if (Load_Database_Index(*scratch, data->index).status != Database_Status::ok) return false;
  data->airspace_files = std::move(scratch->airspace_files);
  nearest_ = std::move(data);
  return true;
}

void Chart_Behaviour::Open_Nearest() {
  if (!loaded_ || unloaded_) return;
  if (!Load_Nearest()) {
    window_.Show_Message(Message_Icon::exclamation, MSG_NO_NEAREST);
    return;
  }
  const Geo_Pos centre{(projection_.view_left + projection_.view_right) / 2.0,
                       (projection_.view_top + projection_.view_bottom) / 2.0};
  const double lat = sim_connected_ ? st_.acft_lat : centre.lat;
  const double lon = sim_connected_ ? st_.acft_lon : centre.lon;
  const std::vector<Nearest_Airport> near =
      Find_Nearest(nearest_->index.entries, st_.mag_var_table, lat, lon, NEAREST_LISTED);
  Nearest_Request request;
  request.heading = sim_connected_ ? NEAREST_TO_AIRCRAFT : NEAREST_TO_CENTRE;
  std::vector<size_t> entries;
  for (const Nearest_Airport& n : near) {
    request.items.push_back(Utf8_From_1252(Nearest_Line(nearest_->index.entries[n.entry], n)));
    entries.push_back(n.entry);
  }
  std::weak_ptr<Chart_Behaviour*> self = self_;
  request.chosen = [self, entries](size_t item) {
    const std::shared_ptr<Chart_Behaviour*> alive = self.lock();
    if (alive && item < entries.size()) (*alive)->Open_Nearest_Chart(entries[item]);
  };
  const uint32_t shown = ++nearest_shown_;
  request.closed = [self, shown] {
    const std::shared_ptr<Chart_Behaviour*> alive = self.lock();
    // A window replaced by a newer list says nothing: the newer one holds the timer.
    if (!alive || (*alive)->nearest_shown_ != shown) return;
    (*alive)->nearest_open_ = false;
    (*alive)->Enable_Timer1();
  };
  window_.Enable_Timer1(false);
  nearest_open_ = true;
  windows_.Show_Nearest(std::move(request));
}

void Chart_Behaviour::Open_Nearest_Chart(size_t entry) {
  if (!nearest_ || unloaded_ || entry >= nearest_->index.entries.size()) return;
  Airport_Entry chosen;
  if (!Decode_Airport_At(nearest_->index.bytes.Bytes(), nearest_->index.entries[entry].offset,
                         chosen)
           .ok) {
    window_.Show_Message(Message_Icon::exclamation, MSG_NO_NEAREST);
    return;
  }
  window_.Enable_Timer1(false);
  st_.cur_airport = std::move(chosen);
  st_.airspace_files = nearest_->airspace_files;
  Clear_Airspaces(st_);
  Read_Airspace_Files(st_);
  Release_Airspace_File_List(st_);
  Classify_Airspaces(st_);
  Add_Tracon_Airspace(st_);
  // The new chart opens its own link: this one lets the simulator go first.
  Link_Close(link_);
  sim_connected_ = false;
  windows_.Show_Chart();
  window_.Close();
}

}  // namespace orv
