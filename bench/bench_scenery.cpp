#include <benchmark/benchmark.h>

#include <memory>

#include "scenery/geo_math.h"
#include "scenery/magdec.h"

namespace {

void BM_Point_From_Radial(benchmark::State& state) {
  double lat = 47.4;
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::Point_From_Radial(lat, -122.3, 90, 1500.0));
  }
}
BENCHMARK(BM_Point_From_Radial);

// One true-to-magnetic conversion per runway end and taxiway heading of a database build.
void BM_Mag_Heading(benchmark::State& state) {
  auto table = std::make_unique<orv::Mag_Var_Table>();
  for (size_t i = 0; i < table->size(); ++i) (*table)[i] = static_cast<int16_t>(i * 37);
  double lat = -60.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::Mag_Heading(*table, 137.5, lat, -122.3));
    lat = lat > 60 ? -60.25 : lat + 0.5;
  }
}
BENCHMARK(BM_Mag_Heading);

}  // namespace
