#include "scenery/scenery_cfg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/program_state.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

namespace stdfs = std::filesystem;
using testing::Temp_Dir;
using testing::Write_Text;

std::vector<std::string> Titles(const Program_State& st) {
  std::vector<std::string> titles;
  for (int i = 0; i < st.area_count; ++i) titles.push_back(st.areas[static_cast<size_t>(i)].title);
  return titles;
}

// Makes a folder (and its parents) exactly as spelled.
void Make_Folder(const stdfs::path& folder) {
  stdfs::create_directories(folder);
}

TEST(KeyValue, MatchesKeyIgnoringCaseAndKeepsValueAsWritten) {
  const std::string section = "[Area.001]\r\nTITLE=Default Terrain\r\nlocal=Scenery\\World";
  EXPECT_EQ(Key_Value(section, "Title"), "Default Terrain");
  EXPECT_EQ(Key_Value(section, "Local"), "Scenery\\World");  // last line, no line end
  EXPECT_EQ(Key_Value(section, "Layer"), "");
  EXPECT_EQ(Key_Value("Title=", "Title"), "");
  EXPECT_EQ(Key_Value("Title=a=b\r\n", "Title"), "a=b");
  // Accented letters of the value keep their case; the key comparison lower-cases them too.
  EXPECT_EQ(Key_Value("T\xC9"
                      "XTURE=\xC9"
                      "cole",
                      "t\xE9"
                      "xture"),
            "\xC9"
            "cole");
}

TEST(KeyValue, KeepsTheQuirksOfAPlainSubstringMatch) {
  // Blanks after "=" stay in the value.
  EXPECT_EQ(Key_Value("Title=  Two Blanks \r\nLayer=1", "Title"), "  Two Blanks ");
  // A blank before "=" hides the key.
  EXPECT_EQ(Key_Value("Local = Scenery\\World", "Local"), "");
  // A longer key ending in the same letters matches, and the first occurrence wins.
  EXPECT_EQ(Key_Value("SubTitle=Sub\r\nTitle=Main", "Title"), "Sub");
  EXPECT_EQ(Key_Value("Title=Main\r\nSubTitle=Sub", "Title"), "Main");
}

TEST(ReadSceneryCfgText, CutsEachAreaAtTheNextHeaderOfAnyKind) {
  Program_State st;
  Read_Scenery_Cfg_Text(st,
                        "[General]\r\nTitle=FS2002 World Scenery\r\nLocal=General\\Folder\r\n"
                        "Texture_ID=99\r\n\r\n"
                        "[Area.001]\r\nTitle=Default Terrain\r\nActive=TRUE\r\nLayer=1\r\n"
                        "[Options]\r\nLocal=Not\\Mine\r\nRemote=options\r\n"
                        "[Area.002]\r\nTitle=Addon\r\nTexture_ID=2\r\nActive=FALSE\r\nLayer=2\r\n"
                        "Required=FALSE\r\nRemote=\\\\server\\share\r\nLocal=Addon Scenery\r\n");
  ASSERT_EQ(st.area_count, 2);
  ASSERT_EQ(st.areas.size(), 3u);
  EXPECT_EQ(st.areas[2], Scenery_Area{});  // the spare entry stays empty

  const Scenery_Area& first = st.areas[0];
  EXPECT_EQ(first.title, "Default Terrain");
  EXPECT_EQ(first.active, "TRUE");
  EXPECT_EQ(first.layer, "1");
  // Keys of [General] before and of [Options] after the area never leak into it.
  EXPECT_EQ(first.texture_id, "");
  EXPECT_EQ(first.local, "");
  EXPECT_EQ(first.remote, "");

  const Scenery_Area expected{"Addon",        "2", "FALSE", "2", "FALSE", "\\\\server\\share",
                              "Addon Scenery"};
  EXPECT_EQ(st.areas[1], expected);
}

TEST(ReadSceneryCfgText, RecognisesHeadersTheWayTheSimulatorListWritesThem) {
  Program_State st;
  Read_Scenery_Cfg_Text(st,
                        "[AREA.001] ; upper case, with a comment after the bracket\r\n"
                        "Title=One\r\n"
                        " [Area.009]\r\n"  // not in the first column: an ordinary line
                        "[Area.010\r\n"    // no closing bracket: an ordinary line
                        "[area.002]\r\nTitle=Two\r\n"
                        "[Areas]\r\nTitle=Not an area\r\n"
                        "[Old Area.003]\r\nTitle=Three\r\n");
  EXPECT_EQ(Titles(st), (std::vector<std::string>{"One", "Two"}));

  Program_State st2;
  Read_Scenery_Cfg_Text(st2, "[General]\r\nTitle=x\r\n");
  EXPECT_EQ(st2.area_count, 0);
  EXPECT_EQ(st2.areas.size(), 1u);
}

TEST(ReadSceneryCfgText, ReadsEveryKindOfLineEndAndSkipsLeadingEmptyLines) {
  const std::string lines[] = {"[Area.001]", "Title=First",  "Local=Scenery\\World", "",
                               "[Area.002]", "Title=Second", "Local=Addon"};
  for (const std::string end : {"\r\n", "\n", "\r"}) {
    std::string text = end + end;  // leading empty lines
    for (const std::string& line : lines) text += line + end;
    Program_State st;
    Read_Scenery_Cfg_Text(st, text);
    SCOPED_TRACE(end == "\r\n" ? "CR LF" : end == "\n" ? "LF" : "CR");
    ASSERT_EQ(st.area_count, 2);
    EXPECT_EQ(st.areas[0].title, "First");
    EXPECT_EQ(st.areas[0].local, "Scenery\\World");  // no stray CR or LF in a value
    EXPECT_EQ(st.areas[1].title, "Second");
    EXPECT_EQ(st.areas[1].local, "Addon");
  }
  Program_State mixed;
  Read_Scenery_Cfg_Text(mixed, "[Area.001]\nTitle=A\r\nLocal=B\r[Area.002]\r\nTitle=C");
  EXPECT_EQ(Titles(mixed), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(mixed.areas[0].local, "B");
}

TEST(ReadSceneryCfgText, SkipsAnAreaWhoseFollowingHeaderFirstStandsEarlier) {
  Program_State st;
  Read_Scenery_Cfg_Text(st,
                        "[Area.001]\r\nTitle=A\r\nLocal=a\r\n"
                        "[Area.002]\r\nTitle=B\r\nLocal=b\r\n"
                        "[Area.001]\r\nTitle=C\r\nLocal=c\r\n");
  // [Area.002] would end before it starts: it is skipped. The repeated [Area.001] is found at
  // its first occurrence and its section runs to the end of the file.
  ASSERT_EQ(st.area_count, 2);
  EXPECT_EQ(st.areas.size(), 3u);
  EXPECT_EQ(st.areas[0].title, "A");
  EXPECT_EQ(st.areas[0].local, "a");
  EXPECT_EQ(st.areas[1].title, "A");
  for (const Scenery_Area& area : st.areas) EXPECT_NE(area.title, "B");
}

TEST(ReadSceneryCfg, ReadsAFileAndReportsAMissingOneWithoutCreatingIt) {
  Temp_Dir dir;
  Write_Text(dir / "scenery.cfg", "[General]\r\nTitle=x\r\n[Area.001]\r\nTitle=World\r\n");
  Program_State st;
  EXPECT_EQ(Read_Scenery_Cfg(st, dir / "scenery.cfg"), File_Status::ok);
  EXPECT_EQ(Titles(st), (std::vector<std::string>{"World"}));

  // Reading appends to the areas already there.
  EXPECT_EQ(Read_Scenery_Cfg(st, dir / "scenery.cfg"), File_Status::ok);
  EXPECT_EQ(st.area_count, 2);
  EXPECT_EQ(st.areas.size(), 3u);

  Program_State none;
  EXPECT_EQ(Read_Scenery_Cfg(none, dir / "missing" / "scenery.cfg"), File_Status::missing);
  EXPECT_EQ(Read_Scenery_Cfg(none, dir / "other.cfg"), File_Status::missing);
  EXPECT_FALSE(stdfs::exists(dir / "other.cfg"));
  EXPECT_FALSE(stdfs::exists(dir / "missing"));

  Make_Folder(dir / "folder.cfg");
  EXPECT_EQ(Read_Scenery_Cfg(none, dir / "folder.cfg"), File_Status::unreadable);
  EXPECT_EQ(none.area_count, 0);
  EXPECT_EQ(none.areas.size(), 1u);
}

class ResolveAreaPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    fs = dir / "FS2002";
    Make_Folder(fs / "Scenery" / "World" / "SCENERY");
    Make_Folder(fs / "Addon Scenery" / "Scenery");
    Make_Folder(dir / "work");
    st.fs_path = (dir / "fs2002").string();  // typed in another case than on disk
    st.work_dir = dir / "work";
  }

  // Adds one area with the given folder entry.
  void Add(const std::string& local, const std::string& active = "TRUE") {
    Scenery_Area& area = Append_With_Spare(st.areas, st.area_count);
    area.title = local;
    area.active = active;
    area.local = local;
  }

  std::string Local(int i) const { return st.areas[static_cast<size_t>(i)].local; }

  Temp_Dir dir;
  stdfs::path fs;
  Program_State st;
};

TEST_F(ResolveAreaPaths, FindsTheSceneryFolderUnderTheSimulatorFolderWithItsDiskSpelling) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  Add("Scenery\\World");
  Add("scenery/world/scenery");  // already ends in the scenery folder
  Add("  Addon Scenery  ");      // blanks around the entry are dropped
  Add("Scenery\\World", "FALSE");
  Add("Scenery");  // stays "Scenery": the main scenery folder itself
  Add("Scenery\\Missing");
  Add("");
  Add("\tScenery\\World");  // only spaces are trimmed
  Resolve_Area_Paths(st);

  const std::string world = (fs / "Scenery" / "World" / "SCENERY").string();
  EXPECT_EQ(Local(0), world);
  EXPECT_EQ(Local(1), world);
  EXPECT_EQ(Local(2), (fs / "Addon Scenery" / "Scenery").string());
  EXPECT_EQ(Local(3), world);  // inactive areas keep their folder
  EXPECT_EQ(Local(4), (fs / "Scenery").string());
  EXPECT_EQ(Local(5), "");
  EXPECT_EQ(Local(6), "");  // no entry: not the main folder
  EXPECT_EQ(Local(7), "");
  EXPECT_EQ(st.area_count, 8);
}

TEST_F(ResolveAreaPaths, AppendsTheSceneryFolderOnlyWhenTheEntryDoesNotEndThere) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  Make_Folder(fs / "Addon" / "MyScenery" / "scenery");
  Make_Folder(fs / "Flat" / "MyScenery");
  Add("Addon\\MyScenery");  // "myscenery" is not the scenery folder
  Add("Flat\\MyScenery");
  Add("Addon\\MyScenery\\SCENERY\\");  // the trailing separator hides the suffix
  Resolve_Area_Paths(st);
  EXPECT_EQ(Local(0), (fs / "Addon" / "MyScenery" / "scenery").string());
  EXPECT_EQ(Local(1), "");
  EXPECT_EQ(Local(2), "");
}

TEST_F(ResolveAreaPaths, TriesTheWorkingFolderFirstAndAbsoluteEntriesAsWritten) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  Make_Folder(dir / "work" / "Addon Scenery" / "scenery");
  Make_Folder(dir / "Elsewhere" / "Scenery");
  Add("Addon Scenery");
  Add((dir / "ELSEWHERE").string());
  std::string backslashed = (dir / "Elsewhere").string();
  for (char& c : backslashed) {
    if (c == '/') c = '\\';
  }
  Add(backslashed);
  Resolve_Area_Paths(st);
  EXPECT_EQ(Local(0), (dir / "work" / "Addon Scenery" / "scenery").string());
  EXPECT_EQ(Local(1), (dir / "Elsewhere" / "Scenery").string());
  EXPECT_EQ(Local(2), (dir / "Elsewhere" / "Scenery").string());
}

TEST_F(ResolveAreaPaths, ReplacesADriveDescriptionByItsLetter) {
#ifdef _WIN32
  GTEST_SKIP() << "Linux paths (disk spelling, '/' separators); Windows has its own tests";
#endif
  EXPECT_EQ(Drive_List(), std::vector<std::string>{"/"});
  // A drive named in the path by its label becomes its letter and colon, lower-cased.
  Make_Folder(fs / "q:" / "addon" / "scenery");
  Add("[GAMES]\\Addon");
  Add("Scenery\\World");
  const std::vector<std::string> drives = {"/", "c:", "q: [Games]"};
  Resolve_Area_Paths(st, drives);
  EXPECT_EQ(Local(0), (fs / "q:" / "addon" / "scenery").string());
  EXPECT_EQ(Local(1), (fs / "Scenery" / "World" / "SCENERY").string());
}

TEST(ResolveAreaPathsInWinePrefix, DriveLettersGoThroughThePrefixLinks) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine prefixes are a Linux matter; Windows resolves drive letters itself";
#endif
  // A prefix whose C: links to its drive_c and whose D: links to a folder outside it.
  Temp_Dir dir;
  const stdfs::path prefix = dir / "home" / ".wine";
  const stdfs::path fs = prefix / "drive_c" / "Program Files" / "FS2002";
  Make_Folder(fs / "Scenery" / "World" / "scenery");
  Make_Folder(prefix / "drive_c" / "Addons" / "Harvey" / "Scenery");
  Make_Folder(dir / "disk2" / "FS Addons" / "KSEA" / "scenery");
  Make_Folder(prefix / "dosdevices");
  stdfs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
  stdfs::create_directory_symlink(dir / "disk2", prefix / "dosdevices" / "d:");
  Program_State st;
  st.fs_path = fs.string();
  for (const char* local : {"C:\\Addons\\Harvey", "D:\\FS Addons\\KSEA", "E:\\Addons",
                            "Scenery\\World", "c:/ADDONS/harvey/scenery"}) {
    Append_With_Spare(st.areas, st.area_count).local = local;
  }
  Resolve_Area_Paths(st);
  const std::string c = (prefix / "dosdevices" / "c:").string();
  const std::string d = (prefix / "dosdevices" / "d:").string();
  EXPECT_EQ(st.areas[0].local, c + "/Addons/Harvey/Scenery");
  EXPECT_EQ(st.areas[1].local, d + "/FS Addons/KSEA/scenery");
  EXPECT_EQ(st.areas[2].local, "");  // the prefix has no E:
  EXPECT_EQ(st.areas[3].local, (fs / "Scenery" / "World" / "scenery").string());
  EXPECT_EQ(st.areas[4].local, c + "/Addons/Harvey/Scenery");

  // Outside any prefix a drive letter is a name like any other, as before.
  Program_State outside;
  outside.fs_path = (dir / "disk2").string();
  Append_With_Spare(outside.areas, outside.area_count).local = "C:\\Addons\\Harvey";
  Resolve_Area_Paths(outside);
  EXPECT_EQ(outside.areas[0].local, "");
}

}  // namespace
}  // namespace orv
