// The airport database files: encoding and decoding a world's worth of airports, and the
// write and load through the working folder as a build's finish and a normal start do them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/program_state.h"
#include "data/database_files.h"

namespace {

using orv::Airport_Entry;

// Most airports of the simulator's world are small fields with a runway or two; one in twenty
// is a large airport with ILS, taxiways and gates.
Airport_Entry Make_Airport(int i) {
  Airport_Entry a;
  // Built up rather than "K" + std::to_string(...) or a literal assigned: GCC 12 at -O3 reports
  // a false overlap (-Wrestrict) in the inlined copy of a short literal.
  a.ident.assign(1, 'K');
  a.ident += std::to_string(1000 + i % 9000);
  a.name = "MUNICIPAL AIRPORT ";
  a.name += std::to_string(i);
  a.lat = 25.0 + (i % 2500) * 0.01;
  a.lon = -125.0 + (i % 5000) * 0.01;
  a.freq7 = "118.3";
  a.freq6 = "121.9";
  const bool large = i % 20 == 0;
  const int runways = large ? 4 : 1 + i % 2;
  for (int r = 0; r < runways; ++r) {
    orv::Runway_Rec& rwy = orv::Append_With_Spare(a.runways, a.runway_count);
    rwy.end1_name = std::to_string(1 + r * 9);
    rwy.end2_name = std::to_string(19 + r * 9);
    rwy.end1_lat = a.lat + 0.01;
    rwy.end1_lon = a.lon;
    rwy.end2_lat = a.lat - 0.01;
    rwy.end2_lon = a.lon;
    rwy.length_ft = 5000 + r * 1000;
    rwy.width_ft = 150;
  }
  if (!large) return a;
  for (int k = 0; k < 2; ++k) {
    orv::Append_With_Spare(a.ils, a.ils_count) = {"IABC", a.lat, a.lon, 161, "110.3"};
  }
  a.taxi_point_count = 300;
  for (int p = 0; p < a.taxi_point_count; ++p) a.taxi_points.push_back({p % 3, a.lat, a.lon});
  a.parking_count = 80;
  for (int p = 0; p < a.parking_count; ++p) {
    std::string label = "GATE A ";
    label += std::to_string(p);
    a.parkings.push_back({std::move(label), a.lat, a.lon, 66});
  }
  a.taxi_path_count = 350;
  for (int p = 0; p < a.taxi_path_count; ++p)
    a.taxi_paths.push_back({0, p % 300, (p + 1) % 300, "A"});
  return a;
}

std::vector<Airport_Entry> Make_Airports(int count) {
  std::vector<Airport_Entry> airports;
  airports.reserve(static_cast<size_t>(count) + 1);
  for (int i = 0; i < count; ++i) airports.push_back(Make_Airport(i));
  airports.emplace_back();
  return airports;
}

void BM_Encode_Airports(benchmark::State& state) {
  const auto count = static_cast<int32_t>(state.range(0));
  const std::vector<Airport_Entry> airports = Make_Airports(count);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<uint8_t> encoded = orv::Encode_Airports(airports, count);
    bytes = encoded.size();
    benchmark::DoNotOptimize(encoded.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Encode_Airports)->Arg(24000)->Unit(benchmark::kMillisecond);

void BM_Decode_Airports(benchmark::State& state) {
  const auto count = static_cast<int32_t>(state.range(0));
  const std::vector<uint8_t> encoded = orv::Encode_Airports(Make_Airports(count), count);
  for (auto _ : state) {
    std::vector<Airport_Entry> read;
    const orv::Decode_Result result = orv::Decode_Airports(encoded, count, read);
    if (!result.ok) state.SkipWithError(result.error.c_str());
    benchmark::DoNotOptimize(read.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(encoded.size()));
}
BENCHMARK(BM_Decode_Airports)->Arg(24000)->Unit(benchmark::kMillisecond);

// The end of a build (both files written through temporary names) and the start of a normal
// run (both files read back), in a folder of the system's temporary space.
void BM_Write_Then_Load_Database(benchmark::State& state) {
  const auto count = static_cast<int32_t>(state.range(0));
  std::random_device rd;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(rd()));
  std::filesystem::create_directories(dir);
  orv::Program_State built;
  built.work_dir = dir;
  built.airports = Make_Airports(count);
  built.airport_count = count;
  built.airspace_files = {"/fs2002/scenery/nam/scenery/bna0.bgl", ""};
  built.airspace_file_count = 1;
  for (auto _ : state) {
    if (!orv::Write_Airport_File(built).ok || !orv::Write_Airspace_List(built).ok) {
      state.SkipWithError("write failed");
      break;
    }
    orv::Program_State st;
    st.work_dir = dir;
    st.airport_count = count;
    st.airspace_file_count = 1;
    const orv::Database_Load load = orv::Load_Database(st);
    if (load.status != orv::Database_Status::ok) state.SkipWithError(load.error.c_str());
    benchmark::DoNotOptimize(st.airports.data());
  }
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}
BENCHMARK(BM_Write_Then_Load_Database)->Arg(24000)->Unit(benchmark::kMillisecond);

}  // namespace
