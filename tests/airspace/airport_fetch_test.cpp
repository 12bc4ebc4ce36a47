#include "airspace/airport_fetch.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/program_state.h"
#include "support/scenery_writer.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

Airspace_Entry Space(std::string freq_text, std::string com_name, int32_t low, int32_t high) {
  Airspace_Entry e;
  e.freq_text = std::move(freq_text);
  e.com_name = std::move(com_name);
  e.alt_low = low;
  e.alt_high = high;
  return e;
}

Airport_Entry Airport(std::string ident, std::string name, double lat, double lon) {
  Airport_Entry a;
  a.ident = std::move(ident);
  a.name = std::move(name);
  a.lat = lat;
  a.lon = lon;
  return a;
}

// A state as the selection window leaves it after loading the database.
Program_State Ready_State(std::vector<Airport_Entry> airports) {
  Program_State st;
  st.db_ready = true;
  st.airport_count = static_cast<int32_t>(airports.size());
  st.airports = std::move(airports);
  st.airports.emplace_back();  // the spare
  return st;
}

TEST(AirspaceClass, AltitudeLimitsAtOrBelowTheCeilingBelongToTheLowerClass) {
  EXPECT_STREQ(Airspace_Class(Space("", "", 0, 4000)), "Airspace Class C");
  EXPECT_STREQ(Airspace_Class(Space("", "", 0, 2500)), "Airspace Class D");
  EXPECT_STREQ(Airspace_Class(Space("", "", 0, 4001)), "Airspace Class B");
  EXPECT_STREQ(Airspace_Class(Space("", "", 3000, 2000)), "Airspace Class C");
  EXPECT_STREQ(Airspace_Class(Space("", "", 2501, 0)), "Airspace Class C");
  EXPECT_STREQ(Airspace_Class(Space("", "", 4001, 0)), "Airspace Class B");
  // Signed comparisons: a negative limit is low, not a huge unsigned value.
  EXPECT_STREQ(Airspace_Class(Space("", "", -1, -1)), "Airspace Class D");
  EXPECT_STREQ(Airspace_Class(Space("", "", INT32_MIN, 2500)), "Airspace Class D");
}

TEST(AirspaceClass, ArtccNeedsBothFrequencyTextAndComName) {
  EXPECT_STREQ(Airspace_Class(Space("128.2 Mhz  ", "SEATTLE CENTER", 0, 60000)), "ARTCC/FIR");
  EXPECT_STREQ(Airspace_Class(Space("128.2 Mhz  ", "SEATTLE CENTER", 0, 1000)), "ARTCC/FIR");
  // A frequency without a com name (and the reverse) is classed by altitude.
  EXPECT_STREQ(Airspace_Class(Space("128.2 Mhz  ", "", 0, 2000)), "Airspace Class D");
  EXPECT_STREQ(Airspace_Class(Space("", "APPROACH", 0, 10000)), "Airspace Class B");
}

TEST(ClassifyAirspaces, LabelsOnlyTheUsedEntries) {
  Program_State st;
  st.airspaces = {Space("", "", 0, 4000), Space("", "", 0, 9000), Space("", "", 0, 0)};
  st.airspace_count = 2;
  Classify_Airspaces(st);
  EXPECT_EQ(st.airspaces[0].class_label, "Airspace Class C");
  EXPECT_EQ(st.airspaces[1].class_label, "Airspace Class B");
  EXPECT_EQ(st.airspaces[2].class_label, "");
}

TEST(TraconAirspace, CircleOfTwentyMilesLabelledWithDepartureAndApproach) {
  Program_State st;
  st.cur_airport = Airport("KSEA", "SEATTLE-TACOMA INTL", 47.449, -122.309);
  st.cur_airport.freq9 = "124.6";
  st.airspaces = {Space("", "", 0, 0)};
  st.airspace_count = 1;

  ASSERT_TRUE(Add_Tracon_Airspace(st));
  ASSERT_EQ(st.airspace_count, 2);
  ASSERT_EQ(st.airspaces.size(), 2u);
  const Airspace_Entry& t = st.airspaces[1];
  EXPECT_EQ(t.class_label, "TRACON (Departure/Approach)");
  EXPECT_EQ(t.freq_text, "124.6 Mhz  ");
  EXPECT_EQ(t.alt_low, 0);
  EXPECT_EQ(t.alt_high, 10000);
  EXPECT_EQ(t.airspace_name, "");
  EXPECT_EQ(t.com_name, "");
  ASSERT_EQ(t.point_count, 2);
  ASSERT_EQ(t.points.size(), 2u);
  EXPECT_EQ(t.points[0], (Boundary_Point{PT_CENTER, 47.449, -122.309, 0}));
  EXPECT_EQ(t.points[1], (Boundary_Point{PT_CIRCLE, 0.0, 0.0, 20}));
}

TEST(TraconAirspace, DepartureFrequencyFirstAndNoneWithoutEither) {
  Program_State st;
  st.cur_airport.freq9 = "124.6";
  st.cur_airport.freq8 = "119.2";
  ASSERT_TRUE(Add_Tracon_Airspace(st));
  EXPECT_EQ(st.airspaces[0].freq_text, "124.6 Mhz  119.2 Mhz  ");

  Program_State only8;
  only8.cur_airport.freq8 = "119.2";
  ASSERT_TRUE(Add_Tracon_Airspace(only8));
  EXPECT_EQ(only8.airspaces[0].freq_text, "119.2 Mhz  ");

  Program_State none;
  none.cur_airport.freq7 = "118.3";  // other frequencies do not count
  EXPECT_FALSE(Add_Tracon_Airspace(none));
  EXPECT_EQ(none.airspace_count, 0);
  EXPECT_TRUE(none.airspaces.empty());
}

TEST(FindFetchAirport, LastMatchWinsAndNoMatchLeavesTheChosenAirport) {
  Program_State st =
      Ready_State({Airport("KSEA", "SEATTLE", 1.0, 1.0), Airport("KBFI", "BOEING FIELD", 2.0, 2.0),
                   Airport("KSEA", "SEATTLE", 3.0, 3.0)});
  st.airports[0].freq7 = "118.3";
  ASSERT_TRUE(Find_Fetch_Airport(st, "KSEA (SEATTLE)"));
  EXPECT_EQ(st.cur_airport.lat, 3.0);
  EXPECT_EQ(st.cur_airport.freq7, "");

  // Exact and case-sensitive; a near miss keeps what was chosen before.
  EXPECT_FALSE(Find_Fetch_Airport(st, "KSEA (Seattle)"));
  EXPECT_FALSE(Find_Fetch_Airport(st, "KSEA (SEATTLE) "));
  EXPECT_FALSE(Find_Fetch_Airport(st, "KSEA"));
  EXPECT_EQ(st.cur_airport.lat, 3.0);

  // The spare entry after the used ones is never a candidate.
  EXPECT_FALSE(Find_Fetch_Airport(st, " ()"));
}

TEST(FindFetchAirport, CopiesTheWholeEntryWithItsLists) {
  Airport_Entry a = Airport("LFPG", "CHARLES DE GAULLE", 49.0, 2.5);
  a.runways = {Runway_Rec{.end1_name = "9L", .end2_name = "27R"}, Runway_Rec{}};
  a.runway_count = 1;
  a.taxi_points = {Taxi_Point{1, 49.01, 2.51}};
  a.taxi_point_count = 1;
  Program_State st = Ready_State({a});
  ASSERT_TRUE(Find_Fetch_Airport(st, "LFPG (CHARLES DE GAULLE)"));
  EXPECT_EQ(st.cur_airport, a);
}

TEST(FetchAirport, WithoutAirspaceFilesOnlyTheTraconIsAddedAndTheListsAreReleased) {
  Airport_Entry a = Airport("KSEA", "SEATTLE", 47.449, -122.309);
  a.freq9 = "124.6";
  Program_State st = Ready_State({a, Airport("KBFI", "BOEING FIELD", 47.53, -122.30)});
  st.airspaces = {Space("old", "old", 0, 0)};  // left from an earlier fetch
  st.airspace_count = 1;

  std::vector<std::pair<int32_t, int32_t>> progress;
  const Fetch_Result result = Fetch_Airport(st, "KSEA (SEATTLE)", [&](int32_t done, int32_t total) {
    progress.emplace_back(done, total);
  });

  EXPECT_TRUE(result.found);
  EXPECT_TRUE(result.files.empty());
  EXPECT_EQ(progress, (std::vector<std::pair<int32_t, int32_t>>{{0, 0}}));
  EXPECT_EQ(st.airport_count, 2);  // the count stays; the list is down to its spare
  ASSERT_EQ(st.airports.size(), 1u);
  EXPECT_EQ(st.airports[0], Airport_Entry{});
  ASSERT_EQ(st.airspace_count, 1);
  EXPECT_EQ(st.airspaces[0].class_label, "TRACON (Departure/Approach)");
  EXPECT_EQ(st.cur_airport.ident, "KSEA");
}

TEST(FetchAirport, ANameThatMatchesNothingGoesOnWithThePreviousAirport) {
  Program_State st = Ready_State({Airport("KSEA", "SEATTLE", 47.449, -122.309)});
  st.cur_airport = Airport("EGLL", "HEATHROW", 51.47, -0.46);
  st.cur_airport.freq8 = "119.72";
  const Fetch_Result result = Fetch_Airport(st, "NOPE (NOWHERE)");
  EXPECT_FALSE(result.found);
  EXPECT_EQ(st.cur_airport.ident, "EGLL");
  ASSERT_EQ(st.airspace_count, 1);
  EXPECT_EQ(st.airspaces[0].points[0].lat, 51.47);
}

// ---- Reading the listed scenery files --------------------------------------------------------

sw::Built_File Airspace_File(const sw::Airspace_Group& group) {
  return sw::Bgl_File().Add(sw::Airspace_Container().Add(group)).Build();
}

class FetchFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = dir_ / name;
    testing::Write_Bytes(path, bytes);
    return path.string();
  }

  Program_State State_With_Files(std::vector<std::string> files) {
    Airport_Entry a = Airport("KSEA", "SEATTLE", 47.449, -122.309);
    a.freq8 = "119.2";
    Program_State st = Ready_State({a});
    st.airspace_file_count = static_cast<int32_t>(files.size());
    st.airspace_files = std::move(files);
    st.airspace_files.emplace_back();
    return st;
  }

  testing::Temp_Dir dir_;
};

TEST_F(FetchFiles, ReadsEveryListedFileSkipsTheUnreadableAndLabelsWhatItFound) {
  const std::string center =
      Write("center.bgl", Airspace_File(sw::Airspace_Group()
                                            .Box(40.0, -130.0, 50.0, -110.0)
                                            .Name("SEATTLE CENTER")
                                            .Frequency("128.2", "SEATTLE CTR")
                                            .Start(40.0, -130.0, 0, 60000))
                              .bytes);
  const std::string class_c =
      Write("class_c.bgl", Airspace_File(sw::Airspace_Group()
                                             .Box(47.0, -123.0, 48.0, -122.0)
                                             .Name("SEATTLE CLASS C")
                                             .Center(47.449, -122.309)
                                             .Circle(5, 0, 4000))
                               .bytes);
  const std::string outside = Write(
      "outside.bgl",
      Airspace_File(
          sw::Airspace_Group().Box(10.0, 10.0, 11.0, 11.0).Name("FAR AWAY").Circle(5, 0, 1000))
          .bytes);
  std::vector<uint8_t> unsigned_bytes =
      Airspace_File(sw::Airspace_Group().Box(47.0, -123.0, 48.0, -122.0).Name("NO SIGNATURE"))
          .bytes;
  sw::Patch_Long(unsigned_bytes, 118, 0x12345678);
  const std::string no_signature = Write("nosig.bgl", unsigned_bytes);
  const std::string short_file = Write("short.bgl", {0x21, 0x43});
  const std::string missing = (dir_ / "gone.bgl").string();
  const std::string folder = (dir_ / "folder.bgl").string();
  std::filesystem::create_directories(folder);

  Program_State st =
      State_With_Files({center, missing, no_signature, short_file, folder, outside, class_c});
  std::vector<std::pair<int32_t, int32_t>> progress;
  const Fetch_Result result = Fetch_Airport(st, "KSEA (SEATTLE)", [&](int32_t done, int32_t total) {
    progress.emplace_back(done, total);
  });

  ASSERT_TRUE(result.found);
  ASSERT_EQ(result.files.size(), 7u);
  const std::vector<Fetch_File_Outcome> outcomes = {
      Fetch_File_Outcome::read,         Fetch_File_Outcome::unreadable,
      Fetch_File_Outcome::no_signature, Fetch_File_Outcome::no_signature,
      Fetch_File_Outcome::unreadable,   Fetch_File_Outcome::read,
      Fetch_File_Outcome::read};
  for (size_t i = 0; i < outcomes.size(); ++i) {
    EXPECT_EQ(result.files[i].outcome, outcomes[i]) << "file " << i;
    EXPECT_EQ(result.files[i].stop, Walk_Stop::none) << "file " << i;
  }
  ASSERT_EQ(progress.size(), 8u);
  EXPECT_EQ(progress.front(), std::make_pair(0, 7));
  EXPECT_EQ(progress.back(), std::make_pair(7, 7));

  ASSERT_EQ(st.airspace_count, 3);
  EXPECT_EQ(st.airspaces[0].airspace_name, "SEATTLE CENTER");
  EXPECT_EQ(st.airspaces[0].class_label, "ARTCC/FIR");
  EXPECT_EQ(st.airspaces[1].airspace_name, "SEATTLE CLASS C");
  EXPECT_EQ(st.airspaces[1].class_label, "Airspace Class C");
  EXPECT_EQ(st.airspaces[2].class_label, "TRACON (Departure/Approach)");
  EXPECT_EQ(st.airspaces[2].freq_text, "119.2 Mhz  ");

  EXPECT_EQ(st.airspace_file_count, 7);  // the count stays; the list is down to its spare
  EXPECT_EQ(st.airspace_files, std::vector<std::string>(1));
}

TEST_F(FetchFiles, AListShorterThanItsCountSkipsTheMissingEntries) {
  const std::string one =
      Write("one.bgl", Airspace_File(sw::Airspace_Group().Box(47.0, -123.0, 48.0, -122.0)).bytes);
  Program_State st = State_With_Files({one});
  st.airspace_file_count = 3;
  const std::vector<Fetch_File_Result> files = Read_Airspace_Files(st);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].outcome, Fetch_File_Outcome::read);
  EXPECT_EQ(files[1].outcome, Fetch_File_Outcome::unreadable);
  EXPECT_EQ(files[2].outcome, Fetch_File_Outcome::unreadable);
  EXPECT_EQ(st.airspace_count, 0);  // cur_airport was never set: (0, 0) lies outside the box
}

TEST_F(FetchFiles, ADamagedFileKeepsWhatWasReadAndTheNextFileIsStillRead) {
  sw::Built_File damaged =
      Airspace_File(sw::Airspace_Group().Box(47.0, -123.0, 48.0, -122.0).Name("KEPT").Name("LOST"));
  const int64_t second_name = damaged.layout.containers[0].groups[0].records[2].offset;
  damaged.bytes.resize(static_cast<size_t>(second_name) + 9);  // the text runs past the end
  const std::string first = Write("damaged.bgl", damaged.bytes);
  const std::string second = Write(
      "fine.bgl",
      Airspace_File(sw::Airspace_Group().Box(47.0, -123.0, 48.0, -122.0).Name("SECOND")).bytes);

  Program_State st = State_With_Files({first, second});
  const Fetch_Result result = Fetch_Airport(st, "KSEA (SEATTLE)");
  ASSERT_EQ(result.files.size(), 2u);
  EXPECT_EQ(result.files[0].stop, Walk_Stop::out_of_image);
  EXPECT_EQ(result.files[1].stop, Walk_Stop::none);
  ASSERT_EQ(st.airspace_count, 3);
  EXPECT_EQ(st.airspaces[0].airspace_name, "KEPT");
  EXPECT_EQ(st.airspaces[1].airspace_name, "SECOND");
}

}  // namespace
}  // namespace orv
