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
#include "grid_airport.h"

namespace {

using orv_bench::Grid_Airport;
using orv_bench::View_At;

void BM_Draw_Chart_Ground(benchmark::State& bench) {
  auto s = Grid_Airport();
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
  auto s = Grid_Airport();
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
  auto s = Grid_Airport();
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
  auto s = Grid_Airport();
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
