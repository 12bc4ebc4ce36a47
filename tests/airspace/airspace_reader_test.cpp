#include "airspace/airspace_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program_state.h"
#include "scenery/scan_bgl_file.h"
#include "support/scenery_writer.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

constexpr double kLat = 47.449;
constexpr double kLon = -122.309;

// An airport fetch in progress for an airport at (lat, lon).
Program_State Fetch_State(double lat = kLat, double lon = kLon) {
  Program_State st;
  st.db_ready = true;
  st.cur_airport.lat = lat;
  st.cur_airport.lon = lon;
  return st;
}

// A database build in progress.
Program_State Build_State() {
  Program_State st;
  st.first_run = true;
  return st;
}

Walk_Stop Scan(Program_State& st, const std::vector<uint8_t>& bytes,
               std::string_view path = "c:/fs/scenery/world/scenery/airspace.bgl") {
  const Bgl_Image image = Make_Bgl_Image(bytes);
  Bgl_Reader rd(image);
  return Scan_Bgl_File(st, rd, path, Read_Airspace_Section);
}

Walk_Stop Scan(Program_State& st, const sw::Built_File& file) {
  return Scan(st, file.bytes);
}

sw::Built_File One_Group(const sw::Airspace_Group& group) {
  return sw::Bgl_File().Add(sw::Airspace_Container().Add(group)).Build();
}

// A box around the test airport.
sw::Airspace_Group Around() {
  return sw::Airspace_Group().Box(47.0, -123.0, 48.0, -122.0);
}

// Payloads of raw records.
const std::vector<uint8_t> kFourBytes = {1, 2, 3, 4};
const std::vector<uint8_t> kGroupSubtypeOnly = {5, 0, 0, 0, 0, 0, 0, 0};

std::vector<std::string> Names(const Program_State& st) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < st.airspace_count; ++i) names.push_back(st.airspaces[i].airspace_name);
  return names;
}

TEST(AirspaceUnits, ConvertAndRoundToFourDecimals) {
  EXPECT_EQ(Airspace_Lat(10001750), 90.0);
  EXPECT_EQ(Airspace_Lat(-10001750), -90.0);
  EXPECT_EQ(Airspace_Lat(sw::Lat_Value(47.123456)), 47.1235);
  EXPECT_EQ(Airspace_Lon(INT32_MIN), -180.0);
  EXPECT_EQ(Airspace_Lon(0x40000000), 90.0);
  EXPECT_EQ(Airspace_Lon(sw::Lon_Value(-122.987654)), -122.9877);
  // 1 unit of latitude is about 9e-6 degree: rounded away to 0, not kept as a tiny value.
  EXPECT_EQ(Airspace_Lat(1), 0.0);
}

TEST(AirspaceBox, EdgesAreOutsideAndOnlyStrictlyInsideAirportsKeepTheGroup) {
  struct Case {
    double lat, lon;
    bool kept;
  };
  const Case cases[] = {
      {47.5, -122.5, true},         {47.0, -122.5, false},     {48.0, -122.5, false},
      {47.5, -123.0, false},        {47.5, -122.0, false},     {47.00001, -122.99999, true},
      {47.99999, -122.00001, true}, {46.99999, -122.5, false}, {47.5, -121.99999, false},
  };
  const sw::Built_File file = One_Group(Around().Name("BOX"));
  for (const Case& c : cases) {
    Program_State st = Fetch_State(c.lat, c.lon);
    EXPECT_EQ(Scan(st, file), Walk_Stop::none);
    EXPECT_EQ(st.airspace_count, c.kept ? 1 : 0) << c.lat << ", " << c.lon;
  }
}

TEST(AirspaceBox, LimitsAreComparedAfterRoundingToFourDecimals) {
  // The south limit 47.00004 reads as 47.0, so an airport at 47.00002 is inside; the east limit
  // -121.99996 reads as -122.0, so an airport at -121.99998 is outside.
  const sw::Built_File file =
      One_Group(sw::Airspace_Group().Box(47.00004, -123.0, 48.0, -121.99996).Name("R"));
  Program_State inside = Fetch_State(47.00002, -122.5);
  Scan(inside, file);
  EXPECT_EQ(inside.airspace_count, 1);
  Program_State outside = Fetch_State(47.5, -121.99998);
  Scan(outside, file);
  EXPECT_EQ(outside.airspace_count, 0);
}

TEST(AirspaceBox, ABoxCrossingTheDateLineNeverContainsTheAirport) {
  const sw::Built_File file =
      One_Group(sw::Airspace_Group().Box(40.0, 170.0, 50.0, -170.0).Name("PACIFIC"));
  for (const double lon : {179.5, -179.5, 175.0, 0.0}) {
    Program_State st = Fetch_State(45.0, lon);
    Scan(st, file);
    EXPECT_EQ(st.airspace_count, 0) << lon;
  }
}

TEST(AirspaceGroup, RecordsBeforeTheBoxAreLostAndNamesJoinWithTwoBlanks) {
  Program_State st = Fetch_State();
  Scan(st, One_Group(sw::Airspace_Group()
                         .Name("EARLY")
                         .Frequency("120.1", "EARLY RADIO")
                         .Start(47.0, -123.0, 100, 200)
                         .Box(47.0, -123.0, 48.0, -122.0)
                         .Name("SEATTLE")
                         .Name("CLASS B")));
  ASSERT_EQ(st.airspace_count, 1);
  const Airspace_Entry& e = st.airspaces[0];
  EXPECT_EQ(e.airspace_name, "SEATTLE  CLASS B");
  EXPECT_EQ(e.freq_text, "");
  EXPECT_EQ(e.com_name, "");
  EXPECT_EQ(e.point_count, 0);
  EXPECT_EQ(e.alt_low, 0);
  EXPECT_EQ(e.alt_high, 0);
  EXPECT_EQ(e.class_label, "");
}

TEST(AirspaceGroup, FrequenciesAppendInOrderAndTheLastTextIsTheComName) {
  Program_State st = Fetch_State();
  Scan(st, One_Group(Around()
                         .Frequency_Bcd(0x01183500, "SEATTLE APP")
                         .Frequency_Bcd(0x01210000, "SEATTLE DEP")));
  ASSERT_EQ(st.airspace_count, 1);
  EXPECT_EQ(st.airspaces[0].freq_text, "118.35 Mhz  121 Mhz  ");
  EXPECT_EQ(st.airspaces[0].com_name, "SEATTLE DEP");

  // A record of size 8 has no text: the com name becomes empty again. A value that is not
  // binary-coded decimal adds no frequency but its text still names the com.
  Program_State st2 = Fetch_State();
  Scan(st2, One_Group(Around()
                          .Frequency("118.3", "TOWER")
                          .Frequency("119.1", "")
                          .Frequency_Bcd(0x011A0000, "ODD")));
  ASSERT_EQ(st2.airspace_count, 1);
  EXPECT_EQ(st2.airspaces[0].freq_text, "118.3 Mhz  119.1 Mhz  ");
  EXPECT_EQ(st2.airspaces[0].com_name, "ODD");

  Program_State st3 = Fetch_State();
  Scan(st3, One_Group(Around().Frequency("118.3", "TOWER").Frequency("119.1", "")));
  EXPECT_EQ(st3.airspaces[0].com_name, "");
}

TEST(AirspaceGroup, PointsOfEveryKindInFileOrder) {
  Program_State st = Fetch_State();
  Scan(st, One_Group(Around()
                         .Start(47.123456, -122.987654, 1000, 5000)
                         .Line(47.5, -122.5)
                         .Center(47.4, -122.3)
                         .Arc_Cw(47.3, -122.2)
                         .Arc_Ccw(47.2, -122.1)
                         .Skip()
                         .Circle(12, 0, 3000)));
  ASSERT_EQ(st.airspace_count, 1);
  const Airspace_Entry& e = st.airspaces[0];
  ASSERT_EQ(e.point_count, 6);
  ASSERT_EQ(e.points.size(), 6u);
  EXPECT_EQ(e.points[0], (Boundary_Point{PT_START, 47.1235, -122.9877, 0}));
  EXPECT_EQ(e.points[1], (Boundary_Point{PT_LINE, 47.5, -122.5, 0}));
  EXPECT_EQ(e.points[2], (Boundary_Point{PT_CENTER, 47.4, -122.3, 0}));
  EXPECT_EQ(e.points[3], (Boundary_Point{PT_ARC_CW, 47.3, -122.2, 0}));
  EXPECT_EQ(e.points[4], (Boundary_Point{PT_ARC_CCW, 47.2, -122.1, 0}));
  EXPECT_EQ(e.points[5], (Boundary_Point{PT_CIRCLE, 0.0, 0.0, 12}));
  // The circle's limits replace those of the start point.
  EXPECT_EQ(e.alt_low, 0);
  EXPECT_EQ(e.alt_high, 3000);
}

TEST(AirspaceGroup, AltitudesAndRadiusAreKeptAsStored) {
  Program_State st = Fetch_State();
  Scan(st, One_Group(Around().Circle(-5, -1000, INT32_MAX).Start(47.0, -122.0, -7, INT32_MIN)));
  ASSERT_EQ(st.airspace_count, 1);
  EXPECT_EQ(st.airspaces[0].points[0].radius, -5);
  EXPECT_EQ(st.airspaces[0].alt_low, -7);
  EXPECT_EQ(st.airspaces[0].alt_high, INT32_MIN);
}

TEST(AirspaceGroup, EachContainingBoxStartsAnEntryAndAnOutsideBoxChangesNothing) {
  Program_State st = Fetch_State();
  Scan(st, One_Group(Around()
                         .Name("FIRST")
                         .Box(46.0, -124.0, 49.0, -121.0)
                         .Name("SECOND")
                         .Box(10.0, 10.0, 11.0, 11.0)
                         .Name("STILL SECOND")
                         .Circle(3, 0, 1000)));
  ASSERT_EQ(st.airspace_count, 2);
  EXPECT_EQ(st.airspaces[0].airspace_name, "FIRST");
  EXPECT_EQ(st.airspaces[0].point_count, 0);
  EXPECT_EQ(st.airspaces[1].airspace_name, "SECOND  STILL SECOND");
  EXPECT_EQ(st.airspaces[1].point_count, 1);
}

TEST(AirspaceGroup, TheKeepFlagLastsOneGroup) {
  Program_State st = Fetch_State();
  Scan(st, sw::Bgl_File()
               .Add(sw::Airspace_Container()
                        .Add(Around().Name("INSIDE"))
                        .Add(sw::Airspace_Group().Name("NO BOX").Circle(4, 0, 0))
                        .Add(sw::Airspace_Group().Box(0.0, 0.0, 1.0, 1.0).Name("FAR")))
               .Build());
  EXPECT_EQ(Names(st), (std::vector<std::string>{"INSIDE"}));
  EXPECT_EQ(st.airspaces[0].point_count, 0);
}

TEST(AirspaceGroup, EndRecordAndUnknownIdsEndTheGroupButNotTheContainer) {
  Program_State st = Fetch_State();
  Scan(st, sw::Bgl_File()
               .Add(sw::Airspace_Container()
                        .Add(Around().Name("A").End_Group().Name("AFTER END").Circle(1, 0, 0))
                        .Add(Around().Name("B").Raw(0x00012009, {}).Name("AFTER UNKNOWN"))
                        .Add(Around().Name("C")))
               .Build());
  EXPECT_EQ(Names(st), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(st.airspaces[0].point_count, 0);
}

TEST(AirspaceSection, EveryGroupOfEveryContainerIsReadOnce) {
  Program_State st = Fetch_State();
  const sw::Built_File file =
      sw::Bgl_File()
          .Add(sw::Airspace_Container().Add(Around().Name("A1")).Add(Around().Name("A2")))
          .Airspace_Skipped_Record(kFourBytes)
          .Add(sw::Airspace_Container()
                   .Skipped_Record({})
                   .Add(Around().Name("B1"))
                   .Add(Around().Name("B2").Subtype(6))  // not a group: skipped whole
                   .Raw(1, kGroupSubtypeOnly))           // a group without records
          .Add(sw::Airspace_Container().Subtype(3).Add(Around().Name("NOT A CONTAINER")))
          .Add(sw::Airspace_Container().Add(Around().Name("C1")))
          .Build();
  EXPECT_EQ(Scan(st, file), Walk_Stop::none);
  EXPECT_EQ(Names(st), (std::vector<std::string>{"A1", "A2", "B1", "C1"}));
}

TEST(AirspaceSection, AnUnknownLevelOneRecordEndsTheSection) {
  Program_State st = Fetch_State();
  Scan(st, sw::Bgl_File()
               .Add(sw::Airspace_Container().Add(Around().Name("BEFORE")))
               .Airspace_Raw(0x00040001, kFourBytes)
               .Add(sw::Airspace_Container().Add(Around().Name("AFTER")))
               .Build());
  EXPECT_EQ(Names(st), (std::vector<std::string>{"BEFORE"}));
}

TEST(AirspaceListMode, AddsTheFileOnceAndAgainOnlyAfterAnother) {
  const sw::Built_File two_containers =
      sw::Bgl_File()
          .Add(sw::Airspace_Container().Add(Around().Name("A")).Add(Around().Name("B")))
          .Add(sw::Airspace_Container().Add(Around().Name("C")))
          .Build();
  Program_State st = Build_State();
  st.cur_airport.lat = kLat;  // even inside a box, nothing is read while building
  st.cur_airport.lon = kLon;
  Scan(st, two_containers.bytes, "a.bgl");
  Scan(st, two_containers.bytes, "a.bgl");
  Scan(st, two_containers.bytes, "b.bgl");
  Scan(st, two_containers.bytes, "a.bgl");
  Scan(st, two_containers.bytes, "A.bgl");  // compared exactly
  EXPECT_EQ(st.airspace_file_count, 4);
  EXPECT_EQ(st.airspace_files, (std::vector<std::string>{"a.bgl", "b.bgl", "a.bgl", "A.bgl", ""}));
  EXPECT_EQ(st.airspace_count, 0);
  EXPECT_TRUE(st.airspaces.empty());
}

TEST(AirspaceListMode, OnlyAContainerRecordsTheFile) {
  Program_State st = Build_State();
  Scan(st, sw::Bgl_File().Airspace_Skipped_Record({}).Build().bytes, "skipped.bgl");
  Scan(st, sw::Bgl_File().Add(sw::Airspace_Container().Subtype(2)).Build().bytes, "other.bgl");
  Scan(st, sw::Bgl_File().Empty_Airspace_Section().Build().bytes, "empty.bgl");
  EXPECT_EQ(st.airspace_file_count, 0);
  Scan(st, sw::Bgl_File().Add(sw::Airspace_Container()).Build().bytes, "empty_container.bgl");
  EXPECT_EQ(st.airspace_file_count, 1);
}

TEST(AirspaceListMode, ReadModeNeedsTheDatabaseReadyAndNoBuildRunning) {
  const sw::Built_File file = One_Group(Around().Name("X"));
  Program_State building = Fetch_State();
  building.first_run = true;  // ready flag set but a build is running
  Scan(building, file);
  EXPECT_EQ(building.airspace_count, 0);
  EXPECT_EQ(building.airspace_file_count, 1);

  Program_State loading = Fetch_State();
  loading.db_ready = false;
  Scan(loading, file);
  EXPECT_EQ(loading.airspace_count, 0);
  EXPECT_EQ(loading.airspace_file_count, 1);

  Program_State fetching = Fetch_State();
  Scan(fetching, file);
  EXPECT_EQ(fetching.airspace_count, 1);
  EXPECT_EQ(fetching.airspace_file_count, 0);
}

TEST(AirspaceDamage, ARecordThatDoesNotAdvanceEndsItsListAfterBeingHandled) {
  // A name whose size is -8 would lead back to itself: it is applied (its text is empty) and
  // the group ends; the next group is still read by the container.
  Program_State st = Fetch_State();
  const Walk_Stop stop =
      Scan(st, sw::Bgl_File()
                   .Add(sw::Airspace_Container()
                            .Add(Around().Name("A").Raw(0x00012003, {}, -8).Name("LOST"))
                            .Add(Around().Name("B")))
                   .Build());
  EXPECT_EQ(stop, Walk_Stop::no_progress);
  EXPECT_EQ(Names(st), (std::vector<std::string>{"A", "B"}));

  // At level 1 the same ends the section.
  Program_State st2 = Fetch_State();
  const Walk_Stop stop2 = Scan(st2, sw::Bgl_File()
                                        .Add(sw::Airspace_Container().Add(Around().Name("A")))
                                        .Airspace_Raw(0x00030001, {}, -8)
                                        .Add(sw::Airspace_Container().Add(Around().Name("B")))
                                        .Build());
  EXPECT_EQ(stop2, Walk_Stop::no_progress);
  EXPECT_EQ(Names(st2), (std::vector<std::string>{"A"}));

  // A size that would step past 32 bits ends the list the same way.
  Program_State st3 = Fetch_State();
  const Walk_Stop stop3 =
      Scan(st3, One_Group(Around().Name("A").Raw(0x00012003, {}, INT32_MAX).Name("LOST")));
  EXPECT_EQ(stop3, Walk_Stop::offset_overflow);
  EXPECT_EQ(Names(st3), (std::vector<std::string>{"A"}));
}

TEST(AirspaceDamage, ATruncatedFileKeepsEveryRecordReadWhole) {
  const sw::Built_File file = One_Group(Around()
                                            .Name("SEATTLE")
                                            .Start(47.0, -123.0, 0, 9000)
                                            .Frequency("118.3", "SEATTLE APPROACH")
                                            .Line(48.0, -122.0));
  const std::vector<sw::Record_Place>& recs = file.layout.containers[0].groups[0].records;
  ASSERT_EQ(recs.size(), 5u);
  const int64_t freq = recs[3].offset;

  // Cut inside the frequency's text: its value lies in the file but the record is not applied.
  std::vector<uint8_t> cut(file.bytes.begin(), file.bytes.begin() + freq + 20);
  Program_State st = Fetch_State();
  EXPECT_EQ(Scan(st, cut), Walk_Stop::out_of_image);
  ASSERT_EQ(st.airspace_count, 1);
  EXPECT_EQ(st.airspaces[0].airspace_name, "SEATTLE");
  EXPECT_EQ(st.airspaces[0].point_count, 1);
  EXPECT_EQ(st.airspaces[0].alt_high, 9000);
  EXPECT_EQ(st.airspaces[0].freq_text, "");
  EXPECT_EQ(st.airspaces[0].com_name, "");

  // Cut inside the start point's upper altitude: neither the point nor its limits are kept.
  const int64_t start = recs[2].offset;
  std::vector<uint8_t> cut2(file.bytes.begin(), file.bytes.begin() + start + 30);
  Program_State st2 = Fetch_State();
  EXPECT_EQ(Scan(st2, cut2), Walk_Stop::out_of_image);
  ASSERT_EQ(st2.airspace_count, 1);
  EXPECT_EQ(st2.airspaces[0].point_count, 0);
  EXPECT_EQ(st2.airspaces[0].alt_low, 0);

  // Cut inside the box: no entry at all.
  std::vector<uint8_t> cut3(file.bytes.begin(), file.bytes.begin() + recs[0].offset + 20);
  Program_State st3 = Fetch_State();
  EXPECT_EQ(Scan(st3, cut3), Walk_Stop::out_of_image);
  EXPECT_EQ(st3.airspace_count, 0);
}

TEST(AirspaceDamage, ATextLongerThan32767BytesEndsTheWalk) {
  sw::Built_File file = One_Group(Around().Name("FIRST").Name("SECOND"));
  const int64_t second = file.layout.containers[0].groups[0].records[2].offset;
  sw::Patch_Long(file.bytes, second + 4, 40000);
  file.bytes.resize(static_cast<size_t>(second) + 8 + 40000, 'x');
  Program_State st = Fetch_State();
  EXPECT_EQ(Scan(st, file.bytes), Walk_Stop::text_too_long);
  EXPECT_EQ(Names(st), (std::vector<std::string>{"FIRST"}));
}

TEST(AirspaceDamage, AFileEndingRightAfterItsLastRecordEndsCleanly) {
  // Without the section's closing record the next head lies past the image.
  const sw::Built_File file = sw::Bgl_File()
                                  .Add(sw::Airspace_Container().Add(Around().Name("A")))
                                  .No_Airspace_Section_End()
                                  .Build();
  Program_State st = Fetch_State();
  EXPECT_EQ(Scan(st, file), Walk_Stop::out_of_image);
  EXPECT_EQ(Names(st), (std::vector<std::string>{"A"}));
}

TEST(AirspaceAppend, ReusesLongerListsWithAFreshEntry) {
  Program_State st;
  st.airspaces.resize(3);
  st.airspaces[1].airspace_name = "STALE";
  st.airspaces[1].points.resize(2);
  st.airspace_count = 1;
  Airspace_Entry& e = Append_Airspace(st);
  EXPECT_EQ(st.airspace_count, 2);
  EXPECT_EQ(st.airspaces.size(), 3u);
  EXPECT_EQ(&e, &st.airspaces[1]);
  EXPECT_EQ(e, Airspace_Entry{});
  Boundary_Point& p = Append_Point(e);
  EXPECT_EQ(e.point_count, 1);
  EXPECT_EQ(&p, &e.points[0]);
}

}  // namespace
}  // namespace orv
