// Writes the seed corpora of the fuzz programs: scenery files, magnetic grids, scenery.cfg
// texts, settings records, database files and link reply blocks, all made with the project's
// own scenery writer and encoders. When the demo simulator folder is given, its scenery files,
// grid and scenery.cfg are added too, and database files are made from its airports.
//
//   make_fuzz_seeds OUT_FOLDER [DEMO_FOLDER]
//
// Each corpus is a folder OUT_FOLDER/<fuzz program>/ of files named seed_<n>.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "airspace/airspace_reader.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "scenery/bgl_image.h"
#include "scenery/scan_bgl_file.h"
#include "simlink/link_block.h"
#include "simlink/relay_wire.h"
#include "support/scenery_writer.h"

namespace {

namespace fs = std::filesystem;
namespace sw = orv::scenery_writer;

class Corpora {
 public:
  explicit Corpora(fs::path root) : root_(std::move(root)) {}

  void Add(const std::string& target, std::span<const uint8_t> bytes) {
    const fs::path folder = root_ / target;
    fs::create_directories(folder);
    const int n = next_[target]++;
    std::ofstream out(folder / ("seed_" + std::to_string(n)), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write a seed in " + folder.string());
  }
  void Add_Text(const std::string& target, const std::string& text) {
    Add(target, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  }
  // A scenery file goes to both scan programs.
  void Add_Scenery(std::span<const uint8_t> bytes) {
    Add("fuzz_scan_build", bytes);
    Add("fuzz_scan_read", bytes);
  }

 private:
  fs::path root_;
  std::map<std::string, int> next_;
};

sw::Airport Full_Airport() {
  sw::Airport a("KSEA");
  a.Reference(47.449, -122.309).Name("Seattle-Tacoma Intl");
  a.Frequency(7, "118.3").Frequency(5, "119.9").Frequency(6, "121.7").Frequency(1, "121.9");
  a.Runway({.lat = 47.45,
            .lon = -122.31,
            .elevation_m = 131,
            .true_heading = 179.6,
            .length_ft = 11900,
            .width_ft = 150,
            .side = 2,
            .number = 16});
  a.Runway({.lat = 47.44,
            .lon = -122.30,
            .elevation_m = 131,
            .true_heading = 179.6,
            .length_ft = 9400,
            .width_ft = 150,
            .side = 1,
            .number = 16});
  a.Ils(
      {.lat = 47.43, .lon = -122.31, .true_course = 179.6, .frequency = "111.7", .ident = "ISNQ"});
  a.Navaid({.lat = 47.43, .lon = -122.32, .frequency = "116.8", .kind = 1, .ident = "SEA"});
  a.Raw_Record(sw::RECORD_SKIPPED_3, {1, 2, 3, 4});
  a.Taxiway(sw::Taxiway_Record()
                .Points({{0, 10.0f, 20.0f}, {1, -30.0f, 40.0f}, {2, 50.0f, -60.0f}})
                .Parkings({{15.0f, 25.0f, 12.0f, sw::Parking_Identity(7, 12, 3)}})
                .Paths({{0, 0, 1, 0}, {1, 1, 2, 0}, {2, 2, 0, 1}})
                .Names({"A", "B1"}));
  return a;
}

sw::Airspace_Group Class_B() {
  return sw::Airspace_Group()
      .Box(47.2, -122.6, 47.7, -122.0)
      .Name("SEATTLE CLASS B")
      .Frequency("119.2", "SEATTLE APP")
      .Center(47.449, -122.309)
      .Start(47.6, -122.5, 0, 10000)
      .Line(47.6, -122.1)
      .Arc_Cw(47.3, -122.1)
      .Arc_Ccw(47.3, -122.5)
      .Skip()
      .End_Group();
}

sw::Airspace_Group Circle_D() {
  return sw::Airspace_Group()
      .Box(47.4, -122.4, 47.6, -122.2)
      .Name("BOEING CLASS D")
      .Frequency_Bcd(0x01206000, "BOEING TWR")
      .Center(47.53, -122.30)
      .Circle(8000, 0, 2500);
}

void Scenery_Seeds(Corpora& c) {
  c.Add_Scenery(sw::Bgl_File().Add(Full_Airport()).Build().bytes);
  c.Add_Scenery(sw::Bgl_File()
                    .Add(sw::Airspace_Container().Add(Class_B()).Add(Circle_D()).Skipped_Record())
                    .Build()
                    .bytes);
  c.Add_Scenery(sw::Bgl_File()
                    .Add(sw::Airport("KBFI").Reference(47.53, -122.30).Name("Boeing Fld"))
                    .Add(sw::Airport_Block()
                             .Add(sw::Airport("S43").Reference(47.9, -122.1).Name("Harvey Fld"))
                             .Raw_Record(0x30005, {9, 9, 9, 9}))
                    .Add(sw::Airspace_Container().Add(Circle_D()))
                    .Airspace_Skipped_Record({1, 2})
                    .Build()
                    .bytes);
  c.Add_Scenery(sw::Bgl_File().Empty_Airport_Section().Empty_Airspace_Section().Build().bytes);
}

void Magdec_Seeds(Corpora& c) {
  c.Add("fuzz_magdec", sw::Magdec_File([](int lat, int lon) {
          return static_cast<int16_t>(lat * 37 - lon * 11);
        }));
  c.Add("fuzz_magdec", sw::Magdec_File([](int, int) { return int16_t{2913}; }, 400));
  // Only the pointer and the grid's head: every value lies past the end.
  std::vector<uint8_t> short_grid = sw::Magdec_File([](int, int) { return int16_t{0}; });
  short_grid.resize(sw::DEFAULT_GRID_OFFSET + 64);
  c.Add("fuzz_magdec", short_grid);
}

void Cfg_Seeds(Corpora& c) {
  sw::Sim_Folder sim("/nonexistent");
  sim.Area({.title = "Default Terrain", .local = "Scenery\\World"});
  sim.Area({.title = "Addon", .local = "C:\\Addon Scenery", .layer = "7", .remote = "X"});
  sim.Area({.title = "Odd", .local = "Scenery\\Odd", .active = "FALSE", .texture_id = "12"});
  c.Add_Text("fuzz_scenery_cfg", sim.Scenery_Cfg());
  c.Add_Text("fuzz_scenery_cfg", sim.Line_End("\n").Scenery_Cfg());
  c.Add_Text("fuzz_scenery_cfg", "[General]\nTitle=x\n[area.002]\nlocal=a\n[Area.001]\nTITLE=b\n");
}

void Settings_Seeds(Corpora& c) {
  orv::Config_Rec rec;
  rec.banner = orv::BANNER;
  rec.cfg_valid = 1;
  rec.sim_version = 1;
  rec.fs_path = "C:\\Games\\FS2002";
  rec.airport_count = 4;
  rec.airspace_file_count = 1;
  c.Add("fuzz_settings", orv::Encode_Config(rec));
  std::vector<uint8_t> tail = orv::Encode_Config(rec);
  tail.insert(tail.end(), {1, 2, 3, 4, 5});
  c.Add("fuzz_settings", tail);
  c.Add("fuzz_settings", orv::Encode_Config(orv::Config_Rec{}));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Counts, split point, airport file, airspace list: the layout fuzz_database reads.
void Database_Seed(Corpora& c, const orv::Program_State& st) {
  const std::vector<uint8_t> apt = orv::Encode_Airports(st.airports, st.airport_count);
  const std::vector<uint8_t> lst =
      orv::Encode_Airspace_List(st.airspace_files, st.airspace_file_count);
  std::vector<uint8_t> seed;
  Put32(seed, static_cast<uint32_t>(st.airport_count));
  Put32(seed, static_cast<uint32_t>(st.airspace_file_count));
  Put32(seed, static_cast<uint32_t>(apt.size()));
  seed.insert(seed.end(), apt.begin(), apt.end());
  seed.insert(seed.end(), lst.begin(), lst.end());
  c.Add("fuzz_database", seed);
}

// Builds a database from scenery files as a build does.
void Scan_Into(orv::Program_State& st, std::span<const uint8_t> file, const std::string& name) {
  st.first_run = true;
  st.db_ready = false;
  const orv::Bgl_Image image = orv::Make_Bgl_Image(file);
  orv::Bgl_Reader rd(image);
  orv::Scan_Bgl_File(st, rd, name, orv::Read_Airspace_Section);
}

void Database_Seeds(Corpora& c) {
  orv::Program_State empty;
  Database_Seed(c, empty);
  orv::Program_State st;
  Scan_Into(st, sw::Bgl_File().Add(Full_Airport()).Build().bytes, "a.bgl");
  Scan_Into(st, sw::Bgl_File().Add(sw::Airspace_Container().Add(Circle_D())).Build().bytes,
            "b.bgl");
  Database_Seed(c, st);
}

void Link_Seeds(Corpora& c) {
  // Replies as the module leaves them: a read of 8 bytes for token 1, a read of 2 for token 2,
  // a write, a read of 16 for token 3, a read without a destination, then the terminator.
  std::vector<uint8_t> block;
  auto read = [&](uint32_t offset, uint32_t count, uint32_t token) {
    Put32(block, orv::LINK_ID_READ);
    Put32(block, offset);
    Put32(block, count);
    Put32(block, token);
    for (uint32_t i = 0; i < count; ++i) block.push_back(static_cast<uint8_t>(0xA0 + i));
  };
  read(0x560, 8, 1);
  read(0x580, 2, 2);
  Put32(block, orv::LINK_ID_WRITE);
  Put32(block, 0x330);
  Put32(block, 2);
  block.insert(block.end(), {0x10, 0x27});
  read(0x330, 16, 3);
  read(0x3304, 4, 0);
  Put32(block, orv::LINK_ID_END);
  c.Add("fuzz_link_reply", block);
  // A reply filling the whole block: one read whose data ends exactly at the block's end.
  std::vector<uint8_t> full;
  Put32(full, orv::LINK_ID_READ);
  Put32(full, 0);
  Put32(full, orv::LINK_BLOCK_SIZE - orv::LINK_READ_HEADER);
  Put32(full, 1);
  full.resize(orv::LINK_BLOCK_SIZE, 0x55);
  c.Add("fuzz_link_reply", full);
  // What the link asks the relay for: the open's version reads and write, then one of the
  // tick's reads.
  std::vector<uint8_t> open;
  for (uint32_t v : {1u, 0x3304u, 4u, 1u, 0u, 1u, 0x3308u, 4u, 2u, 0u, 2u, 0x330Au, 2u}) {
    Put32(open, v);
  }
  open.insert(open.end(), {0, 0});
  Put32(open, orv::LINK_ID_END);
  c.Add("fuzz_relay_block", open);
  std::vector<uint8_t> tick;
  for (uint32_t v : {1u, 0x0564u, 4u, 1u, 0u, 0u}) Put32(tick, v);
  c.Add("fuzz_relay_block", tick);
  // A hello of this version followed by a 32-byte answer, and one of the first version.
  std::vector<uint8_t> hello = orv::Relay_Hello();
  hello.resize(hello.size() + orv::RELAY_PROOF_SIZE, 0x11);
  c.Add("fuzz_relay_block", hello);
  const std::vector<uint8_t> first_version = {'O', 'R', 'V', 'R', 1, 0, 0, 0, 2, 0, 0, 0, 'k', '1'};
  c.Add("fuzz_relay_block", first_version);
}

void Demo_Seeds(Corpora& c, const fs::path& demo) {
  orv::Program_State st;
  for (const auto& entry : fs::recursive_directory_iterator(demo)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    const auto bytes = orv::Read_Whole_File(entry.path());
    if (!bytes) continue;
    std::string lower;
    for (const char ch : name) lower += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
    if (lower == "magdec.bgl") {
      c.Add("fuzz_magdec", *bytes);
    } else if (lower.ends_with(".bgl")) {
      c.Add_Scenery(*bytes);
      Scan_Into(st, *bytes, entry.path().string());
    } else if (lower == "scenery.cfg") {
      c.Add("fuzz_scenery_cfg", *bytes);
    }
  }
  Database_Seed(c, st);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_fuzz_seeds OUT_FOLDER [DEMO_FOLDER]\n");
    return 2;
  }
  try {
    Corpora c(argv[1]);
    Scenery_Seeds(c);
    Magdec_Seeds(c);
    Cfg_Seeds(c);
    Settings_Seeds(c);
    Database_Seeds(c);
    Link_Seeds(c);
    if (argc == 3) Demo_Seeds(c, argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_fuzz_seeds: %s\n", e.what());
    return 1;
  }
  return 0;
}
