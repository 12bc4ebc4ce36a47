// The file layer and the scenery folders on Windows: "\" separators, the system's own listing
// and name matching, the drive list, and lower-cased paths in the ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "scenery/scenery_cfg.h"
#include "startup/setup_check.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

using testing::Temp_Dir;

// The temporary folder as ANSI text, the way the program holds paths.
std::string Ansi(const Temp_Dir& dir) {
  return dir.path().string();
}

void Make_File(const std::string& path, const std::string& text = "x") {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
}

void Make_Folder(const std::string& path) {
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
}

TEST(Win32Files, JoinsWithBackslashAndFindsNamesThroughTheSystem) {
  EXPECT_EQ(Join_Path("c:\\fs", "scenery"), "c:\\fs\\scenery");

  Temp_Dir dir;
  const std::string base = Ansi(dir);
  Make_File(base + "\\FS2002.EXE");
  Make_Folder(base + "\\scenery.cfg");
  EXPECT_EQ(Find_File_Ci(base, "fs2002.exe"), "FS2002.EXE");
  // A folder of the name is no file; a pattern is no name.
  EXPECT_EQ(Find_File_Ci(base, "scenery.cfg"), std::nullopt);
  EXPECT_EQ(Find_File_Ci(base, "*.exe"), std::nullopt);
  EXPECT_EQ(Find_File_Ci(base, "fs2004.exe"), std::nullopt);

  EXPECT_EQ(Resolve_Path_Ci(base + "\\fs2002.exe"), base + "\\fs2002.exe");
  EXPECT_EQ(Resolve_Path_Ci(base + "\\SCENERY.CFG"), base + "\\SCENERY.CFG");
  EXPECT_EQ(Resolve_Path_Ci(base + "\\nothing"), std::nullopt);
}

TEST(Win32Files, ListsNormalSceneryFilesOnly) {
  Temp_Dir dir;
  const std::string base = Ansi(dir);
  Make_File(base + "\\b.bgl");
  Make_File(base + "\\A.BGL");
  Make_File(base + "\\c.Bgl");
  Make_File(base + "\\long.bglx");  // its short name ends in .BGL
  Make_File(base + "\\readme.txt");
  Make_File(base + "\\hidden.bgl");
  SetFileAttributesA((base + "\\hidden.bgl").c_str(), FILE_ATTRIBUTE_HIDDEN);
  Make_File(base + "\\system.bgl");
  SetFileAttributesA((base + "\\system.bgl").c_str(), FILE_ATTRIBUTE_SYSTEM);
  Make_Folder(base + "\\folder.bgl");

  std::vector<std::string> names = List_Files_Ci(base, ".bgl");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A.BGL", "b.bgl", "c.Bgl"}));
  EXPECT_TRUE(List_Files_Ci(base, "*").empty());
  EXPECT_TRUE(List_Files_Ci(base + "\\missing", ".bgl").empty());
}

TEST(Win32Files, TheExecutableIsFoundOnlyAsANormalFile) {
  Temp_Dir dir;
  const std::string base = Ansi(dir);
  Make_File(base + "\\fs2002.exe");
  ASSERT_TRUE(Is_Sim_Folder(base));
  for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    ASSERT_TRUE(SetFileAttributesA((base + "\\fs2002.exe").c_str(), attribute));
    if ((GetFileAttributesA((base + "\\fs2002.exe").c_str()) & attribute) == 0) {
      GTEST_SKIP() << "this file system keeps no hidden or system attribute";
    }
    EXPECT_EQ(Find_File_Ci(base, "FS2002.EXE"), std::nullopt) << attribute;
    EXPECT_FALSE(Is_Sim_Folder(base)) << attribute;
    SetFileAttributesA((base + "\\fs2002.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST(Win32Wizard, StartsOnTheWorkingFoldersDrive) {
  const std::vector<std::string> drives = Drive_List();
  const std::string current = Current_Folder();
  ASSERT_GE(current.size(), 2u);
  const Wizard_Start start = Wizard_Start_Place(drives, current);
  ASSERT_LT(start.drive, drives.size());
  EXPECT_EQ(drives[start.drive].substr(0, 2), Lower_Ascii(current.substr(0, 2)));
  EXPECT_EQ(Wizard_Drive_Text(drives[start.drive]),
            Wizard_Path_Text(Utf8_From_Native_Path(current)));
}

TEST(Win32Wizard, StoresAnAccentedFolderInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the system's ANSI code page is not 1252";
  Temp_Dir dir;
  const std::string utf8 = Utf8_From_Native_Path(Ansi(dir)) + "\\Fl\xC3\xBCge";  // "Flüge"
  const std::optional<std::string> stored = Wizard_Stored_Path(utf8);
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(*stored, Ansi(dir) + "\\Fl\xFCge");
  EXPECT_EQ(Utf8_From_Native_Path(*stored), utf8);
  Make_Folder(*stored);
  Make_File(*stored + "\\FS2002.exe");
  EXPECT_TRUE(Is_Sim_Folder(*stored));
  EXPECT_EQ(Read_Whole_File(Fs_Path(*stored + "\\FS2002.exe"))->size(), 1u);
  EXPECT_EQ(Native_Path_From_Wide(L"C:\\\u00C9t\u00E9"), "C:\\\xC9t\xE9");
  EXPECT_EQ(Utf8_From_Wide(L"\u20AC\u0081"), "\xE2\x82\xAC\xC2\x81");
  // A letter the code page lacks is refused rather than stored as a look-alike or "?".
  EXPECT_EQ(Wizard_Stored_Path("C:\\\xE4\xB8\xAD"), std::nullopt);
  EXPECT_EQ(Native_Path_From_Wide(L"C:\\\u0141odz"), std::nullopt);
}

TEST(Win32Files, DriveListHasLowerCaseLettersAndBracketedDescriptions) {
  const std::vector<std::string> drives = Drive_List();
  ASSERT_FALSE(drives.empty());
  const bool has_c = std::any_of(drives.begin(), drives.end(),
                                 [](const std::string& d) { return d.substr(0, 2) == "c:"; });
  EXPECT_TRUE(has_c);
  for (const std::string& d : drives) {
    ASSERT_GE(d.size(), 2u) << d;
    EXPECT_TRUE(d[0] >= 'a' && d[0] <= 'z') << d;
    EXPECT_EQ(d[1], ':') << d;
    if (d.size() > 2) {
      EXPECT_EQ(d.substr(2, 2), " [") << d;
      EXPECT_EQ(d.back(), ']') << d;
    }
  }
}

TEST(Win32SceneryFolders, ResolveToLowerCasePathsWithBackslashes) {
  Temp_Dir dir;
  const std::string fs = Ansi(dir) + "\\FS2002";
  Make_Folder(fs);
  Make_Folder(fs + "\\Scenery");
  Make_Folder(fs + "\\Scenery\\World");
  Make_Folder(fs + "\\Scenery\\World\\Scenery");
  Make_Folder(fs + "\\Addon");
  Make_Folder(fs + "\\Addon\\scenery");

  Program_State st;
  st.fs_path = fs;
  st.work_dir = Ansi(dir) + "\\work";
  Make_Folder(st.work_dir.string());
  Read_Scenery_Cfg_Text(st,
                        "[Area.001]\r\nLocal=Scenery/World\r\n"
                        "[Area.002]\r\nLocal= Addon\\Scenery \r\n"
                        "[Area.003]\r\nLocal=Scenery\\Missing\r\n"
                        "[Area.004]\r\nLocal=" +
                            fs + "\\ADDON\r\n");
  ASSERT_EQ(st.area_count, 4);
  Resolve_Area_Paths(st);
  EXPECT_EQ(st.areas[0].local, Lower_1252(fs) + "\\scenery\\world\\scenery");
  EXPECT_EQ(st.areas[1].local, Lower_1252(fs) + "\\addon\\scenery");
  EXPECT_EQ(st.areas[2].local, "");
  EXPECT_EQ(st.areas[3].local, Lower_1252(fs) + "\\addon\\scenery");
}

TEST(Win32SceneryFolders, ReplaceADriveDescriptionByItsLetter) {
  Temp_Dir dir;
  const std::string base = Ansi(dir);
  ASSERT_GE(base.size(), 3u);
  ASSERT_EQ(base[1], ':');
  Make_Folder(base + "\\Addon");
  Make_Folder(base + "\\Addon\\Scenery");
  // The path after the drive, written with the drive's description instead of its letter.
  const std::string letter = Lower_1252(base.substr(0, 2));
  const std::vector<std::string> drives = {"q: [OTHER]", letter + " [Main Disk]"};
  Program_State st;
  st.fs_path = base;
  Read_Scenery_Cfg_Text(st, "[Area.001]\r\nLocal=[MAIN DISK]" + base.substr(2) + "\\Addon\r\n");
  Resolve_Area_Paths(st, drives);
  EXPECT_EQ(st.areas[0].local, Lower_1252(base) + "\\addon\\scenery");
}

TEST(Win32SceneryFolders, AnsiNamesAreListedReadAndLowerCased) {
  if (GetACP() != 1252) GTEST_SKIP() << "the system's ANSI code page is not 1252";
  Temp_Dir dir;
  const std::string fs = Ansi(dir) + "\\\xC9T\xC9";  // "ÉTÉ" in the ANSI code page
  Make_Folder(fs);
  Make_Folder(fs + "\\scenery");
  Make_File(fs + "\\scenery\\\xC9"
                 "cole.bgl",
            "abc");
  EXPECT_EQ(List_Files_Ci(fs + "\\scenery", ".bgl"), std::vector<std::string>{"\xC9"
                                                                              "cole.bgl"});
  EXPECT_EQ(Find_File_Ci(fs + "\\scenery",
                         "\xE9"
                         "COLE.BGL"),
            "\xC9"
            "cole.bgl");
  const auto bytes = Read_Whole_File(fs +
                                     "\\scenery\\\xC9"
                                     "cole.bgl");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->size(), 3u);

  Program_State st;
  st.fs_path = fs;
  Read_Scenery_Cfg_Text(st, "[Area.001]\r\nLocal=Scenery\r\n");
  Resolve_Area_Paths(st);
  EXPECT_EQ(st.areas[0].local, Lower_1252(fs) + "\\scenery");
  EXPECT_NE(st.areas[0].local.find("\xE9t\xE9"), std::string::npos);
}

}  // namespace
}  // namespace orv
