// The benchmarks' first-run scan of a generated world, and its busiest airport.
#pragma once

#include <algorithm>
#include <vector>

#include <benchmark/benchmark.h>

#include "airspace/airspace_reader.h"
#include "chart/chart_projection.h"
#include "core/program_state.h"
#include "scenery/database_build.h"

namespace orv_bench {

// The scan as the window's ticks run it, without a display: status text, then one step.
inline void Scan(orv::Program_State& st, orv::Database_Build& b) {
  orv::Load_Mag_Grid(st);
  orv::Prepare_Build(st, b);
  while (!orv::Scan_Finished(st, b)) {
    benchmark::DoNotOptimize(orv::Scan_Status_Text(st, b));
    orv::Scan_Bgls_Tick(st, b, orv::Read_Airspace_Section);
  }
}

// The airport with the most taxiway segments and parking places together.
inline const orv::Airport_Entry& Busiest_Of(const std::vector<orv::Airport_Entry>& airports) {
  return *std::max_element(airports.begin(), airports.end(), [](const auto& x, const auto& y) {
    return x.taxi_path_count + x.parking_count < y.taxi_path_count + y.parking_count;
  });
}

// The airport chosen with every display switch of the diagram on, in a 1024 x 768 chart view
// centred on it at a zoom level.
inline orv::Program_State Showing(const orv::Airport_Entry& airport) {
  orv::Program_State st;
  st.cur_airport = airport;
  st.show_twy_ids = st.show_twys = st.show_ils = st.show_gates = true;
  return st;
}
inline orv::Chart_View View_On(const orv::Airport_Entry& airport, int64_t zoom) {
  orv::Chart_View view;
  view.win_w_px = 1024;
  view.win_h_px = 768;
  orv::Load_View(view, airport.lon, airport.lat);
  while (view.zoom_level < zoom) orv::Zoom_In(view);
  return view;
}

}  // namespace orv_bench
