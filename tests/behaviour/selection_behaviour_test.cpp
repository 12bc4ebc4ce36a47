// The airport selection window's behaviour on a recording view: the first-run build with a
// damaged scenery file, the normal load, GET AIRPORT, the close rules and a damaged database.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/data_file_check.h"
#include "data/data_file_names.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "recording_views.h"
#include "startup/setup_check.h"
#include "support/sample_sim.h"

namespace orv {
namespace {

const std::vector<std::string> kBuiltItems = {"KSEA (SEATTLE-TACOMA INTL)", "KBFI (BOEING FLD)",
                                              "LSZH (Z\xC3\x9CRICH)", "KPAE (PAINE)"};

class Selection_Events : public Recording_Test {
 protected:
  void SetUp() override {
    Recording_Test::SetUp();
    sim = dir.path() / "FS2002";
    testing::Write_Sample_Sim(sim);
    // One scan step a tick.
    windows.clock = [this] { return now += SCAN_SLICE; };
    windows.link = std::move(fake.link);
  }

  // The list opened and its first tick run; a first run when the wizard has just finished.
  Selection_Behaviour& Open(bool first_run) {
    if (first_run) {
      EXPECT_TRUE(Write_Wizard_Settings(st, sim.string()).ok);
      st.first_run = true;
    }
    windows.Show_Selection();
    windows.selection->Read_Sceneries_Paths_Timer();
    for (int i = 0; i < 200 && windows.selection_view->scanning; ++i) {
      windows.selection->Scan_Bgls_Timer();
    }
    return *windows.selection;
  }

  // A normal run over the database built before, its calls taken.
  Selection_Behaviour& Open_Built() {
    if (!Data_File_Exists(SETTINGS_FILE)) Open(true);
    Program_State fresh;
    fresh.work_dir = st.work_dir;
    st = fresh;
    EXPECT_EQ(Check_Data_Files(st), Start_Decision::normal_run);
    Selection_Behaviour& list = Open(false);
    log.Take();
    return list;
  }

  std::filesystem::path sim;
};

TEST_F(Selection_Events, FirstRunBuildsTheDatabaseAndTellsOfTheDamagedFile) {
  Open(true);
  const Calls calls = log.Take();
  // Each area is named again at every tick that scans it: the box shows each change.
  std::vector<std::string> statuses = Said(calls, "Form3 status ");
  statuses.erase(std::unique(statuses.begin(), statuses.end()), statuses.end());
  EXPECT_EQ(statuses,
            (std::vector<std::string>{
                "Magdec.bgl File", "Scenery.cfg File", "Seattle Area", "Empty Area", "Damaged Area",
                "Creating Database Files...", "Creating Airspaces Files List...",
                "Updating Configuration...", "Adding Airports to List...", "Done"}));
  // After the database message, one message about the damaged file, naming it.
  const std::vector<std::string> told = Said(calls, "Form3 message ");
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told[0], "information: " + std::string(MSG_FIRST_BUILD));
  EXPECT_EQ(told[1], "information: " + std::string(MSG_DATABASE_CREATED));
  EXPECT_TRUE(told[2].starts_with("information: "));
  EXPECT_NE(told[2].find("broken.bgl"), std::string::npos);
  EXPECT_NE(told[2].find("0 could not be opened, 1 ended early"), std::string::npos);
  EXPECT_EQ(windows.selection_view->items, kBuiltItems);
  EXPECT_FALSE(Has(calls, "end"));
  EXPECT_FALSE(st.first_run);
  EXPECT_TRUE(st.db_ready);
  for (const char* name : DATA_FILES) EXPECT_TRUE(Data_File_Exists(name)) << name;
  Program_State saved;
  ASSERT_EQ(Load_Settings(saved, st.work_dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(saved.airport_count, 4);
  EXPECT_EQ(saved.airspace_file_count, 1);
}

TEST_F(Selection_Events, AFailedWriteIsAnErrorNeverDoneAndLeavesTheControlsLocked) {
  std::filesystem::create_directories(st.work_dir / DATABASE_FILE / "blocked");
  Selection_Behaviour& list = Open(true);
  const Calls calls = log.Take();
  const std::vector<std::string> told = Said(calls, "Form3 message ");
  ASSERT_EQ(told.size(), 2u);
  EXPECT_TRUE(told[1].starts_with("error: "));
  EXPECT_NE(told[1].find("airport database could not be written"), std::string::npos);
  EXPECT_NE(list.Status(), STATUS_DONE);
  EXPECT_EQ(Said(calls, "Form3 controls").back(), " off");
  EXPECT_EQ(calls.back(), "end");
}

// The settings file removed while the build runs: the counts cannot be kept, so the build is a
// failure that leaves no data files, not a database that the next start would refuse.
TEST_F(Selection_Events, ASettingsFileThatVanishesDuringTheBuildEndsItWithNoDataFiles) {
  ASSERT_TRUE(Write_Wizard_Settings(st, sim.string()).ok);
  st.first_run = true;
  windows.Show_Selection();
  windows.selection->Read_Sceneries_Paths_Timer();
  std::filesystem::remove(st.work_dir / SETTINGS_FILE);
  while (windows.selection_view->scanning) windows.selection->Scan_Bgls_Timer();
  const Calls calls = log.Take();
  const std::vector<std::string> told = Said(calls, "Form3 message ");
  EXPECT_FALSE(Has(calls, "Form3 message information: " + std::string(MSG_DATABASE_CREATED)));
  EXPECT_TRUE(
      told.back().starts_with("error: The settings file could not be written: it vanished"));
  EXPECT_EQ(calls.back(), "end");
  for (const char* name : DATA_FILES) EXPECT_FALSE(Data_File_Exists(name)) << name;
}

TEST_F(Selection_Events, GetAirportTakesOnlyTheChosenItemAndCloseProgramEnds) {
  Selection_Behaviour& list = Open_Built();
  EXPECT_EQ(windows.selection_view->items, kBuiltItems);
  EXPECT_TRUE(st.db_ready);
  // Nothing chosen, typed without choosing, chosen and then typed over: nothing happens.
  list.Get_Airport(-1, COMBO_PROMPT);
  list.Get_Airport(0, "KSEA");
  list.Get_Airport(0, "KSEA (SEATTLE");
  EXPECT_EQ(log.Take(), Calls{});
  EXPECT_EQ(list.Status(), STATUS_DONE);
  EXPECT_TRUE(st.cur_airport.ident.empty());
  EXPECT_EQ(st.airports.size(), 5u);

  list.Get_Airport(0, kBuiltItems[0]);
  EXPECT_EQ(st.cur_airport.ident, "KSEA");
  // The Class B from the scenery file, then the departure/approach airspace of its own.
  ASSERT_EQ(st.airspace_count, 2);
  EXPECT_EQ(st.airspaces[0].class_label, "Airspace Class B");
  EXPECT_EQ(st.airspaces[1].class_label, "TRACON (Departure/Approach)");
  EXPECT_EQ(st.airports.size(), 1u);
  Calls calls = log.Take();
  EXPECT_TRUE(Has(calls, "Form4 caption SEATTLE-TACOMA INTL Chart"));
  EXPECT_FALSE(Has(calls, "end"));

  // A name with an accented letter, on a list loaded again.
  Open_Built().Get_Airport(2, kBuiltItems[2]);
  EXPECT_EQ(st.cur_airport.ident, "LSZH");
  EXPECT_EQ(st.cur_airport.name, "Z\xDCRICH");
  EXPECT_EQ(st.airspace_count, 0);  // no airspace near it and no approach frequency
  EXPECT_TRUE(Has(log.Take(), "Form4 caption Z\xC3\x9CRICH Chart"));

  Open_Built().Close_Program();
  EXPECT_EQ(log.Take(), (Calls{"Form3 status Please wait...", "end"}));
  EXPECT_EQ(st.airports.size(), 1u);
}

TEST_F(Selection_Events, ADamagedDatabaseAtLoadIsReportedRemovedAndTheSetupRunsAgain) {
  Open(true);
  // The settings promise more airports than the database holds.
  Program_State fresh;
  fresh.work_dir = st.work_dir;
  st = fresh;
  ASSERT_EQ(Check_Data_Files(st), Start_Decision::normal_run);
  st.cfg.airport_count = 40;
  ASSERT_TRUE(Save_Settings(st).ok);
  st = fresh;
  ASSERT_EQ(Check_Data_Files(st), Start_Decision::normal_run);
  log.Take();
  Open(false);
  const Calls calls = log.Take();
  const std::vector<std::string> told = Said(calls, "Form3 message ");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(told[0].starts_with("error: "));
  EXPECT_NE(told[0].find("airport database is damaged"), std::string::npos);
  for (const char* name : DATA_FILES) EXPECT_FALSE(Data_File_Exists(name)) << name;
  EXPECT_TRUE(Has(calls, "open Form2") && Has(calls, "Form3 close"));
  EXPECT_FALSE(Has(calls, "end"));
  EXPECT_TRUE(st.first_run);
  EXPECT_EQ(st.airport_count, 0);
}

}  // namespace
}  // namespace orv
