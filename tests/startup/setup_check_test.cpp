#include "startup/setup_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/program_state.h"
#include "data/settings_file.h"
#include "support/scenery_writer.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

using scenery_writer::Sim_Folder;
using testing::Read_Bytes;
using testing::Temp_Dir;
using testing::Write_Text;

TEST(SimFolderCheck, AcceptsOnlyAFolderHoldingTheExecutableInAnyCase) {
  Temp_Dir dir;
  Sim_Folder(dir / "lower").Write();
  Sim_Folder(dir / "Upper").Exe_Name("FS2002.EXE").Write();
  Sim_Folder(dir / "none").No_Exe().Write();
  Sim_Folder(dir / "other").Exe_Name("fs2004.exe").Write();
  std::filesystem::create_directories(dir / "dir_named_exe" / "fs2002.exe");

  const std::string root = dir.path().string();
  EXPECT_TRUE(Is_Sim_Folder(root + "/lower"));
  EXPECT_TRUE(Is_Sim_Folder(root + "/lower/"));
  EXPECT_TRUE(Is_Sim_Folder(root + "/Upper"));
  EXPECT_TRUE(Is_Sim_Folder(root + "/UPPER"));  // folder names ignore case as well
  EXPECT_FALSE(Is_Sim_Folder(root + "/none"));
  EXPECT_FALSE(Is_Sim_Folder(root + "/other"));
  EXPECT_FALSE(Is_Sim_Folder(root + "/dir_named_exe"));  // a folder is not the executable
  EXPECT_FALSE(Is_Sim_Folder(root + "/missing"));
  EXPECT_FALSE(Is_Sim_Folder(""));

  Write_Text(dir / "plain_file", "x");
  EXPECT_FALSE(Is_Sim_Folder(root + "/plain_file"));
}

TEST(SimFolderCheck, OnlyADriveRootLosesItsSeparator) {
  EXPECT_EQ(Wizard_Path_Text("C:\\"), "C:");
  EXPECT_EQ(Wizard_Path_Text("d:/"), "d:");
  EXPECT_EQ(Wizard_Path_Text("C:\\FS"), "C:\\FS");
  EXPECT_EQ(Wizard_Path_Text("ab/"), "ab/");  // three characters but no drive root
  EXPECT_EQ(Wizard_Path_Text("1:/"), "1:/");
  EXPECT_EQ(Wizard_Path_Text("/"), "/");
  EXPECT_EQ(Wizard_Path_Text("/home/fs/"), "/home/fs/");
}

TEST(WizardStart, OpensOnTheWorkingFoldersDriveAndStoresTheSystemsBytes) {
  const std::vector<std::string> drives = {"a:", "c: [system]", "d: [data]", "x: [\\\\srv\\fs]"};
  Wizard_Start start = Wizard_Start_Place(drives, "D:\\Games\\FS2002");
  EXPECT_EQ(start.drive, 2u);
  EXPECT_EQ(start.text, "D:\\Games\\FS2002");
  start = Wizard_Start_Place(drives, "c:\\");
  EXPECT_EQ(start.drive, 1u);
  EXPECT_EQ(start.text, "c:");
  // A working folder on a network path without a drive letter: the first drive.
  EXPECT_EQ(Wizard_Start_Place(drives, "\\\\srv\\fs\\sim").drive, 0u);
  const std::vector<std::string> linux_drives = {"/"};
  start = Wizard_Start_Place(linux_drives, "/home/pilot/FS2002");
  EXPECT_EQ(start.drive, 0u);
  EXPECT_EQ(start.text, "/home/pilot/FS2002");
#ifndef _WIN32
  EXPECT_EQ(Wizard_Drive_Text("/"), Current_Folder());
  // Linux keeps the path's own bytes, UTF-8 or not.
  EXPECT_EQ(Wizard_Stored_Path("/home/Fl\xC3\xBCge"), "/home/Fl\xC3\xBCge");
  EXPECT_EQ(Wizard_Stored_Path("/x\xFC"), "/x\xFC");
#endif
  EXPECT_EQ(Wizard_Stored_Path("C:\\"), "C:");
}

TEST(WizardSettings, WritesTheRecordAndTheGlobals) {
  Temp_Dir dir;
  Program_State st;
  st.work_dir = dir.path();
  st.cfg.airport_count = 77;  // left from an earlier run: the wizard's record starts afresh
  st.cfg.airspace_file_count = 5;
  ASSERT_TRUE(Write_Wizard_Settings(st, "C:\\Games\\FS2002").ok);

  EXPECT_EQ(st.sim_version, 1);
  EXPECT_EQ(st.fs_path, "C:\\Games\\FS2002");
  const std::vector<uint8_t> b = Read_Bytes(dir / SETTINGS_FILE);
  ASSERT_EQ(b.size(), 40u);
  EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 13), "Orvane v1.2");
  EXPECT_EQ(b[13], 1);  // cfg_valid
  EXPECT_EQ(b[14], 1);  // sim_version
  EXPECT_EQ(std::string(b.begin() + 17, b.begin() + 32), "C:\\Games\\FS2002");
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 32, b.end()), std::vector<uint8_t>(8, 0));

  Program_State loaded;
  ASSERT_EQ(Load_Settings(loaded, dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(loaded.cfg, st.cfg);
}

TEST(WizardSettings, AFolderThatCannotBeWrittenIsReported) {
  Temp_Dir dir;
  Program_State st;
  st.work_dir = dir / "gone";
  const Write_Result result = Write_Wizard_Settings(st, "/fs");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
}

TEST(FolderList, ShowsTheWayDownOpenThenTheVisibleFoldersInsideByNameIgnoringCase) {
  Temp_Dir dir;
  const std::filesystem::path fs = dir / "FS2002";
  for (const char* name : {"scenery", "Aircraft", "effects", ".hidden"}) {
    std::filesystem::create_directories(fs / name);
  }
  Write_Text(fs / "fs2002.exe", "x");  // files are no folders
  const Folder_List list = Folder_List_Of(fs.string());
  ASSERT_EQ(list.lines.size(), list.current + 4);
  EXPECT_EQ(list.lines[0].path, fs.root_path().string());
  std::vector<std::string> shown;
  for (size_t i = 0; i < list.lines.size(); ++i) {
    EXPECT_EQ(list.lines[i].open, i <= list.current);
    EXPECT_EQ(list.lines[i].depth, static_cast<int>(std::min(i, list.current + 1)));
    if (i >= list.current) shown.push_back(list.lines[i].path);
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{fs.string(), (fs / "Aircraft").string(),
                                      (fs / "effects").string(), (fs / "scenery").string()}));
#ifdef _WIN32
  // "C:" is that drive's root.
  EXPECT_EQ(Folder_List_Of(fs.root_name().string()).lines.at(0).path, fs.root_path().string());
#endif
}

}  // namespace
}  // namespace orv
