// A simulator folder full of damaged scenery files, built into a database by the build steps
// and by the real orvane-tool: every airport that the intact parts describe survives, nothing
// else, and the damaged files are counted.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "airspace/airport_fetch.h"
#include "airspace/airspace_reader.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "data/data_file_check.h"
#include "data/database_files.h"
#include "scenery/database_build.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

namespace sw = scenery_writer;
using testing::Temp_Dir;

sw::Airport Plain(const std::string& ident, double lat = 47.5, double lon = -122.3) {
  sw::Airport a(ident);
  a.Reference(lat, lon).Name(ident + " FIELD");
  a.Runway({.lat = lat,
            .lon = lon,
            .true_heading = 90,
            .length_ft = 5000,
            .width_ft = 100,
            .number = 9});
  return a;
}

std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, int64_t size) {
  bytes.resize(static_cast<size_t>(size));
  return bytes;
}

sw::Airspace_Group Group() {
  return sw::Airspace_Group()
      .Box(47.0, -123.0, 48.0, -122.0)
      .Name("CLASS D")
      .Center(47.5, -122.5)
      .Circle(5000, 0, 2500);
}

// The files of the damaged area, in listing order, and what each leaves.
std::vector<sw::Named_File> Damaged_Files() {
  std::vector<sw::Named_File> files;
  files.push_back(
      {"01_intact.bgl", sw::Bgl_File().Add(Plain("AAA1")).Add(Plain("AAA2")).Build().bytes});

  // Cut inside the runway record of the second airport's detail: both airports were appended
  // when the cut is met, the second without its runway.
  {
    const sw::Built_File f = sw::Bgl_File().Add(Plain("BBB1")).Add(Plain("BBB2")).Build();
    files.push_back({"02_cut_in_detail.bgl",
                     Truncated(f.bytes, f.layout.airports[1].Record(sw::RECORD_RUNWAY) + 20)});
  }
  // Cut inside the index record of the second airport: the first airport's detail lies past
  // the cut, so nothing is appended.
  {
    const sw::Built_File f =
        sw::Bgl_File().Add(Plain("CCC1")).Add(Plain("CCC2")).Add(Plain("CCC3")).Build();
    files.push_back(
        {"03_cut_in_index.bgl", Truncated(f.bytes, f.layout.airports[1].index_record + 10)});
  }
  // Cut inside the header, after the signature: the section offsets cannot be read.
  files.push_back(
      {"04_cut_in_header.bgl", Truncated(sw::Bgl_File().Add(Plain("XXX1")).Build().bytes, 150)});
  // Cut before the signature: not a scenery file at all.
  files.push_back({"05_cut_before_signature.bgl",
                   Truncated(sw::Bgl_File().Add(Plain("XXX2")).Build().bytes, 100)});
  // The header's airport section lies past the end.
  {
    sw::Bgl_File f;
    f.Add(Plain("XXX3"));
    const int64_t size = static_cast<int64_t>(f.Build().bytes.size());
    files.push_back(
        {"06_header_past_end.bgl", f.Header_Long(sw::HEADER_AIRPORTS, size + 1000).Build().bytes});
  }
  // A record of negative size between two index records: the block's walk ends there.
  files.push_back({"07_negative_size.bgl", sw::Bgl_File()
                                               .Add(sw::Airport_Block()
                                                        .Add(Plain("EEE1"))
                                                        .Raw_Record(0x30005, {}, -16)
                                                        .Add(Plain("EEE2")))
                                               .Build()
                                               .bytes});
  // A detail record whose size sends the walk far past the end: the airport stays (without
  // the runway after that record), the file's walk ends.
  {
    sw::Airport f1("FFF1");
    f1.Reference(47.5, -122.3).Name("FFF1 FIELD").Raw_Record(sw::RECORD_SKIPPED_5, {}, 0x10000000);
    f1.Runway({.lat = 47.5, .lon = -122.3, .length_ft = 5000, .width_ft = 100, .number = 9});
    files.push_back({"08_huge_size.bgl", sw::Bgl_File().Add(f1).Add(Plain("FFF2")).Build().bytes});
  }
  // A block count far above its records and a taxiway sub-record count far above its bytes.
  {
    sw::Airport g1 = Plain("GGG1");
    g1.Taxiway(sw::Taxiway_Record().Sub_Record(0x7FFFFFFF, 20));
    files.push_back({"09_huge_counts.bgl",
                     sw::Bgl_File()
                         .Add(sw::Airport_Block().Add(g1).Add(Plain("GGG2")).Count(0x7FFFFFFF))
                         .Build()
                         .bytes});
  }
  // A name text longer than 32767: the airport stays without its name, the walk ends.
  {
    sw::Airport h1("HHH1");
    h1.Reference(47.5, -122.3).Raw_Record(sw::RECORD_NAME, std::vector<uint8_t>(40000, 'A'));
    files.push_back({"10_long_name.bgl", sw::Bgl_File().Add(h1).Add(Plain("HHH2")).Build().bytes});
  }
  // An ident text longer than 32767: that airport is never appended.
  files.push_back({"11_long_ident.bgl", sw::Bgl_File()
                                            .Add(Plain("III1"))
                                            .Add(Plain("III2").Index_Size(40008))
                                            .Add(Plain("III3"))
                                            .Build()
                                            .bytes});
  // Frequencies that are not binary-coded decimal.
  {
    sw::Airport j1 = Plain("JJJ1");
    j1.Frequency_Bcd(7, 0x01ABCDEF).Frequency_Bcd(5, -1);
    j1.Ils({.lat = 47.5,
            .lon = -122.3,
            .true_course = 90,
            .frequency_bcd = 0x0FFFFFFF,
            .ident = "IJJJ"});
    files.push_back({"12_bad_bcd.bgl",
                     sw::Bgl_File()
                         .Add(j1)
                         .Add(sw::Airspace_Container().Add(Group().Frequency_Bcd(0xABCDEF12, "X")))
                         .Build()
                         .bytes});
  }
  // Garbage without the signature, and garbage behind a sound header.
  {
    std::vector<uint8_t> garbage(4096);
    uint32_t x = 12345;
    for (uint8_t& b : garbage) {
      x = x * 1103515245u + 12345u;
      b = static_cast<uint8_t>(x >> 16);
    }
    files.push_back({"13_garbage.bgl", garbage});
    sw::Patch_Long(garbage, sw::HEADER_SIGNATURE, 0x87654321);
    sw::Patch_Long(garbage, sw::HEADER_VERSION, 1);
    sw::Patch_Long(garbage, sw::HEADER_AIRPORTS, 200);
    sw::Patch_Long(garbage, sw::HEADER_AIRSPACES, 200);
    sw::Patch_Long(garbage, 200, 0x0DEADBEE);  // neither an airport block nor an airspace list
    files.push_back({"14_garbage_behind_header.bgl", garbage});
  }
  // An airspace container followed by a record of negative size: the file is listed.
  files.push_back({"15_airspace_negative.bgl", sw::Bgl_File()
                                                   .Add(sw::Airspace_Container().Add(Group()))
                                                   .Airspace_Raw(1, {}, -100)
                                                   .Build()
                                                   .bytes});
  // The airspace section lies past the end: the file is not listed.
  files.push_back({"16_airspace_past_end.bgl", sw::Bgl_File()
                                                   .Add(sw::Airspace_Container().Add(Group()))
                                                   .Header_Long(sw::HEADER_AIRSPACES, 0x7FFFFF00)
                                                   .Build()
                                                   .bytes});
  files.push_back({"17_empty.bgl", {}});
  return files;
}

const std::vector<std::string> kSurvivors = {"AAA1", "AAA2", "BBB1", "BBB2", "EEE1", "FFF1",
                                             "GGG1", "GGG2", "HHH1", "III1", "JJJ1"};

std::filesystem::path Write_World(const Temp_Dir& dir) {
  sw::Sim_Folder sim(dir / "fs2002");
  sim.Magdec(sw::Magdec_File([](int, int) { return int16_t{0}; }));
  sim.Area({.title = "Damaged", .local = "Scenery\\Damaged", .files = Damaged_Files()});
  const sw::Sim_Paths paths = sim.Write();
  // A folder whose name looks like a scenery file is not a file of the listing.
  std::filesystem::create_directories(paths.area_folders[0] / "18_folder.bgl");
  return paths.root;
}

std::vector<std::string> Idents(const Program_State& st) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < st.airport_count; ++i) out.push_back(st.airports[size_t(i)].ident);
  return out;
}

TEST(Damaged_World, Build_Keeps_Exactly_The_Intact_Airports_And_Counts_The_Damage) {
  Temp_Dir dir;
  const std::filesystem::path root = Write_World(dir);
  std::filesystem::create_directories(dir / "work");

  Program_State st;
  st.work_dir = dir / "work";
  ASSERT_TRUE(Write_Wizard_Settings(st, root.string()).ok);
  st.first_run = true;
  ASSERT_EQ(Load_Mag_Grid(st), File_Status::ok);
  Database_Build b;
  Prepare_Build(st, b);
  EXPECT_EQ(b.bgl_total, 17);
  int ticks = 0;
  while (!Scan_Finished(st, b)) {
    Scan_Bgls_Tick(st, b, Read_Airspace_Section);
    ASSERT_LT(++ticks, 100) << "the scan does not end";
  }

  EXPECT_EQ(Idents(st), kSurvivors);
  // Airports cut short keep what was read before the damage.
  EXPECT_EQ(st.airports[3].runway_count, 0) << "BBB2's runway was cut";
  EXPECT_EQ(st.airports[2].runway_count, 1);
  EXPECT_EQ(st.airports[5].runway_count, 0) << "FFF1's runway lies after the huge record";
  EXPECT_EQ(st.airports[8].name, "") << "HHH1's name is too long to be read";
  EXPECT_EQ(st.airports[10].freq7, "") << "a frequency that is not BCD is no frequency";
  EXPECT_EQ(st.airports[10].freq5, "");
  EXPECT_EQ(st.airports[10].runway_count, 1);
  ASSERT_EQ(st.airspace_file_count, 2);
  EXPECT_TRUE(st.airspace_files[0].ends_with("12_bad_bcd.bgl"));
  EXPECT_TRUE(st.airspace_files[1].ends_with("15_airspace_negative.bgl"));

  EXPECT_EQ(b.files_done, 17);
  EXPECT_EQ(b.tally.files_read, 14);
  EXPECT_EQ(b.tally.files_skipped, 3);  // cut before the signature, garbage, empty
  EXPECT_EQ(b.tally.files_unopened, 0);
  std::vector<std::string> cut;
  for (const Scan_Problem& p : b.problems) {
    cut.push_back(std::filesystem::path(p.file).filename().string().substr(0, 2));
  }
  EXPECT_EQ(cut, (std::vector<std::string>{"02", "03", "04", "06", "07", "08", "09", "10", "11",
                                           "15", "16"}));
  EXPECT_EQ(b.tally.files_cut_short, 11);

  // The database of the damaged world is a sound set that the next start reads back whole.
  ASSERT_TRUE(Write_Airport_File(st).ok);
  ASSERT_TRUE(Write_Airspace_List(st).ok);
  ASSERT_TRUE(Update_Settings_Counts(st).result.ok);
  End_Build(st, b);
  Program_State next;
  next.work_dir = st.work_dir;
  ASSERT_EQ(Check_Data_Files(next), Start_Decision::normal_run);
  ASSERT_EQ(Load_Database(next).status, Database_Status::ok);
  EXPECT_EQ(Idents(next), kSurvivors);
  EXPECT_EQ(next.airspace_files, st.airspace_files);
}

// Files whose sections lie far past the header piece and run over many pieces, whole and cut
// at piece and run boundaries, then a small file read into the same buffers after them.
std::vector<sw::Named_File> Far_Files() {
  sw::Bgl_File far;
  far.Header_Size(300000).Add(sw::Airspace_Container().Add(Group()));
  for (int i = 0; i < 6; ++i) {
    sw::Airport a = Plain(std::string("FAR").append(std::to_string(i)));
    a.Raw_Record(sw::RECORD_SKIPPED_5, std::vector<uint8_t>(70000 + 977 * i, 0x5A));
    far.Add(a.Runway({.lat = 47.5, .lon = -122.3, .length_ft = 7000, .width_ft = 150}));
  }
  const std::vector<uint8_t> bytes = far.Build().bytes;
  std::vector<sw::Named_File> files{{"20_far.bgl", bytes}};
  for (const int64_t cut : {65536 + 2, 262144 - 1, 262144 + 3, 300010, 393216 + 1, 524288 - 2}) {
    files.push_back({std::string("21_far_cut_").append(std::to_string(cut)).append(".bgl"),
                     Truncated(bytes, cut)});
  }
  files.push_back({"22_small.bgl", sw::Bgl_File().Add(Plain("SMA1")).Build().bytes});
  return files;
}

struct Built_Set {
  std::vector<uint8_t> database, airspace_list;
  std::vector<Scan_Problem> problems;
  std::vector<Airspace_Entry> airspaces;  // fetched around the first airport
};

// Builds the world, one file after another or walking ahead, each file read as `how` says,
// then fetches the airspaces around the first airport (reading whole files when `how` says so).
Built_Set Build_And_Fetch(const std::filesystem::path& root, const std::filesystem::path& work,
                          Bgl_Read how, bool walk_ahead) {
  Program_State st;
  st.work_dir = work;
  std::filesystem::create_directories(work);
  EXPECT_TRUE(Write_Wizard_Settings(st, root.string()).ok);
  st.first_run = true;
  Load_Mag_Grid(st);
  Database_Build b;
  b.read_mode = how;
  b.use_walk_ahead = walk_ahead;
  Prepare_Build(st, b);
  while (!Scan_Finished(st, b)) Scan_Bgls_Tick(st, b, Read_Airspace_Section);
  EXPECT_TRUE(Write_Airport_File(st).ok && Write_Airspace_List(st).ok);
  End_Build(st, b);
  Built_Set out{*Read_Whole_File(work / DATABASE_FILE),
                *Read_Whole_File(work / AIRSPACE_LIST_FILE),
                b.problems,
                {}};
  st.cur_airport = st.airports[0];
  if (how == Bgl_Read::pieces) {
    Read_Airspace_Files(st);
  } else {
    for (int32_t i = 0; i < st.airspace_file_count; ++i) {
      const Bgl_Image image = *Load_Bgl_Image(st.airspace_files[size_t(i)]);
      Bgl_Reader rd(image);
      if (Read_Long(rd, BGL_SIGNATURE_OFFSET) != BGL_SIGNATURE) continue;
      Scan_Bgl_File(st, rd, st.airspace_files[size_t(i)], Read_Airspace_Section);
    }
  }
  out.airspaces = st.airspaces;
  return out;
}

TEST(Damaged_World, Reading_In_Pieces_Builds_And_Fetches_What_Reading_Whole_Does) {
  Temp_Dir dir;
  sw::Sim_Folder sim(dir / "fs2002");
  sim.Magdec(sw::Magdec_File([](int, int) { return int16_t{0}; }));
  sim.Area({.title = "Damaged", .local = "Scenery\\Damaged", .files = Damaged_Files()});
  sim.Area({.title = "Far", .local = "Scenery\\Far", .files = Far_Files()});
  const std::filesystem::path root = sim.Write().root;

  const Built_Set whole = Build_And_Fetch(root, dir / "w0", Bgl_Read::whole, false);
  ASSERT_EQ(whole.problems.size(), 17u);  // the damaged area's 11 and the six cuts
  ASSERT_EQ(whole.airspaces.size(), 3u);  // from 12, 15 and 20: every cut loses the airspace
  int n = 0;
  for (const Bgl_Read how : {Bgl_Read::whole, Bgl_Read::pieces}) {
    for (const bool walk_ahead : {false, true}) {
      const Built_Set got = Build_And_Fetch(
          root, dir / std::string("w").append(std::to_string(++n)), how, walk_ahead);
      EXPECT_EQ(got.database, whole.database) << n;
      EXPECT_EQ(got.airspace_list, whole.airspace_list) << n;
      EXPECT_EQ(got.airspaces, whole.airspaces) << n;
      ASSERT_EQ(got.problems.size(), whole.problems.size()) << n;
      for (size_t i = 0; i < got.problems.size(); ++i) {
        EXPECT_EQ(got.problems[i].file, whole.problems[i].file) << n;
        EXPECT_EQ(got.problems[i].reason, whole.problems[i].reason) << n;
      }
    }
  }
}

#ifdef ORVANE_TOOL_PATH
std::string Run_Command(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  const int status = pclose(p);
  out += "\nexit " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  return out;
}

TEST(Damaged_World, Orvane_Tool_Builds_The_Same_Database_And_Reports_The_Damage) {
  if (!std::filesystem::exists(ORVANE_TOOL_PATH))
    GTEST_SKIP() << "no orvane-tool at " ORVANE_TOOL_PATH;
  Temp_Dir dir;
  const std::filesystem::path root = Write_World(dir);
  std::filesystem::create_directories(dir / "work");
  const std::string cd = "cd '" + (dir / "work").string() + "' && '" ORVANE_TOOL_PATH "'";

  const std::string build = Run_Command(cd + " build '" + root.string() + "' 2>&1 >/dev/null");
  EXPECT_NE(build.find("11 airports, 2 airspace files; 14 scenery files read, 3 without the "
                       "scenery signature skipped, 11 read only in part\n"),
            std::string::npos)
      << build;
  EXPECT_NE(build.find("16_airspace_past_end.bgl: walk ended early: "), std::string::npos);
  EXPECT_TRUE(build.ends_with("\nexit 0")) << build;

  const std::string list = Run_Command(cd + " list 2>&1");
  std::string expected;
  for (const std::string& ident : kSurvivors) {
    expected += ident + " (" + (ident == "HHH1" ? "" : ident + " FIELD") + ")\n";
  }
  EXPECT_EQ(list, expected + "\nexit 0");
}
// A build whose database cannot be written says so and leaves no data files behind, so the
// next run starts over instead of finding a set it must refuse.
TEST(Damaged_World, Orvane_Tool_Leaves_No_Data_Files_When_A_Write_Fails) {
  if (!std::filesystem::exists(ORVANE_TOOL_PATH))
    GTEST_SKIP() << "no orvane-tool at " ORVANE_TOOL_PATH;
  Temp_Dir dir;
  const std::filesystem::path root = Write_World(dir);
  const std::filesystem::path work = dir / "work";
  // A folder where the airspace list's temporary file must go makes that write fail.
  std::filesystem::create_directories(work / "world_airspaces.lst.tmp");
  const std::string build =
      Run_Command("cd '" + work.string() + "' && '" ORVANE_TOOL_PATH "' build '" + root.string() +
                  "' 2>&1 >/dev/null");
  EXPECT_TRUE(build.ends_with("\nexit 1")) << build;
  EXPECT_NE(build.find("world_airspaces.lst"), std::string::npos) << build;
  for (const char* name : {"orv_config.cfg", "all_fs_airports.dat", "world_airspaces.lst"}) {
    EXPECT_FALSE(std::filesystem::exists(work / name)) << name;
  }
}
#endif

}  // namespace
}  // namespace orv
