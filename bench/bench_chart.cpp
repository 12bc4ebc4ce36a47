// How long one redraw of the chart takes for a large airport: the window redraws every layer
// once a second, so the whole chart must stay well inside that.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "chart/airspace_drawing.h"
#include "chart/chart_layers.h"
#include "chart/diagram_painter.h"
#include "chart/recording_canvas.h"
#include "chart/svg_canvas.h"

namespace {

// A grid-like airport around 47.45 N 122.31 W: 12 runways with ILS, 400 gates, 3000 taxiway
// points joined by 4000 segments, and 20 Class B and C airspaces of arcs and lines.
std::unique_ptr<orv::Program_State> Big_Airport() {
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

orv::Chart_View View_At(int16_t zoom) {
  orv::Chart_View v;
  v.win_w_px = 1024;
  v.win_h_px = 768;
  orv::Load_View(v, -122.31, 47.45);
  while (v.zoom_level < zoom) orv::Zoom_In(v);
  while (v.zoom_level > zoom) orv::Zoom_Out(v);
  return v;
}

void BM_Draw_Chart_Ground(benchmark::State& bench) {
  auto s = Big_Airport();
  const orv::Chart_View v = View_At(14);
  orv::Recording_Canvas canvas;
  for (auto _ : bench) {
    canvas.Forget();
    orv::Draw_Chart(canvas, *s, v);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
  bench.counters["calls"] = static_cast<double>(canvas.Calls().size());
}
BENCHMARK(BM_Draw_Chart_Ground)->Unit(benchmark::kMillisecond);

void BM_Draw_Chart_Airspace(benchmark::State& bench) {
  auto s = Big_Airport();
  const orv::Chart_View v = View_At(9);
  orv::Recording_Canvas canvas;
  for (auto _ : bench) {
    canvas.Forget();
    orv::Draw_Chart(canvas, *s, v);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
}
BENCHMARK(BM_Draw_Chart_Airspace)->Unit(benchmark::kMicrosecond);

void BM_Svg_Chart(benchmark::State& bench) {
  auto s = Big_Airport();
  const orv::Chart_View v = View_At(14);
  size_t bytes = 0;
  for (auto _ : bench) {
    orv::Svg_Canvas canvas(v.win_w_px, v.win_h_px);
    orv::Redraw_Chart(canvas, *s, v, false);
    bytes = canvas.Document().size();
    benchmark::DoNotOptimize(bytes);
  }
  bench.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Svg_Chart)->Unit(benchmark::kMillisecond);

// The diagram of the same airport, label placement included, at zoom 13 and 16.
void BM_Draw_Diagram(benchmark::State& bench) {
  auto s = Big_Airport();
  const orv::Chart_View v = View_At(static_cast<int16_t>(bench.range(0)));
  orv::Recording_Canvas canvas;
  for (auto _ : bench) {
    canvas.Forget();
    orv::Draw_Diagram(canvas, *s, v, v.win_w_px, v.win_h_px, false, false);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
  bench.counters["calls"] = static_cast<double>(canvas.Calls().size());
}
BENCHMARK(BM_Draw_Diagram)->Arg(13)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_Segment_Midpoint(benchmark::State& bench) {
  double lon = -122.3;
  for (auto _ : bench) {
    const int16_t d = orv::Dist_Ft(47.45, -122.31, 47.451, lon);
    const int16_t c = orv::Course_True(47.45, -122.31, 47.451, lon);
    benchmark::DoNotOptimize(orv::Point_At_Ft(47.45, -122.31, c, d / 2));
  }
}
BENCHMARK(BM_Segment_Midpoint);

}  // namespace
