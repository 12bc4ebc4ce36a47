#include "scenery/taxi_record.h"

#include <gtest/gtest.h>

#include <cmath>

#include "airspace/airspace_reader.h"
#include "core/program_state.h"
#include "scenery/geo_math.h"
#include "scenery/scan_bgl_file.h"
#include "support/scenery_writer.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

constexpr double kRefLat = 47.5;
constexpr double kRefLon = -122.3;
// Degrees per metre on a sphere with one nautical mile of 1852 m per minute of arc.
constexpr double kDegPerMetre = 1.0 / (1852.0 * 60.0);

Program_State Scan(const sw::Built_File& file) {
  Program_State st;
  const Bgl_Image image = file.Image();
  Bgl_Reader rd(image);
  Scan_Bgl_File(st, rd, "taxi.bgl", Read_Airspace_Section);
  return st;
}

Airport_Entry Read_Taxiway(const sw::Taxiway_Record& taxiway,
                           const std::vector<sw::Runway_Spec>& runways = {}) {
  sw::Airport airport("TAXI");
  airport.Reference(kRefLat, kRefLon);
  for (const auto& r : runways) airport.Runway(r);
  airport.Taxiway(taxiway).Name("after the taxiway");
  const Program_State st = Scan(sw::Bgl_File().Add(airport).Build());
  EXPECT_EQ(st.airport_count, 1);
  return st.airports.at(0);
}

TEST(ParkingLabel, NamesCodeAndNumber) {
  EXPECT_EQ(Parking_Label(0x0000060C), "GATE A 12");
  EXPECT_EQ(Parking_Label(static_cast<int32_t>(sw::Parking_Identity(2, 3, 5))), "N PARKING 3");
  EXPECT_EQ(Parking_Label(static_cast<int32_t>(sw::Parking_Identity(10, 0, 9))), "GATE 0");
  EXPECT_EQ(Parking_Label(static_cast<int32_t>(sw::Parking_Identity(37, 8191, 10))), "GATE Z 8191");
  EXPECT_EQ(Parking_Label(static_cast<int32_t>(sw::Parking_Identity(11, 4))), "DOCK 4");
  // Codes without a name give the number alone.
  EXPECT_EQ(Parking_Label(static_cast<int32_t>(sw::Parking_Identity(0, 12))), "12");
  EXPECT_EQ(Parking_Label(static_cast<int32_t>(sw::Parking_Identity(38, 7))), "7");
  EXPECT_EQ(Parking_Label(static_cast<int32_t>(0xFF000000u | sw::Parking_Identity(12, 1))),
            "GATE A 1");
}

TEST(ReadTaxiRecord, PlacesPointsAndParkingsByTheirOffsets) {
  const Airport_Entry a =
      Read_Taxiway(sw::Taxiway_Record()
                       .Points({{.kind = 1, .x = 0, .y = 0},
                                {.kind = 2, .x = -100, .y = 50},
                                {.kind = 3, .x = 250, .y = -75}})
                       .Parkings({{.x = 10, .y = 20, .radius = 20, .identity = 0x60C}}));
  ASSERT_EQ(a.taxi_point_count, 3);
  ASSERT_EQ(a.taxi_points.size(), 3u);  // sized exactly, no spare
  // The reference point as the file stores it (its latitude unit is about a metre).
  const double ref_lat = a.lat, ref_lon = a.lon;
  EXPECT_NEAR(ref_lat, kRefLat, 1e-5);
  EXPECT_EQ(a.taxi_points[0], (Taxi_Point{1, ref_lat, ref_lon}));
  const double cos_lat = std::cos(ref_lat * PI / 180);
  EXPECT_EQ(a.taxi_points[1].kind, 2);
  EXPECT_NEAR(a.taxi_points[1].lat, ref_lat + 50 * kDegPerMetre, 1e-6);
  EXPECT_NEAR(a.taxi_points[1].lon, ref_lon - 100 * kDegPerMetre / cos_lat, 1e-6);
  EXPECT_NEAR(a.taxi_points[2].lat, ref_lat - 75 * kDegPerMetre, 1e-6);
  EXPECT_NEAR(a.taxi_points[2].lon, ref_lon + 250 * kDegPerMetre / cos_lat, 1e-6);
  // Each coordinate is one move from the reference point, rounded to 6 decimals.
  EXPECT_EQ(a.taxi_points[1].lat, Point_From_Radial(ref_lat, ref_lon, 0, 50).lat);
  EXPECT_EQ(a.taxi_points[1].lon, Point_From_Radial(ref_lat, ref_lon, 270, 100).lon);
  ASSERT_EQ(a.parking_count, 1);
  EXPECT_EQ(a.parkings[0].label, "GATE A 12");
  EXPECT_EQ(a.parkings[0].radius_ft, 66);
  EXPECT_EQ(a.name, "AFTER THE TAXIWAY");  // the detail goes on after the record
}

TEST(ReadTaxiRecord, NamesLabelTaxiwaySegmentsAndRunwaysLabelRunwaySegments) {
  sw::Runway_Spec first{
      .lat = kRefLat, .lon = kRefLon, .true_heading = 90, .length_ft = 5000, .number = 9};
  sw::Runway_Spec second{.lat = kRefLat,
                         .lon = kRefLon,
                         .true_heading = 160,
                         .length_ft = 9000,
                         .side = 2,
                         .number = 16};
  const Airport_Entry a = Read_Taxiway(sw::Taxiway_Record()
                                           .Points({{}, {}, {}})
                                           .Paths({{.kind = 0, .start = 0, .end = 1, .name = 0},
                                                   {.kind = 0, .start = 1, .end = 2, .name = 2},
                                                   {.kind = 0, .start = 2, .end = 0, .name = 7},
                                                   {.kind = 1, .start = 0, .end = 2, .name = 1},
                                                   {.kind = 1, .start = 0, .end = 2, .name = 2},
                                                   {.kind = 2, .start = 0, .end = 0, .name = 3}})
                                           .Names({"A", "B", "C", "D"}),
                                       {first, second});
  ASSERT_EQ(a.taxi_path_count, 6);
  EXPECT_EQ(a.taxi_paths[0].label, "A");
  EXPECT_EQ(a.taxi_paths[1].label, "C");
  EXPECT_EQ(a.taxi_paths[2].label, "7");
  EXPECT_EQ(a.taxi_paths[3].label, "Runway 16R");
  EXPECT_EQ(a.taxi_paths[4].label, "2");  // runway 2 is the spare element, not a runway
  EXPECT_EQ(a.taxi_paths[5].label, "3");
  EXPECT_EQ(a.taxi_paths[3], (Taxi_Path{1, 0, 2, "Runway 16R"}));
}

TEST(ReadTaxiRecord, ANameThatIsANumberCanBeReplacedAgain) {
  const Airport_Entry a = Read_Taxiway(
      sw::Taxiway_Record()
          .Paths({{.kind = 0, .name = 0}, {.kind = 0, .name = 1}, {.kind = 0, .name = 2}})
          .Names({"1", "Z", "0"}));
  EXPECT_EQ(a.taxi_paths[0].label, "Z");
  EXPECT_EQ(a.taxi_paths[1].label, "Z");
  EXPECT_EQ(a.taxi_paths[2].label, "0");  // name 0 came before: it does not replace it again
}

TEST(ReadTaxiRecord, WithoutNamesTheNumbersStayAndLaterListsReplaceEarlierOnes) {
  const Airport_Entry a = Read_Taxiway(sw::Taxiway_Record()
                                           .Points({{.kind = 1}, {.kind = 2}})
                                           .Paths({{.kind = 1, .name = 0}})
                                           .Points({{.kind = 9}})
                                           .Parkings({}));
  EXPECT_EQ(a.taxi_point_count, 1);
  EXPECT_EQ(a.taxi_points.at(0).kind, 9);
  EXPECT_EQ(a.taxi_paths.at(0).label, "0");
  EXPECT_EQ(a.parking_count, 0);
  EXPECT_TRUE(a.parkings.empty());
}

TEST(ReadTaxiRecord, SubRecordsNeverRunPastTheRecord) {
  // A count beyond 32767, elements past the record's end, and an unknown element size each
  // end the record; what came before stays and the detail walk goes on after the record.
  const std::vector<sw::Taxiway_Record> cases = {
      sw::Taxiway_Record().Points({{.kind = 5}}).Sub_Record(40000, 12),
      sw::Taxiway_Record().Points({{.kind = 5}}).Sub_Record(3, 20, std::vector<uint8_t>(40)),
      sw::Taxiway_Record().Points({{.kind = 5}}).Sub_Record(-1, 32),
      sw::Taxiway_Record()
          .Points({{.kind = 5}})
          .Sub_Record(1, 16, std::vector<uint8_t>(16))
          .Points({}),
  };
  for (const auto& taxiway : cases) {
    const Airport_Entry a = Read_Taxiway(taxiway);
    EXPECT_EQ(a.taxi_point_count, 1);
    EXPECT_EQ(a.taxi_points.at(0).kind, 5);
    EXPECT_EQ(a.parking_count, 0);
    EXPECT_EQ(a.name, "AFTER THE TAXIWAY");
  }
}

TEST(ReadTaxiRecord, TheRecordsSizeBoundsItsSubRecords) {
  // The size field says the record ends after the points: the paths behind it are not read,
  // and the detail walk goes on at the record's end.
  sw::Taxiway_Record taxiway =
      sw::Taxiway_Record().Points({{.kind = 4}}).Paths({{.kind = 0, .name = 0}}).Names({"A"});
  taxiway.Size_Field(8 + 12);
  sw::Airport airport("TAXI");
  airport.Reference(kRefLat, kRefLon).Taxiway(taxiway);
  const Program_State st = Scan(sw::Bgl_File().Add(airport).Build());
  ASSERT_EQ(st.airport_count, 1);
  EXPECT_EQ(st.airports[0].taxi_point_count, 1);
  EXPECT_EQ(st.airports[0].taxi_path_count, 0);
}

TEST(ReadTaxiRecord, ASubRecordCutByTheEndOfTheFileIsNotApplied) {
  const sw::Built_File file = sw::Bgl_File()
                                  .Add(sw::Airport("TAXI")
                                           .Reference(kRefLat, kRefLon)
                                           .Taxiway(sw::Taxiway_Record()
                                                        .Parkings({{.identity = 0x60C}})
                                                        .Points({{}, {}, {}, {}})))
                                  .Build();
  const int64_t points = file.layout.airports[0].taxiways[0].sub_records[1];
  const std::vector<uint8_t> cut(file.bytes.begin(), file.bytes.begin() + points + 8 + 30);
  const Bgl_Image image = Make_Bgl_Image(cut);
  Bgl_Reader rd(image);
  Program_State st;
  EXPECT_EQ(Scan_Bgl_File(st, rd, "cut.bgl", Read_Airspace_Section), Walk_Stop::out_of_image);
  ASSERT_EQ(st.airport_count, 1);
  EXPECT_EQ(st.airports[0].parking_count, 1);
  EXPECT_EQ(st.airports[0].taxi_point_count, 0);
  EXPECT_TRUE(st.airports[0].taxi_points.empty());
}

TEST(ReadTaxiRecord, ATaxiwayBeforeTheReferencePointUsesTheOrigin) {
  const Program_State st =
      Scan(sw::Bgl_File()
               .Add(sw::Airport("ORIG")
                        .Taxiway(sw::Taxiway_Record().Points({{.x = 1852, .y = 0}}))
                        .Reference(10, 10))
               .Build());
  EXPECT_EQ(st.airports[0].taxi_points[0].lat, 0.0);
  EXPECT_EQ(st.airports[0].taxi_points[0].lon, 0.016667);
}

}  // namespace
}  // namespace orv
