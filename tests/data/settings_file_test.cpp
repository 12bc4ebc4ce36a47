#include "data/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/program_state.h"
#include "data/chart_style_file.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

using testing::Read_Bytes;
using testing::Temp_Dir;
using testing::Write_Bytes;

Config_Rec Wizard_Record(std::string fs_path) {
  Config_Rec rec;
  rec.banner = BANNER;
  rec.cfg_valid = 1;
  rec.sim_version = 1;
  rec.fs_path = std::move(fs_path);
  return rec;
}

int32_t Long_At(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                              (uint32_t{b[at + 3]} << 24));
}

TEST(SettingsFile, LaysOutTheRecordFieldByField) {
  Config_Rec rec = Wizard_Record("C:\\Games\\FS2002");
  rec.airport_count = 24013;
  rec.airspace_file_count = -2;
  const std::vector<uint8_t> b = Encode_Config(rec);
  ASSERT_EQ(b.size(), 40u);
  EXPECT_EQ(b[0], 11);
  EXPECT_EQ(b[1], 0);
  EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 13), "Orvane v1.2");
  EXPECT_EQ(b[13], 1);  // cfg_valid
  EXPECT_EQ(b[14], 1);  // sim_version
  EXPECT_EQ(b[15], 15);
  EXPECT_EQ(std::string(b.begin() + 17, b.begin() + 32), "C:\\Games\\FS2002");
  EXPECT_EQ(Long_At(b, 32), 24013);
  EXPECT_EQ(Long_At(b, 36), -2);
  EXPECT_EQ(Decode_Config(b), rec);
}

TEST(SettingsFile, SaveThenLoadFillsTheProgramState) {
  Temp_Dir dir;
  Program_State wizard;
  wizard.work_dir = dir.path();
  wizard.cfg = Wizard_Record("/home/pilot/fs2002");
  ASSERT_TRUE(Save_Settings(wizard).ok);

  wizard.cfg.airport_count = 3;
  wizard.cfg.airspace_file_count = 2;
  ASSERT_TRUE(Save_Settings(wizard).ok);
  EXPECT_EQ(Read_Bytes(dir / SETTINGS_FILE).size(), 14u + 11u + 18u);  // only the counts changed

  Program_State st;
  ASSERT_EQ(Load_Settings(st, dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(st.cfg, wizard.cfg);
  EXPECT_EQ(st.sim_version, 1);
  EXPECT_EQ(st.fs_path, "/home/pilot/fs2002");
  EXPECT_EQ(st.airport_count, 3);
  EXPECT_EQ(st.airspace_file_count, 2);
}

TEST(SettingsFile, RewritingAShorterRecordKeepsTheOldTail) {
  Temp_Dir dir;
  Program_State st;
  st.work_dir = dir.path();
  st.cfg = Wizard_Record("/a/much/longer/simulator/folder");
  ASSERT_TRUE(Save_Settings(st).ok);
  const std::vector<uint8_t> old_bytes = Read_Bytes(dir / SETTINGS_FILE);

  st.cfg = Wizard_Record("/fs");
  st.cfg.airport_count = 7;
  ASSERT_TRUE(Save_Settings(st).ok);
  const std::vector<uint8_t> now = Read_Bytes(dir / SETTINGS_FILE);
  ASSERT_EQ(now.size(), old_bytes.size());
  const std::vector<uint8_t> record = Encode_Config(st.cfg);
  EXPECT_TRUE(std::equal(record.begin(), record.end(), now.begin()));
  EXPECT_TRUE(std::equal(now.begin() + static_cast<long>(record.size()), now.end(),
                         old_bytes.begin() + static_cast<long>(record.size())));

  Program_State back;
  ASSERT_EQ(Load_Settings(back, dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(back.fs_path, "/fs");
  EXPECT_EQ(back.airport_count, 7);
}

TEST(SettingsFile, DamagedFilesAreReportedAndChangeNothing) {
  Temp_Dir dir;
  const std::vector<uint8_t> good = Encode_Config(Wizard_Record("/fs"));
  std::vector<std::vector<uint8_t>> damaged;
  for (size_t n = 0; n < good.size(); ++n)
    damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(n));
  std::vector<uint8_t> long_banner = good;
  long_banner[0] = 0xFF;  // banner length 255 runs past the end
  damaged.push_back(long_banner);
  std::vector<uint8_t> negative = good;
  negative[1] = 0x80;  // banner length -32757
  damaged.push_back(negative);
  std::vector<uint8_t> huge_path = good;
  huge_path[15] = 0xFF;
  huge_path[16] = 0x7F;  // fs_path length 32767 with 12 bytes left
  damaged.push_back(huge_path);

  for (const auto& bytes : damaged) {
    Write_Bytes(dir / SETTINGS_FILE, bytes);
    Program_State st;
    st.fs_path = "unchanged";
    EXPECT_EQ(Load_Settings(st, dir / SETTINGS_FILE), Settings_Status::damaged) << bytes.size();
    EXPECT_EQ(st.fs_path, "unchanged");
    EXPECT_EQ(st.cfg, Config_Rec{});
  }
  Program_State st;
  EXPECT_EQ(Load_Settings(st, dir / "absent.cfg"), Settings_Status::missing);
  EXPECT_FALSE(std::filesystem::exists(dir / "absent.cfg"));
}

TEST(SettingsFile, AFailedSaveIsReportedAndLeavesTheOldFile) {
  Temp_Dir dir;
  Program_State st;
  st.work_dir = dir / "no-such-folder";
  st.cfg = Wizard_Record("/fs");
  const Write_Result r = Save_Settings(st);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
}

// The chart style lives beside the settings file: missing, it is the classic chart; damaged,
// too; written, it reads back.
TEST(ChartStyleFile, MissingOrDamagedGivesTheClassicChartAndASavedStyleReadsBack) {
  Temp_Dir dir;
  const std::filesystem::path path = dir / CHART_STYLE_FILE;
  EXPECT_EQ(Load_Chart_Style(path), Chart_Style{});
  ASSERT_TRUE(Save_Chart_Style(path, {true, false}));
  EXPECT_EQ(Load_Chart_Style(path), (Chart_Style{true, false}));
  for (const std::string& bad : {std::string("style=diagram\nnight=2\n"),
                                std::string("style=diagram\nzoom=3\n"),
                                std::string(CHART_STYLE_MAX_BYTES + 1, '\n')}) {
    std::ofstream(path, std::ios::binary) << bad;
    EXPECT_EQ(Load_Chart_Style(path), Chart_Style{}) << bad.size();
  }
  std::ofstream(path, std::ios::binary) << "night=1\r\n";
  EXPECT_EQ(Load_Chart_Style(path), (Chart_Style{false, true}));
}

}  // namespace
}  // namespace orv
