#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "airspace/airspace_reader.h"
#include "core/program_state.h"
#include "scenery/geo_math.h"
#include "scenery/magdec.h"
#include "scenery/scan_bgl_file.h"
#include "support/scenery_writer.h"

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

namespace {

namespace sw = orv::scenery_writer;

// A scenery file of `count` large airports: three runways with ILS, 200 taxiway points, 300
// segments with names and 60 gates each, as in a busy regional file.
sw::Built_File Busy_Scenery_File(int count) {
  sw::Bgl_File file;
  for (int a = 0; a < count; ++a) {
    const double lat = 30.0 + a * 0.01, lon = -120.0 + a * 0.01;
    std::string ident = "K";  // appended: see Make_Airport in bench_database.cpp
    ident += std::to_string(1000 + a);
    sw::Airport airport(ident);
    airport.Reference(lat, lon).Name("Benchmark Field").Frequency(7, "118.3").Frequency(9, "119.2");
    for (int r = 0; r < 3; ++r) {
      airport.Runway({.lat = lat,
                      .lon = lon + r * 0.002,
                      .elevation_m = 100,
                      .true_heading = 170,
                      .length_ft = 9000,
                      .width_ft = 150,
                      .number = 17});
      airport.Ils({.lat = lat + 0.01, .lon = lon, .true_course = 170, .ident = "IBEN"});
    }
    std::vector<sw::Taxi_Point_Spec> points(200);
    for (size_t i = 0; i < points.size(); ++i) points[i] = {.x = float(i) * 10, .y = float(i) * 5};
    std::vector<sw::Path_Spec> paths(300);
    for (int i = 0; i < 300; ++i)
      paths[size_t(i)] = {.start = i % 200, .end = (i + 1) % 200, .name = i % 8};
    std::vector<sw::Parking_Spec> gates(60);
    for (int i = 0; i < 60; ++i)
      gates[size_t(i)] = {
          .x = float(i) * 30, .radius = 20, .identity = sw::Parking_Identity(12, i)};
    airport.Taxiway(sw::Taxiway_Record().Points(points).Parkings(gates).Paths(paths).Names(
        {"A", "B", "C", "D", "E", "F", "G", "H"}));
    file.Add(airport);
  }
  return file.Build();
}

// The database build's work on one scenery file: the walk of its airport section with every
// airport's detail, runways, ILS and taxiways.
void BM_Scan_Bgl_File(benchmark::State& state) {
  const sw::Built_File file = Busy_Scenery_File(static_cast<int>(state.range(0)));
  const orv::Bgl_Image image = file.Image();
  auto st = std::make_unique<orv::Program_State>();
  for (auto _ : state) {
    st->airports.assign(1, {});
    st->airport_count = 0;
    orv::Bgl_Reader rd(image);
    orv::Scan_Bgl_File(*st, rd, "bench.bgl", orv::Read_Airspace_Section);
    benchmark::DoNotOptimize(st->airport_count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(file.bytes.size()));
  state.counters["airports"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_Scan_Bgl_File)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
