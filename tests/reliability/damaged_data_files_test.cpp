// Damaged data files at start-up: a settings file, database or airspace list that is cut short,
// holds counts larger than its content, or is garbage gives a clear status, and the start-up
// removes the three files so that the setup and the build run again. Nothing crashes and no
// count read from a file sizes an allocation before its bytes are known to be there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program_state.h"
#include "data/data_file_check.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "support/scenery_writer.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

namespace sw = scenery_writer;
using testing::Read_Bytes;
using testing::Temp_Dir;
using testing::Write_Bytes;

// A sound set of three files: two airports, one airspace file.
void Write_Sound_Set(const std::filesystem::path& work) {
  Program_State st;
  st.work_dir = work;
  st.cfg.banner = BANNER;
  st.cfg.cfg_valid = 1;
  st.cfg.sim_version = 1;
  st.cfg.fs_path = "/sim";
  for (const char* ident : {"KSEA", "KBFI"}) {
    Airport_Entry& a = Append_With_Spare(st.airports, st.airport_count);
    a.ident = ident;
    a.name = std::string(ident) + " FIELD";
    Append_With_Spare(a.runways, a.runway_count).length_ft = 9000;
  }
  Append_With_Spare(st.airspace_files, st.airspace_file_count) = "/sim/scenery/space.bgl";
  st.cfg.airport_count = st.airport_count;
  st.cfg.airspace_file_count = st.airspace_file_count;
  ASSERT_TRUE(Write_Airport_File(st).ok);
  ASSERT_TRUE(Write_Airspace_List(st).ok);
  ASSERT_TRUE(Save_Settings(st).ok);
}

struct Start_Up {
  Start_Decision decision = Start_Decision::first_run;
  Database_Load load;
  bool files_left = false;  // any of the three data files is still there
};

// What the program does at start: the start-up check, then on a normal run the database load;
// a database that cannot be used is removed with the settings (the selection window's
// recovery), so that the next step is the setup.
Start_Up Start(const std::filesystem::path& work) {
  Program_State st;
  st.work_dir = work;
  Start_Up s;
  s.decision = Check_Data_Files(st);
  if (s.decision == Start_Decision::normal_run) {
    s.load = Load_Database(st);
    if (s.load.status != Database_Status::ok) {
      Remove_Data_Files(st);
      // Nothing of the bad file is kept in memory.
      EXPECT_EQ(st.airport_count, 0);
      EXPECT_EQ(st.airports.size(), 1u);
      EXPECT_EQ(st.airspace_files.size(), 1u);
    }
  }
  for (const char* name : DATA_FILES) s.files_left |= std::filesystem::exists(work / name);
  return s;
}

std::vector<uint8_t> Garbage(size_t n, uint32_t seed) {
  std::vector<uint8_t> out(n);
  for (uint8_t& b : out) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<uint8_t>(seed >> 16);
  }
  return out;
}

TEST(Damaged_Data_Files, Sound_Set_Is_A_Normal_Run) {
  Temp_Dir dir;
  Write_Sound_Set(dir.path());
  const Start_Up s = Start(dir.path());
  EXPECT_EQ(s.decision, Start_Decision::normal_run);
  EXPECT_EQ(s.load.status, Database_Status::ok) << s.load.error;
  EXPECT_TRUE(s.files_left);
}

TEST(Damaged_Data_Files, Settings_Cut_Short_Or_Garbage_Removes_The_Set) {
  Temp_Dir dir;
  Write_Sound_Set(dir.path());
  const std::vector<uint8_t> sound = Read_Bytes(dir / SETTINGS_FILE);
  for (size_t cut = 0; cut < sound.size(); ++cut) {
    Write_Sound_Set(dir.path());
    Write_Bytes(dir / SETTINGS_FILE, std::vector<uint8_t>(sound.begin(), sound.begin() + cut));
    const Start_Up s = Start(dir.path());
    EXPECT_EQ(s.decision, Start_Decision::damaged_settings) << "cut at " << cut;
    EXPECT_FALSE(s.files_left) << "cut at " << cut;
  }
  // Lengths that are negative or run far past the end.
  std::vector<std::vector<uint8_t>> bad = {{0xFF, 0xFF, 'x'}, {0xFF, 0x7F, 'x', 'y'}};
  std::vector<uint8_t> long_path = sound;
  sw::Patch_Word(long_path, static_cast<int64_t>(2 + std::string(BANNER).size() + 2), 32767);
  bad.push_back(long_path);
  for (const std::vector<uint8_t>& bytes : bad) {
    Write_Sound_Set(dir.path());
    Write_Bytes(dir / SETTINGS_FILE, bytes);
    const Start_Up s = Start(dir.path());
    EXPECT_EQ(s.decision, Start_Decision::damaged_settings);
    EXPECT_FALSE(s.files_left);
  }
}

TEST(Damaged_Data_Files, Counts_Larger_Than_The_Files_Are_Refused_Before_Any_Allocation) {
  Temp_Dir dir;
  for (const auto& [airports, spaces] : std::vector<std::pair<int32_t, int32_t>>{
           {0x7FFFFFFF, 1}, {2, 0x7FFFFFFF}, {3, 1}, {2, 2}, {-1, 1}, {2, -5}, {1, 1}, {2, 0}}) {
    Write_Sound_Set(dir.path());
    Program_State st;
    st.work_dir = dir.path();
    ASSERT_EQ(Load_Settings(st, dir / SETTINGS_FILE), Settings_Status::ok);
    st.cfg.airport_count = airports;
    st.cfg.airspace_file_count = spaces;
    ASSERT_TRUE(Save_Settings(st).ok);
    const Start_Up s = Start(dir.path());
    EXPECT_EQ(s.decision, Start_Decision::normal_run);
    EXPECT_EQ(s.load.status, Database_Status::damaged) << airports << " " << spaces;
    EXPECT_FALSE(s.load.error.empty());
    EXPECT_FALSE(s.files_left);
  }
  // The largest count against a small file is refused by its size alone.
  std::vector<Airport_Entry> airports(1);
  const Decode_Result r = Decode_Airports(std::vector<uint8_t>(64), 0x7FFFFFFF, airports);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("too short"), std::string::npos) << r.error;
}

TEST(Damaged_Data_Files, Database_Or_List_Cut_Short_Or_Garbage_Removes_The_Set) {
  Temp_Dir dir;
  Write_Sound_Set(dir.path());
  for (const char* name : {DATABASE_FILE, AIRSPACE_LIST_FILE}) {
    Write_Sound_Set(dir.path());
    const std::vector<uint8_t> sound = Read_Bytes(dir / name);
    std::vector<std::vector<uint8_t>> damaged;
    for (size_t cut = 0; cut < sound.size(); ++cut) {
      damaged.emplace_back(sound.begin(), sound.begin() + static_cast<ptrdiff_t>(cut));
    }
    for (uint32_t seed = 1; seed <= 20; ++seed) damaged.push_back(Garbage(sound.size(), seed));
    std::vector<uint8_t> longer = sound;
    longer.push_back(0);
    damaged.push_back(longer);
    for (size_t i = 0; i < damaged.size(); ++i) {
      Write_Sound_Set(dir.path());
      Write_Bytes(dir / name, damaged[i]);
      const Start_Up s = Start(dir.path());
      EXPECT_EQ(s.decision, Start_Decision::normal_run);
      EXPECT_EQ(s.load.status, Database_Status::damaged) << name << " case " << i;
      EXPECT_NE(s.load.error.find(name), std::string::npos) << s.load.error;
      EXPECT_FALSE(s.files_left) << name << " case " << i;
    }
  }
}

TEST(Damaged_Data_Files, A_Missing_File_Or_One_That_Is_A_Folder_Starts_The_Setup) {
  Temp_Dir dir;
  for (const char* name : DATA_FILES) {
    Write_Sound_Set(dir.path());
    std::filesystem::remove(dir / name);
    Start_Up s = Start(dir.path());
    EXPECT_EQ(s.decision, Start_Decision::first_run) << name;
    EXPECT_FALSE(s.files_left) << name;
    // A folder in place of the file is not the file.
    Write_Sound_Set(dir.path());
    std::filesystem::remove(dir / name);
    std::filesystem::create_directory(dir / name);
    s = Start(dir.path());
    EXPECT_EQ(s.decision, Start_Decision::first_run) << name;
    std::filesystem::remove_all(dir / name);
  }
}

}  // namespace
}  // namespace orv
