#include "data/data_file_check.h"

#include <gtest/gtest.h>

#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

using testing::Temp_Dir;
using testing::Write_Bytes;
using testing::Write_Text;

struct Start_Case {
  std::vector<std::string> present;
  Start_Decision decision;
  std::vector<std::string> remaining;
};

void Write_Good_Settings(const Temp_Dir& dir, const std::string& name) {
  Config_Rec rec{BANNER, 1, 1, "/fs", 3, 2};
  Write_Bytes(dir / name, Encode_Config(rec));
}

TEST(CheckDataFiles, UsesOnlyACompleteSetAndDeletesAPartialOne) {
  const std::vector<Start_Case> cases = {
      {{"orv_config.cfg", "all_fs_airports.dat", "world_airspaces.lst"},
       Start_Decision::normal_run,
       {"orv_config.cfg", "all_fs_airports.dat", "world_airspaces.lst"}},
      {{"all_fs_airports.dat", "world_airspaces.lst"}, Start_Decision::first_run, {}},
      {{"orv_config.cfg", "all_fs_airports.dat"}, Start_Decision::first_run, {}},
      {{}, Start_Decision::first_run, {}},
      // Names match ignoring letter case, as on the simulator's own file system.
      {{"ORV_CONFIG.CFG", "All_FS_Airports.dat", "world_airspaces.LST"},
       Start_Decision::normal_run,
       {"ORV_CONFIG.CFG", "All_FS_Airports.dat", "world_airspaces.LST"}},
  };
  for (const Start_Case& c : cases) {
    Temp_Dir dir;
    for (const std::string& name : c.present) {
      if (Lower_Ascii(name) == SETTINGS_FILE) {
        Write_Good_Settings(dir, name);
      } else {
        Write_Text(dir / name, "x");
      }
    }
    std::filesystem::create_directory(dir / "unrelated");
    Program_State st;
    st.work_dir = dir.path();
    EXPECT_EQ(Check_Data_Files(st), c.decision);
    EXPECT_EQ(st.first_run, c.decision != Start_Decision::normal_run);
    std::vector<std::string> remaining;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
      if (e.is_regular_file()) remaining.push_back(e.path().filename().string());
    }
    std::sort(remaining.begin(), remaining.end());
    std::vector<std::string> expected = c.remaining;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(remaining, expected);
    if (c.decision == Start_Decision::normal_run) {
      EXPECT_EQ(st.fs_path, "/fs");
      EXPECT_EQ(st.airport_count, 3);
      EXPECT_EQ(st.airspace_file_count, 2);
    }
  }
}

TEST(CheckDataFiles, ADamagedSettingsFileRemovesTheSetAndStartsOver) {
  Temp_Dir dir;
  Write_Bytes(dir / "orv_config.cfg", std::vector<uint8_t>{0x0B, 0x00, 'O', 'r'});
  Write_Text(dir / "all_fs_airports.dat", "x");
  Write_Text(dir / "world_airspaces.lst", "x");
  Program_State st;
  st.work_dir = dir.path();
  EXPECT_EQ(Check_Data_Files(st), Start_Decision::damaged_settings);
  EXPECT_TRUE(st.first_run);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  EXPECT_EQ(st.fs_path, "");
}

// A set spelled in other letters is found by the check, then loaded, rewritten and deleted
// under its own names: no second file appears beside it.
TEST(CheckDataFiles, EveryUseOfTheDataFilesFindsThemUnderAnyLetterCase) {
  Temp_Dir dir;
  Program_State st;
  st.work_dir = dir.path();
  st.cfg = {BANNER, 1, 1, "/fs", 1, 0};
  st.airports = std::vector<Airport_Entry>(2);
  st.airports[0].ident = "KSEA";
  st.airport_count = 1;
  ASSERT_TRUE(Save_Settings(st).ok);
  ASSERT_TRUE(Write_Airport_File(st).ok);
  ASSERT_TRUE(Write_Airspace_List(st).ok);
  const std::vector<std::string> names = {"ALL_FS_AIRPORTS.DAT", "ORV_CONFIG.CFG",
                                          "World_Airspaces.Lst"};
  for (const std::string& name : names) {
    std::filesystem::rename(dir / Lower_Ascii(name), dir / name);
  }
  const auto listing = [&dir] {
    std::vector<std::string> found;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
      found.push_back(e.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  };

  Program_State again;
  again.work_dir = dir.path();
  ASSERT_EQ(Check_Data_Files(again), Start_Decision::normal_run);
  ASSERT_EQ(Load_Database(again).status, Database_Status::ok);
  EXPECT_EQ(again.airports[0].ident, "KSEA");
  EXPECT_TRUE(Save_Settings(again).ok);
  EXPECT_TRUE(Write_Airport_File(again).ok);
#ifndef _WIN32  // Windows keeps one file per name whatever its case, and may not rename by case
  EXPECT_EQ(listing(), names);
#endif
  Remove_Data_Files(again);
  EXPECT_TRUE(listing().empty());
}

}  // namespace
}  // namespace orv
