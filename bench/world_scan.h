// The benchmarks' first-run scan of a generated world, and its busiest airport.
#pragma once

#include <algorithm>
#include <vector>

#include <benchmark/benchmark.h>

#include "airspace/airspace_reader.h"
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

}  // namespace orv_bench
