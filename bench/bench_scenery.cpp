#include <benchmark/benchmark.h>

#include "scenery/geo_math.h"

namespace {

void BM_Point_From_Radial(benchmark::State& state) {
  double lat = 47.4;
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::Point_From_Radial(lat, -122.3, 90, 1500.0));
  }
}
BENCHMARK(BM_Point_From_Radial);

}  // namespace
