// The first run's scan through the selection window's behaviour, on a world of FS2002's scale
// (about 4,100 scenery files of 90 KB, 24,600 airports): from the first-run message being
// dismissed to the database written, with a view that draws nothing. The time counts the
// ticks' work; `with_timer_gaps` adds the 5 ms the window's timer waits between two ticks.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "behaviour/selection_behaviour.h"
#include "core/program_state.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"

namespace {

namespace sw = orv::scenery_writer;

constexpr int kAreas = 41;
constexpr int kFilesPerArea = 100;
constexpr int kAirportsPerFile = 6;
constexpr size_t kFileBytes = 90 * 1024;

struct Quiet_View final : orv::Selection_View {
  void Show_Message(orv::Message_Icon, const std::string&) override {}
  void Close() override {}
  void Set_Status(const std::string&) override {}
  void Enable_Controls(bool) override {}
  void Set_Progress(int32_t, int32_t) override {}
  void Fill_List(const std::vector<std::string>&, const std::string&) override {}
  void Enable_Timer(orv::Selection_Timer timer, bool on) override {
    if (timer == orv::Selection_Timer::scan_bgls) scanning = on;
  }
  void Repaint() override {}
  bool scanning = false;
};

struct No_Windows final : orv::Program_Windows {
  void Show_Setup() override {}
  void Show_Selection() override {}
  void Show_Chart() override {}
  void Show_Preferences(orv::Window_Closed) override {}
  void Show_About(orv::Window_Closed) override {}
  void End_Program() override {}
};

std::string Ident(int n) {
  std::string id = "K";
  for (int i = 0; i < 3; ++i, n /= 36) id += "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[n % 36];
  return id;
}

// Writes the world once per process.
const std::filesystem::path& Big_World() {
  static const std::filesystem::path root = [] {
    const std::filesystem::path sim = std::filesystem::temp_directory_path() / "orvane-bench-world";
    std::filesystem::remove_all(sim);
    sw::Sim_Folder folder(sim);
    int airport = 0;
    for (int a = 0; a < kAreas; ++a) {
      sw::Area_Spec area{.title = "Area " + std::to_string(a),
                         .local = "Scenery\\A" + std::to_string(a)};
      for (int f = 0; f < kFilesPerArea; ++f) {
        sw::Bgl_File file;
        for (int i = 0; i < kAirportsPerFile; ++i, ++airport) {
          const double lat = -60.0 + (airport % 1200) * 0.1;
          const double lon = -170.0 + (airport / 1200) * 1.5;
          file.Add(sw::Airport(Ident(airport))
                       .Reference(lat, lon)
                       .Name("Field " + std::to_string(airport))
                       .Runway({.lat = lat,
                                .lon = lon,
                                .true_heading = 90,
                                .length_ft = 6000,
                                .width_ft = 100,
                                .number = 9}));
        }
        std::vector<uint8_t> bytes = file.Build().bytes;
        if (bytes.size() < kFileBytes) bytes.resize(kFileBytes, 0);
        // Appended, not "f" + ...: GCC 12 at -O3 reports a false -Wrestrict overlap there.
        std::string name = "f";
        name += std::to_string(f);
        name += ".bgl";
        area.files.push_back({std::move(name), std::move(bytes)});
      }
      folder.Area(std::move(area));
    }
    folder.Write();
    return sim;
  }();
  return root;
}

void BM_First_Run_Scan_To_Database_Written(benchmark::State& state) {
  const std::filesystem::path& sim = Big_World();
  const std::filesystem::path work = std::filesystem::temp_directory_path() / "orvane-bench-work";
  int64_t ticks = 0;
  int32_t airports = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    orv::Program_State st;
    st.work_dir = work;
    orv::Write_Wizard_Settings(st, sim.string());
    st.first_run = true;
    Quiet_View view;
    No_Windows windows;
    orv::Selection_Behaviour list(st, view, windows);
    list.Read_Sceneries_Paths_Timer();  // ends with the first-run message dismissed
    ticks = 0;
    state.ResumeTiming();
    while (view.scanning) {
      list.Scan_Bgls_Timer();
      ++ticks;
    }
    airports = st.airport_count;
  }
  state.counters["ticks"] = static_cast<double>(ticks);
  state.counters["airports"] = airports;
  state.counters["timer_gaps_s"] = static_cast<double>(ticks) * orv::SCAN_BGLS_MS / 1000.0;
}
BENCHMARK(BM_First_Run_Scan_To_Database_Written)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
