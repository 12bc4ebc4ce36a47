// The moving map: the nearest airports search over a database of the simulator's scale (24,000
// airports), the index read it starts from, and a chart redraw with a full 30-minute trail
// beside the same redraw without it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

#include "chart/aircraft_trail.h"
#include "chart/chart_layers.h"
#include "chart/nearest_airports.h"
#include "chart/recording_canvas.h"
#include "core/program_state.h"
#include "data/database_files.h"

namespace {

constexpr int kAirports = 24000;

// Fields spread over the land of the world; one in twenty with taxiways and gates, which the
// index read has to step over.
std::vector<orv::Airport_Entry> World() {
  std::mt19937 gen(2002);
  std::uniform_real_distribution<double> lat(-60.0, 70.0), lon(-180.0, 180.0);
  std::vector<orv::Airport_Entry> airports(kAirports + 1);
  for (int i = 0; i < kAirports; ++i) {
    orv::Airport_Entry& a = airports[static_cast<size_t>(i)];
    a.ident.assign(1, 'K');  // a literal assigned here trips a false -Wrestrict of GCC 12
    a.ident += std::to_string(i);
    a.name = "MUNICIPAL";
    a.lat = lat(gen);
    a.lon = lon(gen);
    orv::Runway_Rec& w = orv::Append_With_Spare(a.runways, a.runway_count);
    w.end1_lat = a.lat + 0.01, w.end2_lat = a.lat - 0.01, w.end1_lon = w.end2_lon = a.lon;
    if (i % 20 != 0) continue;
    a.taxi_point_count = 300;
    for (int p = 0; p < 300; ++p) a.taxi_points.push_back({0, a.lat, a.lon});
    a.taxi_path_count = 350;
    for (int p = 0; p < 350; ++p) a.taxi_paths.push_back({0, p % 300, (p + 1) % 300, "A"});
  }
  return airports;
}

std::vector<orv::Airport_Index_Entry> World_Index(std::vector<uint8_t>& bytes) {
  bytes = orv::Encode_Airports(World(), kAirports);
  std::vector<orv::Airport_Index_Entry> entries;
  orv::Decode_Airport_Index(bytes, kAirports, entries);
  return entries;
}

void BM_Find_Nearest(benchmark::State& bench) {
  std::vector<uint8_t> bytes;
  const std::vector<orv::Airport_Index_Entry> entries = World_Index(bytes);
  auto table = std::make_unique<orv::Mag_Var_Table>();
  double lon = -122.3;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(orv::Find_Nearest(entries, *table, 47.45, lon, 20));
    lon = lon > 170.0 ? -170.0 : lon + 1.0;
  }
  bench.counters["airports"] = static_cast<double>(entries.size());
}
BENCHMARK(BM_Find_Nearest)->Unit(benchmark::kMillisecond);

void BM_Read_Airport_Index(benchmark::State& bench) {
  const std::vector<uint8_t> bytes = orv::Encode_Airports(World(), kAirports);
  for (auto _ : bench) {
    std::vector<orv::Airport_Index_Entry> entries;
    if (!orv::Decode_Airport_Index(bytes, kAirports, entries).ok) bench.SkipWithError("damaged");
    benchmark::DoNotOptimize(entries.data());
  }
  bench.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_Read_Airport_Index)->Unit(benchmark::kMillisecond);

// An airport of four runways, 600 taxiway segments and 100 gates at zoom 14 on a large window,
// with the aircraft taxiing round it for 30 minutes, a position a second.
struct Trail_Scene {
  std::unique_ptr<orv::Program_State> st = std::make_unique<orv::Program_State>();
  orv::Chart_View view;
  orv::Aircraft_Trail trail;

  Trail_Scene() {
    orv::Airport_Entry& a = st->cur_airport;
    a.lat = 47.45, a.lon = -122.31;
    for (int i = 0; i < 4; ++i) {
      orv::Runway_Rec& w = orv::Append_With_Spare(a.runways, a.runway_count);
      w.end1_lat = 47.44 + i * 0.003, w.end2_lat = 47.45 + i * 0.003;
      w.end1_lon = -122.32, w.end2_lon = -122.30;
    }
    for (int i = 0; i < 600; ++i)
      a.taxi_points.push_back({0, 47.44 + (i / 30) * 0.001, -122.32 + (i % 30) * 0.0007});
    a.taxi_point_count = 600;
    for (int i = 0; i < 600; ++i) a.taxi_paths.push_back({0, i, (i + 1) % 600, "A"});
    a.taxi_path_count = 600;
    for (int i = 0; i < 100; ++i) a.parkings.push_back({"GATE", 47.445, -122.32 + i * 0.0002, 80});
    a.parking_count = 100;
    st->show_twy_ids = st->show_twys = st->show_ils = st->show_gates = true;
    st->show_trail = true;
    st->acft_lat = a.lat, st->acft_lon = a.lon;
    view.win_w_px = 1024, view.win_h_px = 768;
    orv::Load_View(view, a.lon, a.lat);
    while (view.zoom_level < 14) orv::Zoom_In(view);
    for (int s = 0; s <= 1800; ++s) {
      const double t = s / 1800.0 * 6.28318530717958;
      trail.Add(std::chrono::seconds(s), 47.45 + 0.008 * std::sin(t),
                -122.31 + 0.012 * std::cos(t));
    }
  }
};

void BM_Redraw_Without_Trail(benchmark::State& bench) {
  Trail_Scene scene;
  orv::Recording_Canvas canvas;
  for (auto _ : bench) {
    canvas.Forget();
    orv::Redraw_Chart(canvas, *scene.st, scene.view, true);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
  bench.counters["calls"] = static_cast<double>(canvas.Calls().size());
}
BENCHMARK(BM_Redraw_Without_Trail)->Unit(benchmark::kMicrosecond);

void BM_Redraw_With_Full_Trail(benchmark::State& bench) {
  Trail_Scene scene;
  orv::Recording_Canvas canvas;
  for (auto _ : bench) {
    canvas.Forget();
    orv::Redraw_Chart_With_Trail(canvas, *scene.st, scene.view, true, scene.trail);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
  bench.counters["calls"] = static_cast<double>(canvas.Calls().size());
  bench.counters["trail_points"] = static_cast<double>(scene.trail.Points().size());
}
BENCHMARK(BM_Redraw_With_Full_Trail)->Unit(benchmark::kMicrosecond);

}  // namespace
