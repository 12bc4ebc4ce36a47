// The benchmarks' large airport, shared by the drawing and the painting benchmarks.
#pragma once

#include <memory>
#include <string>

#include "chart/chart_projection.h"
#include "core/program_state.h"

namespace orv_bench {

// A grid-like airport around 47.45 N 122.31 W: 12 runways with ILS, 400 gates, 3000 taxiway
// points joined by 4000 segments, and 20 Class B and C airspaces of arcs and lines.
inline std::unique_ptr<orv::Program_State> Grid_Airport() {
  auto s = std::make_unique<orv::Program_State>();
  orv::Airport_Entry& a = s->cur_airport;
  a.lat = 47.45;
  a.lon = -122.31;
  for (int i = 0; i < 12; ++i) {
    orv::Runway_Rec& w = orv::Append_With_Spare(a.runways, a.runway_count);
    w.end1_name = std::to_string(i % 36 + 1);
    w.end2_name = std::to_string((i + 18) % 36 + 1);
    w.end1_lat = 47.43 + i * 0.003;
    w.end1_lon = -122.33;
    w.end2_lat = 47.44 + i * 0.003;
    w.end2_lon = -122.29;
    orv::Ils_Rec& l = orv::Append_With_Spare(a.ils, a.ils_count);
    l.lat = w.end1_lat;
    l.lon = w.end1_lon;
    l.mag_hdg = static_cast<int16_t>(i * 30);
  }
  for (int i = 0; i < 3000; ++i) {
    a.taxi_points.push_back(
        orv::Taxi_Point{0, 47.43 + (i / 60) * 0.0008, -122.33 + (i % 60) * 0.0007});
  }
  a.taxi_point_count = 3000;
  for (int i = 0; i < 400; ++i) {
    a.parkings.push_back(orv::Parking_Rec{"GATE " + std::to_string(i), 47.44 + (i / 20) * 0.001,
                                          -122.32 + (i % 20) * 0.001, 100});
  }
  a.parking_count = 400;
  for (int i = 0; i < 4000; ++i) {
    const int kind = i % 10 == 9 ? orv::PATH_PARKING : (i % 10 == 8 ? orv::PATH_RUNWAY : 0);
    const int end = kind == orv::PATH_PARKING ? i % 400 : (i + 1) % 3000;
    a.taxi_paths.push_back(orv::Taxi_Path{kind, i % 3000, end, i % 3 ? "A" : " "});
  }
  a.taxi_path_count = 4000;
  for (int n = 0; n < 20; ++n) {
    orv::Airspace_Entry sp;
    sp.class_label = n % 2 ? orv::CLASS_B : orv::CLASS_C;
    const double r = 0.05 + n * 0.01;
    sp.points.push_back({orv::PT_CENTER, 47.45, -122.31, 0});
    sp.points.push_back({orv::PT_START, 47.45 + r, -122.31, 0});
    sp.points.push_back({orv::PT_ARC_CW, 47.45, -122.31 + r, 0});
    sp.points.push_back({orv::PT_LINE, 47.45 - r, -122.31, 0});
    sp.points.push_back({orv::PT_ARC_CCW, 47.45, -122.31 - r, 0});
    sp.points.push_back({orv::PT_CIRCLE, 0, 0, 5 + n});
    sp.point_count = static_cast<int32_t>(sp.points.size());
    s->airspaces.push_back(sp);
  }
  s->airspace_count = 20;
  s->show_twy_ids = s->show_twys = s->show_ils = s->show_airspace = s->show_gates = true;
  return s;
}

// The benchmarks' 1024 x 768 chart view of it at a zoom level.
inline orv::Chart_View View_At(int16_t zoom) {
  orv::Chart_View v;
  v.win_w_px = 1024;
  v.win_h_px = 768;
  orv::Load_View(v, -122.31, 47.45);
  while (v.zoom_level < zoom) orv::Zoom_In(v);
  while (v.zoom_level > zoom) orv::Zoom_Out(v);
  return v;
}

}  // namespace orv_bench
