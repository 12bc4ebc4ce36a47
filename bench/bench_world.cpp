// The first-run scan, the headless build and the database load on generated simulator folders
// of the simulator's own scale, each next to the time of simply reading the same files: the
// counter x_read says how many times that floor a case takes.
//
// Cases named Cold start each run from a cold disk: the page cache is dropped before every run,
// of the case as of its floor. That needs root on Linux (/proc/sys/vm/drop_caches); elsewhere
// they are skipped. Each case also counts x_best, its best run against the best of its floor.
//
// Shapes: "fs2002" is about 4,100 scenery files (365 MB) with 24,000 airports and 300 airspace
// files; "small" is 2,100 small files holding 34,000 airports. The folders are generated once
// into the system's temporary folder and kept for later runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>

#include "airspace/airport_fetch.h"
#include "airspace/airspace_reader.h"
#include "chart/diagram_painter.h"
#include "chart/recording_canvas.h"
#include "core/program_state.h"
#include "data/database_files.h"
#include "scenery/database_build.h"
#include "tools/fs_world.h"
#include "world_scan.h"

#ifdef __linux__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// One generated world and what reading it costs.
struct World {
  orv::fs_world::World_Summary summary;
  std::vector<fs::path> files;  // every scenery file
  fs::path work;                // a working folder holding the database built from it
  double read_s = 0;            // reading every scenery file once, best of three
  double write_s = 0;           // writing the database's bytes once, best of three
  double db_read_s = 0;         // reading the database file once, best of three
  int32_t airport_count = 0;
  int32_t airspace_file_count = 0;
  std::vector<std::string> airspace_files;  // the list the build made
  orv::Airport_Entry fetched;               // the airport the fetch cases fetch
  orv::Airport_Entry busiest;               // the one with the most taxiways and gates
  double cold_read_s = -1;                  // reading every scenery file from a cold disk
  double airspace_read_s = -1;              // reading the airspace files, warm
  double cold_airspace_read_s = -1;         // and cold
};

// Empties the system's page cache, dentries and inodes, so that the next read comes from the
// disk. False when this process may not (not root, or not Linux).
bool Drop_Caches() {
#ifdef __linux__
  ::sync();
  const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool dropped = ::write(fd, "3\n", 2) == 2;
  ::close(fd);
  return dropped;
#else
  return false;
#endif
}

template <typename F>
double Best_Of_Three(const F& f, bool cold = false) {
  double best = 1e9;
  for (int i = 0; i < 3; ++i) {
    if (cold && !Drop_Caches()) return -1;
    const auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
  }
  return best;
}

// What `cat` does: each file opened and read through one reused buffer.
void Read_Files(const std::vector<fs::path>& files) {
  static std::vector<char> buffer(1 << 17);
  for (const fs::path& f : files) {
    std::FILE* in = std::fopen(f.c_str(), "rb");
    if (in == nullptr) continue;
    while (std::fread(buffer.data(), 1, buffer.size(), in) == buffer.size()) {
    }
    std::fclose(in);
  }
}

void Write_Bytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<orv::Program_State> Fresh_State(const World& w) {
  auto st = std::make_unique<orv::Program_State>();
  st->work_dir = w.work;
  st->fs_path = w.summary.root.string();
  st->sim_version = 1;
  st->first_run = true;
  return st;
}


World& The_World(const std::string& shape) {
  static std::map<std::string, std::unique_ptr<World>> worlds;
  std::unique_ptr<World>& w = worlds[shape];
  if (w) return *w;
  w = std::make_unique<World>();
  const fs::path parent = fs::temp_directory_path() / "orvane-bench-worlds";
  w->summary =
      orv::fs_world::Make_World(parent, shape == "small" ? orv::fs_world::Small_Files_Shape()
                                                         : orv::fs_world::Fs2002_Shape());
  for (const auto& e : fs::recursive_directory_iterator(w->summary.root / "Scenery")) {
    if (e.is_regular_file()) w->files.push_back(e.path());
  }
  w->work = parent / (shape + "-work");
  fs::create_directories(w->work);
  auto st = Fresh_State(*w);
  orv::Database_Build b;
  orv_bench::Scan(*st, b);
  orv::Write_Airport_File(*st);
  orv::Write_Airspace_List(*st);
  w->airport_count = st->airport_count;
  w->airspace_file_count = st->airspace_file_count;
  w->airspace_files = st->airspace_files;
  w->fetched = st->airports.at(0);
  w->busiest = orv_bench::Busiest_Of(st->airports);
  const std::vector<uint8_t> db = orv::Encode_Airports(st->airports, st->airport_count);
  w->read_s = Best_Of_Three([&] { Read_Files(w->files); });
  w->write_s = Best_Of_Three([&] { Write_Bytes(w->work / "write-floor.tmp", db); });
  w->db_read_s = Best_Of_Three([&] { Read_Files({w->work / orv::DATABASE_FILE}); });
  fs::remove(w->work / "write-floor.tmp");
  std::printf(
      "%s world: %lld scenery files, %.1f MB, %d airports, database %.1f MB; reading the "
      "files %.1f ms, writing the database %.1f ms, reading it %.1f ms\n",
      shape.c_str(), static_cast<long long>(w->summary.scenery_files),
      static_cast<double>(w->summary.scenery_bytes) / 1e6, st->airport_count,
      static_cast<double>(db.size()) / 1e6, w->read_s * 1e3, w->write_s * 1e3, w->db_read_s * 1e3);
  return *w;
}

// The wall time of each iteration, measured here so that it can be set against a floor.
class Timed {
 public:
  explicit Timed(benchmark::State& state) : state_(state) {}
  void Start() { t0_ = Clock::now(); }
  void Stop() {
    const double run = std::chrono::duration<double>(Clock::now() - t0_).count();
    total_ += run;
    best_ = std::min(best_, run);
  }
  // The counters: the floor, how many times the floor an iteration took on average, and the
  // best iteration against the floor.
  void Report(double floor_s) {
    const double per_iteration = total_ / static_cast<double>(state_.iterations());
    state_.counters["floor_ms"] = floor_s * 1e3;
    state_.counters["x_read"] = per_iteration / floor_s;
    state_.counters["x_best"] = best_ / floor_s;
  }

 private:
  benchmark::State& state_;
  Clock::time_point t0_;
  double total_ = 0;
  double best_ = 1e9;
};

// Reading every scenery file of the world from a cold disk, best of three; negative when the
// page cache cannot be dropped.
double Cold_Read_Floor(World& w) {
  if (w.cold_read_s < 0) w.cold_read_s = Best_Of_Three([&] { Read_Files(w.files); }, true);
  return w.cold_read_s;
}

// Reading the airspace files the fetch walks, warm or cold, best of three.
double Airspace_Read_Floor(World& w, bool cold) {
  double& floor = cold ? w.cold_airspace_read_s : w.airspace_read_s;
  if (floor < 0) {
    std::vector<fs::path> files(w.airspace_files.begin(), w.airspace_files.end());
    floor = Best_Of_Three([&] { Read_Files(files); }, cold);
  }
  return floor;
}

// The first-run scan: every scenery file read and walked, one tick at a time.
void BM_First_Run_Scan(benchmark::State& state, const std::string& shape) {
  World& w = The_World(shape);
  Timed timed(state);
  for (auto _ : state) {
    auto st = Fresh_State(w);
    orv::Database_Build b;
    timed.Start();
    orv_bench::Scan(*st, b);
    orv::End_Build(*st, b);
    timed.Stop();
    benchmark::DoNotOptimize(st->airport_count);
  }
  timed.Report(w.read_s);
}

// The headless build: the scan, then both database files written, each file read as `how`
// says (in pieces as the walk reaches them, as the program does, or whole as it used to), from
// the page cache or, `cold`, from the disk. The warm floor is reading the scenery files and
// writing the database's bytes; the cold one reading the files from the disk.
void Run_Headless_Build(benchmark::State& state, const std::string& shape, orv::Bgl_Read how,
                        bool cold) {
  World& w = The_World(shape);
  const double floor = cold ? Cold_Read_Floor(w) : w.read_s + w.write_s;
  if (floor < 0) {
    state.SkipWithError("the page cache cannot be dropped (root on Linux only)");
    return;
  }
  Timed timed(state);
  for (auto _ : state) {
    auto st = Fresh_State(w);
    orv::Database_Build b;
    b.read_mode = how;
    if (cold) Drop_Caches();
    timed.Start();
    orv_bench::Scan(*st, b);
    if (!orv::Write_Airport_File(*st).ok || !orv::Write_Airspace_List(*st).ok) {
      state.SkipWithError("cannot write the database");
      break;
    }
    orv::End_Build(*st, b);
    timed.Stop();
  }
  timed.Report(floor);
}

void BM_Headless_Build(benchmark::State& state, const std::string& shape) {
  Run_Headless_Build(state, shape, orv::Bgl_Read::pieces, false);
}
void BM_Headless_Build_Whole_Files(benchmark::State& state, const std::string& shape) {
  Run_Headless_Build(state, shape, orv::Bgl_Read::whole, false);
}
void BM_Cold_Headless_Build(benchmark::State& state, const std::string& shape) {
  Run_Headless_Build(state, shape, orv::Bgl_Read::pieces, true);
}
void BM_Cold_Headless_Build_Whole_Files(benchmark::State& state, const std::string& shape) {
  Run_Headless_Build(state, shape, orv::Bgl_Read::whole, true);
}

// "GET AIRPORT" after the list was loaded: the airspace files walked, the airspaces labelled
// and the departure/approach airspace added. Its floor is reading the airspace files whole in
// the same state of the page cache.
void Run_Fetch(benchmark::State& state, const std::string& shape, bool cold) {
  World& w = The_World(shape);
  const double floor = Airspace_Read_Floor(w, cold);
  if (floor < 0) {
    state.SkipWithError("the page cache cannot be dropped (root on Linux only)");
    return;
  }
  Timed timed(state);
  for (auto _ : state) {
    auto st = Fresh_State(w);
    st->first_run = false;
    st->db_ready = true;
    st->airspace_files = w.airspace_files;
    st->airspace_file_count = w.airspace_file_count;
    st->cur_airport = w.fetched;
    if (cold) Drop_Caches();
    timed.Start();
    orv::Fetch_Airspaces(*st);
    timed.Stop();
    benchmark::DoNotOptimize(st->airspace_count);
  }
  timed.Report(floor);
}

void BM_Fetch(benchmark::State& state, const std::string& shape) {
  Run_Fetch(state, shape, false);
}
void BM_Cold_Fetch(benchmark::State& state, const std::string& shape) {
  Run_Fetch(state, shape, true);
}

// The normal run's load of both database files with every airport's detail, as the program
// does it; its floor is reading the database file.
void BM_Database_Load(benchmark::State& state, const std::string& shape) {
  World& w = The_World(shape);
  Timed timed(state);
  for (auto _ : state) {
    auto st = Fresh_State(w);
    st->airport_count = w.airport_count;
    st->airspace_file_count = w.airspace_file_count;
    timed.Start();
    const orv::Database_Load load = orv::Load_Database(*st);
    timed.Stop();
    if (load.status != orv::Database_Status::ok) state.SkipWithError(load.error.c_str());
    benchmark::DoNotOptimize(st->airports.data());
  }
  timed.Report(w.db_read_s);
}

// The load of the list and fetch subcommands: every record checked, only the index kept.
void BM_Database_Index_Load(benchmark::State& state, const std::string& shape) {
  World& w = The_World(shape);
  Timed timed(state);
  for (auto _ : state) {
    auto st = Fresh_State(w);
    st->airport_count = w.airport_count;
    st->airspace_file_count = w.airspace_file_count;
    orv::Airport_Index index;
    timed.Start();
    const orv::Database_Load load = orv::Load_Database_Index(*st, index);
    timed.Stop();
    if (load.status != orv::Database_Status::ok) state.SkipWithError(load.error.c_str());
    benchmark::DoNotOptimize(index.entries.data());
  }
  timed.Report(w.db_read_s);
}

#define ORVANE_WORLD_BENCH(fn, iterations)             \
  BENCHMARK_CAPTURE(fn, fs2002, std::string("fs2002")) \
      ->Unit(benchmark::kMillisecond)                  \
      ->Iterations(iterations);                        \
  BENCHMARK_CAPTURE(fn, small, std::string("small"))   \
      ->Unit(benchmark::kMillisecond)                  \
      ->Iterations(iterations)

// One redraw of the diagram of the world's busiest airport in a 1024 x 768 chart window, label
// placement included; the window redraws once a second and at every click.
void BM_Diagram_Busiest(benchmark::State& state) {
  World& w = The_World("fs2002");
  const orv::Program_State st = orv_bench::Showing(w.busiest);
  const orv::Chart_View view = orv_bench::View_On(w.busiest, state.range(0));
  orv::Recording_Canvas canvas;
  for (auto _ : state) {
    canvas.Forget();
    orv::Draw_Diagram(canvas, st, view, 1024, 768, false, false);
    benchmark::DoNotOptimize(canvas.Calls().data());
  }
  state.counters["calls"] = static_cast<double>(canvas.Calls().size());
  state.counters["segments"] = w.busiest.taxi_path_count;
  state.counters["parkings"] = w.busiest.parking_count;
}
BENCHMARK(BM_Diagram_Busiest)->Arg(13)->Arg(16)->Unit(benchmark::kMillisecond);

ORVANE_WORLD_BENCH(BM_First_Run_Scan, 3);
ORVANE_WORLD_BENCH(BM_Headless_Build, 3);
ORVANE_WORLD_BENCH(BM_Headless_Build_Whole_Files, 3);
ORVANE_WORLD_BENCH(BM_Cold_Headless_Build, 3);
ORVANE_WORLD_BENCH(BM_Cold_Headless_Build_Whole_Files, 3);
BENCHMARK_CAPTURE(BM_Fetch, fs2002, std::string("fs2002"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_Cold_Fetch, fs2002, std::string("fs2002"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
ORVANE_WORLD_BENCH(BM_Database_Load, 5);
ORVANE_WORLD_BENCH(BM_Database_Index_Load, 5);

}  // namespace
