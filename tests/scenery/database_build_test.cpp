#include "scenery/database_build.h"

#include <gtest/gtest.h>

#include <tuple>

#include "airspace/airspace_reader.h"
#include "core/program_state.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"
#include "support/temp_dir.h"
#include "tools/fs_world.h"

namespace orv {
namespace {

namespace sw = scenery_writer;
using testing::Read_Bytes;
using testing::Temp_Dir;

std::vector<uint8_t> Airport_File(const std::string& ident, const std::string& name) {
  return sw::Bgl_File().Add(sw::Airport(ident).Reference(45.0, 5.0).Name(name)).Build().bytes;
}

std::vector<uint8_t> Airport_And_Airspace_File(const std::string& ident, const std::string& name) {
  return sw::Bgl_File()
      .Add(sw::Airport(ident).Reference(45.0, 5.0).Name(name))
      .Add(sw::Airspace_Container().Add(
          sw::Airspace_Group().Box(44.0, 4.0, 46.0, 6.0).Name("ALPHA CLASS C").Circle(5, 0, 4000)))
      .Build()
      .bytes;
}

std::vector<uint8_t> Unsigned_File() {
  return sw::Bgl_File().Add(sw::Airport("NOPE").Name("unread")).Signature(0x12345678).Build().bytes;
}

// A library of six areas: a folder with two scenery files, a file without the signature and
// files that are not listed; an area whose folder is missing; the first folder again, spelled
// in other letter case; an area without scenery files; a second folder; and the first folder
// once more after it.
sw::Sim_Folder Library(const std::filesystem::path& root) {
  sw::Sim_Folder sim(root);
  sim.Area({.title = "Area One",
            .local = "Scenery\\One",
            .files = {{"b.bgl", Airport_File("BBBB", "Bravo")},
                      {"A.BGL", Airport_And_Airspace_File("AAAA", "Alpha")},
                      {"notsig.bgl", Unsigned_File()},
                      {"c.txt", Airport_File("TXT1", "Text")},
                      {".hidden.bgl", Airport_File("HIDE", "Hidden")}}});
  sim.Area({.title = "No Folder", .local = "Scenery\\Missing", .make_folder = false});
  sim.Area({.title = "Same Folder", .local = "scenery\\ONE", .make_folder = false});
  sim.Area({.title = "Empty", .local = "Scenery\\Empty"});
  sim.Area({.title = "Two",
            .local = "Scenery\\Two",
            .files = {{"z.bgl", Airport_And_Airspace_File("ZZZZ", "Zulu")}}});
  sim.Area({.title = "One Again", .local = "Scenery\\One", .make_folder = false});
  return sim;
}

struct Tick {
  std::string status;  // "-" when there was no status text
  Scan_Step_Kind kind;
  bool progress;
  bool operator==(const Tick&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tick& t) {
  return os << "{" << t.status << ", " << static_cast<int>(t.kind) << ", " << t.progress << "}";
}

// Runs every tick of the scan, recording the status shown before each and what it did.
std::vector<Tick> Run_Scan(Program_State& st, Database_Build& b,
                           std::vector<std::string>* files = nullptr) {
  std::vector<Tick> ticks;
  for (int guard = 0; guard < 1000 && !Scan_Finished(st, b); ++guard) {
    const std::optional<std::string> status = Scan_Status_Text(st, b);
    const Scan_Step step = Scan_Bgls_Tick(st, b, Read_Airspace_Section);
    ticks.push_back({status.value_or("-"), step.kind, step.progress});
    if (files && step.progress) files->push_back(b.scan_file);
  }
  return ticks;
}

class DatabaseBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    st.work_dir = dir / "work";
    std::filesystem::create_directories(st.work_dir);
    sim = (dir / "FS2002").string();
  }

  Temp_Dir dir;
  std::string sim;
  Program_State st;
  Database_Build b;
};

TEST_F(DatabaseBuild, ScansAreasInLibraryOrderAndFilesInListingOrder) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  const sw::Sim_Paths paths = Library(sim).Write();
  ASSERT_TRUE(Write_Wizard_Settings(st, sim).ok);
  st.first_run = true;

  const Prepare_Report report = Prepare_Build(st, b);
  ASSERT_EQ(report.scenery_cfg, File_Status::ok);
  EXPECT_FALSE(st.db_ready);
  ASSERT_EQ(st.area_count, 6);
  EXPECT_TRUE(st.areas[1].local.empty());
  EXPECT_EQ(b.bgl_total, 3 + 3 + 0 + 1 + 3);  // each naming of a folder counts its files

  std::vector<std::string> files;
  const std::vector<Tick> ticks = Run_Scan(st, b, &files);
  using K = Scan_Step_Kind;
  const std::vector<Tick> expected = {
      {"Area One", K::file_read, true},    {"Area One", K::file_read, true},
      {"Area One", K::file_skipped, true}, {"Area One", K::area_ended, false},
      {"-", K::area_skipped, false},       {"Same Folder", K::area_ended, false},
      {"Empty", K::area_ended, false},     {"Two", K::file_read, true},
      {"Two", K::area_ended, false},       {"One Again", K::file_read, true},
      {"One Again", K::file_read, true},   {"One Again", K::file_skipped, true},
      {"One Again", K::area_ended, false},
  };
  EXPECT_EQ(ticks, expected);
  const std::string one = paths.area_folders[0].string();
  const std::string two = paths.area_folders[4].string();
  EXPECT_EQ(files, (std::vector<std::string>{one + "/A.BGL", one + "/b.bgl", one + "/notsig.bgl",
                                             two + "/z.bgl", one + "/A.BGL", one + "/b.bgl",
                                             one + "/notsig.bgl"}));
  EXPECT_EQ(b.files_done, 7);
  EXPECT_EQ(b.tally.files_read, 5);
  EXPECT_EQ(b.tally.files_skipped, 2);
  EXPECT_EQ(b.tally.files_unopened, 0);
  EXPECT_EQ(b.tally.files_cut_short, 0);
  EXPECT_TRUE(b.problems.empty());
  EXPECT_EQ(Scan_Bgls_Tick(st, b, Read_Airspace_Section).kind, K::finished);

  // Airports in scan order, duplicates kept; a file holding airspace is recorded each time it is
  // read after another one.
  EXPECT_EQ(Add_Airport_Items(st),
            (std::vector<std::string>{"AAAA (ALPHA)", "BBBB (BRAVO)", "ZZZZ (ZULU)", "AAAA (ALPHA)",
                                      "BBBB (BRAVO)"}));
  EXPECT_EQ(st.airspace_files,
            (std::vector<std::string>{one + "/A.BGL", two + "/z.bgl", one + "/A.BGL", ""}));
}

TEST_F(DatabaseBuild, FinishingWritesFilesThatLoadBackToTheSameList) {
  Library(sim).Write();
  ASSERT_TRUE(Write_Wizard_Settings(st, sim).ok);
  st.first_run = true;
  Prepare_Build(st, b);
  Run_Scan(st, b);

  ASSERT_TRUE(Write_Airport_File(st).ok);
  ASSERT_TRUE(Write_Airspace_List(st).ok);
  const Settings_Update update = Update_Settings_Counts(st);
  EXPECT_TRUE(update.file_found);
  ASSERT_TRUE(update.result.ok) << update.result.error;
  End_Build(st, b);
  EXPECT_TRUE(st.db_ready);
  EXPECT_FALSE(st.first_run);
  EXPECT_EQ(st.cfg.airport_count, 5);
  EXPECT_EQ(st.cfg.airspace_file_count, 3);

  Program_State later;
  later.work_dir = st.work_dir;
  ASSERT_EQ(Load_Settings(later, st.work_dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(later.airport_count, 5);
  EXPECT_EQ(later.airspace_file_count, 3);
  EXPECT_EQ(later.fs_path, sim);
  const Database_Load load = Load_Database(later);
  ASSERT_EQ(load.status, Database_Status::ok) << load.error;
  EXPECT_EQ(later.airports, st.airports);
  EXPECT_EQ(later.airspace_files, st.airspace_files);
  EXPECT_EQ(Add_Airport_Items(later), Add_Airport_Items(st));
}

TEST_F(DatabaseBuild, AnEmptyLibraryGivesTheSmallestFiles) {
  sw::Sim_Folder(sim).Write();  // scenery.cfg with its general section only
  st.sim_version = 1;
  st.fs_path = sim;
  st.airports.resize(4);  // left from an earlier build: released by the preparation
  st.airport_count = 3;
  st.airspace_files = {"old", ""};
  st.airspace_file_count = 1;
  st.db_ready = true;

  Prepare_Build(st, b);
  EXPECT_FALSE(st.db_ready);
  EXPECT_EQ(st.area_count, 0);
  EXPECT_EQ(b.bgl_total, 0);
  EXPECT_EQ(st.airports.size(), 1u);
  EXPECT_EQ(st.airport_count, 0);
  EXPECT_EQ(st.airspace_files, std::vector<std::string>(1));
  EXPECT_EQ(st.airspace_file_count, 0);
  EXPECT_TRUE(Scan_Finished(st, b));
  EXPECT_FALSE(Scan_Status_Text(st, b).has_value());
  EXPECT_EQ(Scan_Bgls_Tick(st, b, Read_Airspace_Section).kind, Scan_Step_Kind::finished);

  ASSERT_TRUE(Write_Airport_File(st).ok);
  ASSERT_TRUE(Write_Airspace_List(st).ok);
  EXPECT_EQ(Read_Bytes(st.work_dir / DATABASE_FILE), std::vector<uint8_t>(64, 0));
  EXPECT_EQ(Read_Bytes(st.work_dir / AIRSPACE_LIST_FILE), std::vector<uint8_t>(2, 0));

  // No settings file in the working folder: the counts are not saved and none is created.
  const Settings_Update update = Update_Settings_Counts(st);
  EXPECT_FALSE(update.file_found);
  EXPECT_TRUE(update.result.ok);
  EXPECT_FALSE(std::filesystem::exists(st.work_dir / SETTINGS_FILE));
  End_Build(st, b);
  EXPECT_TRUE(Add_Airport_Items(st).empty());
}

TEST_F(DatabaseBuild, AMissingSceneryCfgIsReportedAndLeavesNoArea) {
  sw::Sim_Folder(sim).No_Scenery_Cfg().Write();
  st.sim_version = 1;
  st.fs_path = sim;
  st.areas.resize(3);  // areas of an earlier read are dropped
  st.area_count = 2;
  EXPECT_EQ(Prepare_Build(st, b).scenery_cfg, File_Status::missing);
  EXPECT_EQ(st.area_count, 0);
  EXPECT_EQ(st.areas.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(sim) / "scenery.cfg"));

  // Another simulator choice keeps the areas it has and reads no library.
  st.sim_version = 0;
  st.areas.assign(2, Scenery_Area{});
  st.areas[0].title = "Kept";
  st.areas[0].local = sim;
  st.area_count = 1;
  EXPECT_FALSE(Prepare_Build(st, b).scenery_cfg.has_value());
  EXPECT_EQ(st.area_count, 1);
  EXPECT_EQ(Scan_Status_Text(st, b), "Kept");
}

TEST_F(DatabaseBuild, FilesThatFailAreCountedAndNamed) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  std::vector<uint8_t> cut = Airport_File("CUTS", "Cut");
  // The airport section offset points past the end of the file: the walk stops at once.
  sw::Patch_Long(cut, sw::HEADER_AIRPORTS, static_cast<int64_t>(cut.size()) + 100);
  sw::Sim_Folder lib(sim);
  lib.Area({.title = "Bad",
            .local = "Scenery\\Bad",
            .files = {{"a_cut.bgl", cut},
                      {"b_gone.bgl", Airport_File("GONE", "Gone")},
                      {"c_short.bgl", {0x21, 0x43}},
                      {"d_good.bgl", Airport_File("GOOD", "Good")}}});
  const sw::Sim_Paths paths = lib.Write();
  st.sim_version = 1;
  st.fs_path = sim;
  // One file vanishes before its turn: nothing may have read it ahead.
  b.use_walk_ahead = false;
  Prepare_Build(st, b);
  EXPECT_EQ(b.bgl_total, 4);

  Scan_Step step = Scan_Bgls_Tick(st, b, Read_Airspace_Section);
  EXPECT_EQ(step.kind, Scan_Step_Kind::file_read);
  EXPECT_EQ(step.stop, Walk_Stop::out_of_image);
  // The file vanishes between the listing and its turn.
  std::filesystem::remove(paths.area_folders[0] / "b_gone.bgl");
  step = Scan_Bgls_Tick(st, b, Read_Airspace_Section);
  EXPECT_EQ(step.kind, Scan_Step_Kind::file_unopened);
  EXPECT_TRUE(step.progress);
  step = Scan_Bgls_Tick(st, b, Read_Airspace_Section);  // too short to hold a signature
  EXPECT_EQ(step.kind, Scan_Step_Kind::file_skipped);
  step = Scan_Bgls_Tick(st, b, Read_Airspace_Section);
  EXPECT_EQ(step.kind, Scan_Step_Kind::file_read);
  EXPECT_EQ(step.stop, Walk_Stop::none);
  Run_Scan(st, b);

  EXPECT_EQ(b.files_done, 4);
  EXPECT_EQ(b.tally.files_read, 2);
  EXPECT_EQ(b.tally.files_cut_short, 1);
  EXPECT_EQ(b.tally.files_unopened, 1);
  EXPECT_EQ(b.tally.files_skipped, 1);
  ASSERT_EQ(b.problems.size(), 2u);
  EXPECT_EQ(b.problems[0].file, (paths.area_folders[0] / "a_cut.bgl").string());
  EXPECT_NE(b.problems[0].reason.find(Walk_Stop_Name(Walk_Stop::out_of_image)), std::string::npos);
  EXPECT_EQ(b.problems[1].file, (paths.area_folders[0] / "b_gone.bgl").string());
  EXPECT_EQ(Add_Airport_Items(st), std::vector<std::string>{"GOOD (GOOD)"});
}

TEST_F(DatabaseBuild, TheMagneticGridIsLoadedFromTheSimulatorFolderInAnyCase) {
  // Just over 10 degrees east everywhere (whole degrees are truncated): a runway with true
  // heading 180 lands on magnetic 170.
  const int16_t east10 = sw::Mag_Var_Units(10.01);
  sw::Sim_Folder lib(sim);
  lib.Magdec(sw::Magdec_File([&](int, int) { return east10; }), "SCENERY/MagDec.BGL");
  lib.Area(
      {.title = "Rwy",
       .local = "Scenery\\Rwy",
       .files = {{"r.bgl", sw::Bgl_File()
                               .Add(sw::Airport("RWY1").Reference(45.0, 5.0).Name("Runway").Runway(
                                   {.lat = 45.0,
                                    .lon = 5.0,
                                    .true_heading = 180,
                                    .length_ft = 5000,
                                    .width_ft = 100,
                                    .number = 18}))
                               .Build()
                               .bytes}}});
  lib.Write();
  st.sim_version = 1;
  st.fs_path = sim;
  ASSERT_EQ(Load_Mag_Grid(st), File_Status::ok);
  EXPECT_EQ(st.mag_var_table[(45 + 90) + 5 * 181], east10);

  Prepare_Build(st, b);
  Run_Scan(st, b);
  ASSERT_EQ(st.airport_count, 1);
  ASSERT_EQ(st.airports[0].runway_count, 1);
  EXPECT_EQ(st.airports[0].runways[0].end1_mag_hdg, 170);

  Program_State no_grid;
  no_grid.fs_path = (dir / "nothing").string();
  EXPECT_EQ(Load_Mag_Grid(no_grid), File_Status::missing);
  EXPECT_EQ(no_grid.mag_var_table[0], 0);
}

// A simulator inside a Wine prefix whose add-on areas name their folders by drive letter: the
// airports of every area that resolves, in library order; the report names the others.
TEST_F(DatabaseBuild, AreasByDriveLetterInAWinePrefixAndTheAreasSkipped) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine prefixes are a Linux matter";
#endif
  const std::filesystem::path prefix = dir / "wine";
  const std::filesystem::path fs = prefix / "drive_c" / "FS2002";
  std::filesystem::create_directories(prefix / "dosdevices");
  std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
  sw::Sim_Folder world(fs);
  world.Area(
      {.title = "Base", .local = "Scenery\\Base", .files = {{"a.bgl", Airport_File("AAAA", "A")}}});
  world.Area({.title = "Gone", .local = "E:\\Gone", .make_folder = false});
  world.Area({.title = "Harvey",
              .local = "C:\\Addons\\Harvey",
              .folder = prefix / "drive_c" / "Addons" / "Harvey" / "scenery",
              .files = {{"s43.bgl", Airport_File("S43", "Harvey")}}});
  for (int i = 0; i < 20; ++i) {
    world.Area({.title = "Lost", .local = "Scenery\\Lost", .make_folder = false});
  }
  world.Write();
  ASSERT_TRUE(Write_Wizard_Settings(st, fs.string()).ok);
  Prepare_Build(st, b);
  Run_Scan(st, b);
  EXPECT_EQ(Add_Airport_Items(st), (std::vector<std::string>{"AAAA (A)", "S43 (HARVEY)"}));
  ASSERT_EQ(b.skipped_areas.size(), 21u);
  const std::vector<std::string> lines = Skipped_Area_Lines(b.skipped_areas);
  ASSERT_EQ(lines.size(), MAX_SKIPPED_AREAS_LISTED + 1);
  EXPECT_EQ(lines.front(), "Gone: E:\\Gone");
  EXPECT_EQ(lines[1], "Lost: Scenery\\Lost");
  EXPECT_EQ(lines.back(), "... and 1 more.");
}

// The area count is a 16-bit number: a library of more areas keeps the first 32,767 and the
// build report says how many were left out.
TEST(PrepareBuild, RefusesAreasBeyondWhatTheCountHolds) {
  Temp_Dir dir;
  std::string cfg = "[General]\r\nTitle=Library\r\n";
  for (int i = 1; i <= MAX_AREAS + 3; ++i) {
    cfg += "[Area." + std::to_string(i) + "]\r\nTitle=A" + std::to_string(i) + "\r\n";
  }
  testing::Write_Text(dir / "scenery.cfg", cfg);
  Program_State st;
  st.sim_version = 1;
  st.fs_path = dir.path().string();
  Database_Build b;
  EXPECT_EQ(Prepare_Build(st, b).scenery_cfg, File_Status::ok);
  EXPECT_EQ(st.area_count, MAX_AREAS);
  ASSERT_EQ(st.areas.size(), static_cast<size_t>(MAX_AREAS) + 1);
  EXPECT_EQ(st.areas[MAX_AREAS - 1].title, "A" + std::to_string(MAX_AREAS));
  ASSERT_EQ(b.problems.size(), 1u);
  EXPECT_EQ(b.problems[0].file, "scenery.cfg");
  EXPECT_EQ(b.problems[0].reason, "3 scenery areas beyond the first 32767 were not scanned");
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// The files of a scan walked ahead on the worker threads give the same database, byte for byte,
// the same ticks, status texts, tallies and problems as the plain walk, on a world with areas of
// many files, airports with taxiways, airspace files, files without airports, one without the
// signature and a cut-off one, a folder named by two areas in a row, an area without a folder,
// and a folder scanned again after another whose only airspace file is its last file recorded.
TEST(Database_Build, Walk_Ahead_Builds_The_Same_Files_As_The_Plain_Walk) {
  testing::Temp_Dir dir;
  fs_world::World_Shape shape{.name = "world",
                              .areas = 4,
                              .airport_files = 30,
                              .airports_per_file = 6,
                              .large_every = 5,
                              .airspace_files = 8,
                              .filler_files = 20,
                              .filler_bytes = 4000};
  const fs_world::World_Summary world = fs_world::Make_World(dir.path(), shape);
  const auto folder = [&](const std::string& name) {
    return (world.root / "Scenery" / name / "scenery").string();
  };
  testing::Write_Bytes(Fs_Path(folder("Area001")) / "aa_unsigned.bgl", Unsigned_File());
  std::vector<uint8_t> cut = Airport_File("KCUT", "CUT OFF");
  cut.resize(cut.size() - 20);
  testing::Write_Bytes(Fs_Path(folder("Area001")) / "ab_cut.bgl", cut);
  std::filesystem::create_directories(dir / "Extra1");
  std::filesystem::create_directories(dir / "Extra2");
  testing::Write_Bytes(dir / "Extra1" / "x.bgl", Airport_And_Airspace_File("XONE", "X"));
  testing::Write_Bytes(dir / "Extra2" / "y.bgl", Airport_File("YTWO", "Y"));
  const std::vector<std::string> locals = {
      folder("Area000"),         folder("Area000"),         "",
      folder("Area001"),         (dir / "Extra1").string(), (dir / "Extra2").string(),
      (dir / "Extra1").string(), folder("Area002"),         folder("Area003")};

  const auto build = [&](bool walk_ahead) {
    Program_State st;
    st.fs_path = world.root.string();
    st.areas.assign(locals.size() + 1, Scenery_Area{});
    for (size_t i = 0; i < locals.size(); ++i) {
      st.areas[i].title = "Area " + std::to_string(i);
      st.areas[i].local = locals[i];
    }
    st.area_count = static_cast<int16_t>(locals.size());
    Database_Build b;
    b.use_walk_ahead = walk_ahead;
    Load_Mag_Grid(st);
    Prepare_Build(st, b);
    const std::vector<Tick> ticks = Run_Scan(st, b);
    EXPECT_EQ(b.use_walk_ahead, walk_ahead);
    std::vector<uint8_t> bytes = Encode_Airports(st.airports, st.airport_count);
    const std::vector<uint8_t> list =
        Encode_Airspace_List(st.airspace_files, st.airspace_file_count);
    bytes.insert(bytes.end(), list.begin(), list.end());
    std::vector<std::string> problems;
    for (const Scan_Problem& p : b.problems) problems.push_back(p.file + ": " + p.reason);
    const Scan_Tally& t = b.tally;
    return std::tuple(bytes, ticks, problems, st.airport_count, st.airspace_file_count,
                      t.files_read, t.files_skipped, t.files_cut_short, b.files_done);
  };
  const auto plain = build(false);
  const auto ahead = build(true);
  // The cut-off file keeps the airport read; Extra1 is scanned twice, its airspace file listed
  // once after the world's seven (its quota rounds the eighth away).
  EXPECT_EQ(std::get<3>(plain), 30 * 6 + 1 + 3);
  EXPECT_EQ(std::get<4>(plain), 7 + 1);
  EXPECT_EQ(std::get<6>(plain), 1);
  EXPECT_EQ(std::get<7>(plain), 1);
  EXPECT_EQ(std::get<2>(plain).size(), 1u);
  EXPECT_TRUE(plain == ahead);
}

}  // namespace
}  // namespace orv
