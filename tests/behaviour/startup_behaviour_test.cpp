// The splash window's start-up decision and the setup wizard's behaviour on recording views.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data_file_names.h"
#include "core/settings_file.h"
#include "recording_views.h"
#include "scenery/database_files.h"
#include "startup/data_files.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"

namespace orv {
namespace {

namespace sw = scenery_writer;
using testing::Read_Bytes;

class Startup_Events : public Recording_Test {
 protected:
  // A complete, consistent set of data files with no airports.
  void Write_Complete_Set() {
    ASSERT_TRUE(Write_Wizard_Settings(st, (dir.path() / "FS2002").string()).ok);
    ASSERT_TRUE(Write_Airport_File(st).ok);
    ASSERT_TRUE(Write_Airspace_List(st).ok);
  }

  // The splash's tick, with the calls it made.
  Calls Splash_Tick() {
    windows.Show_Splash();
    log.Take();
    windows.splash->Timer1_Timer();
    return log.Take();
  }
};

TEST_F(Startup_Events, SplashWithACompleteSetOpensTheListAndTouchesNothing) {
  Write_Complete_Set();
  const std::vector<uint8_t> settings = Read_Bytes(st.work_dir / SETTINGS_FILE);
  Program_State fresh;
  fresh.work_dir = st.work_dir;
  fresh.first_run = true;
  st = fresh;
  const Calls calls = Splash_Tick();
  EXPECT_EQ(calls.front(), "Form1 Timer1 off");
  EXPECT_TRUE(Has(calls, "open Form3"));
  EXPECT_FALSE(Has(calls, "open Form2"));
  EXPECT_EQ(calls.back(), "Form1 close");
  EXPECT_TRUE(Said(calls, "Form1 message ").empty());
  EXPECT_FALSE(st.first_run);
  EXPECT_EQ(st.fs_path, (dir.path() / "FS2002").string());
  EXPECT_EQ(Read_Bytes(st.work_dir / SETTINGS_FILE), settings);
  for (const char* name : DATA_FILES) EXPECT_TRUE(Data_File_Exists(name)) << name;
}

TEST_F(Startup_Events, SplashRemovesAPartialOrDamagedSetAndOpensTheWizard) {
  Write_Complete_Set();
  std::filesystem::remove(st.work_dir / AIRSPACE_LIST_FILE);
  Calls calls = Splash_Tick();
  EXPECT_TRUE(Has(calls, "open Form2"));
  EXPECT_FALSE(Has(calls, "open Form3"));
  EXPECT_FALSE(Has(calls, "end"));
  EXPECT_TRUE(Said(calls, "Form1 message ").empty());
  EXPECT_TRUE(st.first_run);
  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  EXPECT_FALSE(Data_File_Exists(DATABASE_FILE));

  Write_Complete_Set();
  testing::Write_Text(st.work_dir / SETTINGS_FILE, std::string("\x40\x00", 2));  // past the end
  st.first_run = false;
  calls = Splash_Tick();
  const std::vector<std::string> told = Said(calls, "Form1 message ");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(told[0].starts_with("error: "));
  EXPECT_NE(told[0].find("damaged"), std::string::npos);
  EXPECT_TRUE(Has(calls, "open Form2"));
  for (const char* name : DATA_FILES) EXPECT_FALSE(Data_File_Exists(name)) << name;
  EXPECT_TRUE(st.first_run);
}

TEST_F(Startup_Events, WizardTakesOnlyASimulatorFolderWithItsExecutableInAnyLetterCase) {
  sw::Sim_Folder(dir.path() / "NoExe").No_Exe().Write();
  sw::Sim_Folder(dir.path() / "Fs2004").Exe_Name("fs2004.exe").Write();
  sw::Sim_Folder(dir.path() / "Fs2002").Exe_Name("FS2002.EXE").Write();
  windows.Show_Setup();
  log.Take();
  for (const char* folder : {"NoExe", "Fs2004", "Missing"}) {
    windows.setup->Command1_Click((dir.path() / folder).string());
  }
  EXPECT_EQ(log.Take(), Calls(3, "Form2 message exclamation: " + std::string(MSG_NOT_SIM_FOLDER)));
  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  EXPECT_FALSE(windows.setup->Setup_Done());

  // The folder typed in other letter case is found too, and stored as typed.
  const std::string typed = (dir.path() / "FS2002").string();
  windows.setup->Command1_Click(typed);
  EXPECT_TRUE(Has(log.Take(), "open Form3"));
  Program_State saved;
  ASSERT_EQ(Load_Settings(saved, st.work_dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(saved.cfg.banner, "Orvane v1.2");
  EXPECT_EQ(saved.cfg.cfg_valid, 1);
  EXPECT_EQ(saved.cfg.sim_version, 1);
  EXPECT_EQ(saved.cfg.fs_path, typed);
  EXPECT_EQ(st.fs_path, typed);
}

TEST_F(Startup_Events, WizardKeepsADriveRootShortAndLeavesOtherTextAsTyped) {
  windows.Show_Setup();
  log.Take();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"C:\\", "C:"}, {"d:/", "d:"},        {"/a/", "/a/"},  // three characters, but no drive root
      {"/", "/"},     {"C:\\Fs", "C:\\Fs"}, {"/opt/fs2002/", "/opt/fs2002/"},
  };
  for (const auto& [typed, kept] : cases) {
    windows.setup->Text1_Change(typed);
    EXPECT_EQ(log.Take(), typed == kept ? Calls{} : Calls{"Form2 Text1 " + kept}) << typed;
  }
}

}  // namespace
}  // namespace orv
