#include "core/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace orv {
namespace {

namespace stdfs = std::filesystem;
using testing::Read_Bytes;
using testing::Temp_Dir;
using testing::Write_Text;

std::vector<uint8_t> Bytes_Of(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<std::string> Names_In(const stdfs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : stdfs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(JoinPath, JoinsWithTheNativeSeparator) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  EXPECT_EQ(Join_Path("/fs", "scenery"), "/fs/scenery");
}

TEST(ResolvePathCi, MatchesEveryComponentIgnoringCaseAndKeepsTheDiskSpelling) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  Temp_Dir dir;
  stdfs::create_directories(dir / "FS2002" / "Scenery" / "World");
  Write_Text(dir / "FS2002" / "Scenery" / "Magdec.BGL", "x");
  const std::string base = dir.path().string();

  EXPECT_EQ(Resolve_Path_Ci(base + "/fs2002/SCENERY/world"), base + "/FS2002/Scenery/World");
  EXPECT_EQ(Resolve_Path_Ci(base + "\\fs2002\\scenery\\magdec.bgl"),
            base + "/FS2002/Scenery/Magdec.BGL");
  EXPECT_EQ(Resolve_Path_Ci(base + "//FS2002/scenery/"), base + "/FS2002/Scenery");
  EXPECT_EQ(Resolve_Path_Ci(base + "/fs2002/scenery/magdec.bgl/world"), std::nullopt);
  EXPECT_EQ(Resolve_Path_Ci(base + "/fs2002/scenery/texture"), std::nullopt);
  EXPECT_EQ(Resolve_Path_Ci(base + "/fs2002/scenery/worl"), std::nullopt);
  EXPECT_EQ(Resolve_Path_Ci(""), std::nullopt);
  EXPECT_EQ(Resolve_Path_Ci("/"), "/");
}

TEST(ResolvePathCi, PrefersTheExactNameThenTheFirstInByteOrder) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  Temp_Dir dir;
  for (const char* name : {"scenery", "sCENERY", "Scenery"}) {
    stdfs::create_directories(dir / name / "inner");
  }
  stdfs::create_directories(dir / "scenery" / "only_lower");
  const std::string base = dir.path().string();
  EXPECT_EQ(Resolve_Path_Ci(base + "/scenery"), base + "/scenery");
  EXPECT_EQ(Resolve_Path_Ci(base + "/sCENERY"), base + "/sCENERY");
  EXPECT_EQ(Resolve_Path_Ci(base + "/SCENERY"), base + "/Scenery");
  EXPECT_EQ(Resolve_Path_Ci(base + "/SCENERY/INNER"), base + "/Scenery/inner");
  // The first match decides; a later component is not searched for in the other spellings.
  EXPECT_EQ(Resolve_Path_Ci(base + "/SCENERY/only_lower"), std::nullopt);
  EXPECT_EQ(Resolve_Path_Ci(base + "/scenery/only_lower"), base + "/scenery/only_lower");
}

TEST(ListFilesCi, ListsVisibleRegularSceneryFilesInUpperCasedNameOrder) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  Temp_Dir dir;
  for (const char* name : {"b.BGL", "_x.bgl", "a.bgl", "A.bgl", "c.Bgl", ".hidden.bgl", ".bgl",
                           "readme.txt", "x.bglx", "xbgl", "Z.bgl"}) {
    Write_Text(dir / name, "x");
  }
  stdfs::create_directories(dir / "folder.bgl");
  stdfs::create_symlink(dir / "nowhere.bgl", dir / "broken.bgl");
  // Upper-cased, "_" (0x5F) sorts after the letters although "_x" < "a" byte for byte.
  EXPECT_EQ(List_Files_Ci(dir.path().string(), ".bgl"),
            (std::vector<std::string>{"A.bgl", "a.bgl", "b.BGL", "c.Bgl", "Z.bgl", "_x.bgl"}));
  EXPECT_EQ(List_Files_Ci(dir.path().string(), ".BGL").size(), 6u);
  EXPECT_EQ(List_Files_Ci((dir / "missing").string(), ".bgl"), std::vector<std::string>{});
  EXPECT_EQ(List_Files_Ci((dir / "a.bgl").string(), ".bgl"), std::vector<std::string>{});
}

TEST(FindFileCi, FindsARegularFileIgnoringCase) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  Temp_Dir dir;
  Write_Text(dir / "FS2002.EXE", "x");
  Write_Text(dir / "fs2002.exe", "x");
  Write_Text(dir / "Fs2002.exe", "x");
  const std::string base = dir.path().string();
  EXPECT_EQ(Find_File_Ci(base, "fs2002.exe"), "fs2002.exe");
  EXPECT_EQ(Find_File_Ci(base, "FS2002.exe"), "FS2002.EXE");  // first in byte order
  EXPECT_EQ(Find_File_Ci(base, "fs2002.ex"), std::nullopt);
  EXPECT_EQ(Find_File_Ci((dir / "missing").string(), "fs2002.exe"), std::nullopt);

  // A folder of the exact name neither counts nor hides a file spelled otherwise.
  stdfs::create_directories(dir / "Scenery.cfg");
  EXPECT_EQ(Find_File_Ci(base, "Scenery.cfg"), std::nullopt);
  Write_Text(dir / "SCENERY.CFG", "x");
  EXPECT_EQ(Find_File_Ci(base, "Scenery.cfg"), "SCENERY.CFG");
  EXPECT_EQ(Find_File_Ci(base, "scenery.cfg"), "SCENERY.CFG");
}

TEST(ReadWholeFile, ReadsAllBytesWithinTheLimitAndNothingElse) {
  Temp_Dir dir;
  const std::vector<uint8_t> data = {0, 1, 0xFF, 0x1A, '\r', '\n', 0};
  testing::Write_Bytes(dir / "data.bin", data);
  EXPECT_EQ(Read_Whole_File(dir / "data.bin"), data);
  EXPECT_EQ(Read_Whole_File(dir / "data.bin", 7), data);
  EXPECT_EQ(Read_Whole_File(dir / "data.bin", 6), std::nullopt);
  testing::Write_Bytes(dir / "empty.bin", {});
  EXPECT_EQ(Read_Whole_File(dir / "empty.bin"), std::vector<uint8_t>{});
  EXPECT_EQ(Read_Whole_File(dir / "missing.bin"), std::nullopt);
  EXPECT_FALSE(stdfs::exists(dir / "missing.bin"));
  // A folder is not a file: no read, and no allocation sized from its seek position.
  stdfs::create_directories(dir / "folder.bin");
  EXPECT_EQ(Read_Whole_File(dir / "folder.bin"), std::nullopt);
}

// One buffer read into again and again: each file's bytes at its front with the zero byte after
// them, nothing shrunk; a missing file is unopened, a folder or a pipe is not read, at once.
TEST(ReadFileReusing, ReadsEachFileIntoTheFrontOfOneBuffer) {
  Temp_Dir dir;
  testing::Write_Bytes(dir / "long.bgl", Bytes_Of("0123456789"));
  testing::Write_Bytes(dir / "short.bgl", Bytes_Of("ab"));
  std::vector<uint8_t> buffer;
  size_t length = 99;
  ASSERT_EQ(Read_File_Reusing(dir / "long.bgl", buffer, length, 1), Read_Status::ok);
  EXPECT_EQ(length, 10u);
  EXPECT_EQ(buffer, Bytes_Of(std::string("0123456789") + '\0'));
  ASSERT_EQ(Read_File_Reusing(dir / "short.bgl", buffer, length, 1), Read_Status::ok);
  EXPECT_EQ(length, 2u);
  EXPECT_EQ(buffer, Bytes_Of(std::string("ab") + '\0' + "3456789" + '\0'));
  EXPECT_EQ(Read_File_Reusing(dir / "missing.bgl", buffer, length), Read_Status::unopened);
  EXPECT_EQ(Read_File_Reusing(dir / "long.bgl", buffer, length, 0, 9), Read_Status::unreadable);
  stdfs::create_directories(dir / "folder.bgl");
  EXPECT_NE(Read_File_Reusing(dir / "folder.bgl", buffer, length), Read_Status::ok);
#ifndef _WIN32
  ASSERT_EQ(::mkfifo((dir / "pipe.bgl").c_str(), 0600), 0);
  EXPECT_EQ(Read_File_Reusing(dir / "pipe.bgl", buffer, length), Read_Status::unreadable);
#endif
}

TEST(WriteFileSafely, WritesOrReplacesAWholeFileAndLeavesNoTemporary) {
  Temp_Dir dir;
  const stdfs::path file = dir / "all_fs_airports.dat";
  Write_Result result = Write_File_Safely(file, Bytes_Of("first version"));
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(Read_Bytes(file), Bytes_Of("first version"));

  EXPECT_TRUE(Write_File_Safely(file, Bytes_Of("second")).ok);
  EXPECT_EQ(Read_Bytes(file), Bytes_Of("second"));
  EXPECT_TRUE(Write_File_Safely(file, {}).ok);
  EXPECT_EQ(stdfs::file_size(file), 0u);
  EXPECT_EQ(Names_In(dir.path()), std::vector<std::string>{"all_fs_airports.dat"});
}

TEST(WriteFileSafely, AFailureIsReportedAndLeavesTheOldFileAndNoTemporary) {
  Temp_Dir dir;
  // No folder to write in.
  Write_Result result = Write_File_Safely(dir / "missing" / "orv_config.cfg", Bytes_Of("x"));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error, "");
  EXPECT_TRUE(stdfs::is_empty(dir.path()));

  // The target is a folder: the rename fails after the bytes were written.
  stdfs::create_directories(dir / "world_airspaces.lst");
  result = Write_File_Safely(dir / "world_airspaces.lst", Bytes_Of("x"));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error, "");
  EXPECT_TRUE(stdfs::is_directory(dir / "world_airspaces.lst"));
  EXPECT_EQ(Names_In(dir.path()), std::vector<std::string>{"world_airspaces.lst"});

  // The bytes cannot all be written: a full device stands in for a full disk.
  if (!stdfs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to stand in for a full disk";
  const stdfs::path file = dir / "all_fs_airports.dat";
  testing::Write_Bytes(file, Bytes_Of("old database"));
  stdfs::path temp = file;
  temp += ".tmp";
  stdfs::create_symlink("/dev/full", temp);
  result = Write_File_Safely(file, std::vector<uint8_t>(100000, 0x55));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error, "");
  EXPECT_EQ(Read_Bytes(file), Bytes_Of("old database"));
  EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(temp)));
}

}  // namespace
}  // namespace orv
