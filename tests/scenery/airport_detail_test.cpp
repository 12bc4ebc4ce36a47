#include "scenery/airport_detail.h"

#include <gtest/gtest.h>

#include <cmath>

#include "airspace/airspace_reader.h"
#include "core/program_state.h"
#include "scenery/scan_bgl_file.h"
#include "support/scenery_writer.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

// Metres per degree along a meridian, as the runway geometry measures it.
constexpr double kMetresPerDegree = 40007000.0 / 360.0;

// Builds a file holding one airport and reads it the way the database build does.
Airport_Entry Read_One(const sw::Airport& airport, const Mag_Var_Table* table = nullptr) {
  const sw::Built_File file = sw::Bgl_File().Add(airport).Build();
  Program_State st;
  if (table) st.mag_var_table = *table;
  const Bgl_Image image = file.Image();
  Bgl_Reader rd(image);
  Scan_Bgl_File(st, rd, "test.bgl", Read_Airspace_Section);
  EXPECT_EQ(st.airport_count, 1);
  return st.airports.at(0);
}

sw::Runway_Spec Runway_09_27(double lat, double lon) {
  return {.lat = lat,
          .lon = lon,
          .elevation_m = 100,
          .true_heading = 90,
          .length_ft = 9843,
          .width_ft = 150,
          .side = 0,
          .number = 9};
}

TEST(RunwayDesignators, FollowNumberAndSide) {
  struct Case {
    int32_t number, side;
    const char *end1, *end2;
  };
  const Case cases[] = {{9, 1, "9L", "27R"}, {9, 2, "9R", "27L"}, {36, 0, "36", "18"},
                        {18, 0, "18", "36"}, {0, 0, "0", "18"},   {16, 3, "16C", "34C"},
                        {4, 4, "4H", "22H"}, {27, 7, "27", "9"},  {27, -1, "27", "9"},
                        {37, 1, "", ""},     {99, 0, "", ""}};
  for (const Case& c : cases) {
    const Runway_Names n = Runway_Designators(c.number, c.side);
    EXPECT_EQ(n.end1, c.end1) << c.number << "/" << c.side;
    EXPECT_EQ(n.end2, c.end2) << c.number << "/" << c.side;
  }
}

TEST(ReadAirportDetail, RunwayEndsLieThirtyMetresInsideLongRunways) {
  const Airport_Entry a =
      Read_One(sw::Airport("TEST").Reference(0.0, 10.0).Runway(Runway_09_27(0.0, 10.0)));
  ASSERT_EQ(a.runway_count, 1);
  ASSERT_EQ(a.runways.size(), 2u);  // the used runway and the spare
  EXPECT_EQ(a.runways[1], Runway_Rec{});
  const Runway_Rec& r = a.runways[0];
  EXPECT_EQ(r.end1_name, "9");
  EXPECT_EQ(r.end2_name, "27");
  const double half = (9843 * 0.3048 - 60) / 2;  // 1470.07 m
  // End 1 lies west of the centre and end 2 east, each half the shortened length away.
  EXPECT_NEAR((r.end2_lon - r.end1_lon) / 2 * kMetresPerDegree, half, 1e-6);
  EXPECT_LT(r.end1_lon, r.end2_lon);
  EXPECT_NEAR((r.end1_lon + r.end2_lon) / 2, 10.0, 1e-7);
  EXPECT_NEAR(r.end1_lat, 0.0, 1e-12);
  EXPECT_EQ(r.elev_ft, 328);  // 100 m
  EXPECT_EQ(r.end1_mag_hdg, 90);
  EXPECT_EQ(r.end2_mag_hdg, 270);
  EXPECT_EQ(r.length_ft, 9843);
  EXPECT_EQ(r.width_ft, 150);
}

TEST(ReadAirportDetail, ShortRunwaysKeepTheirFullLengthAndHeadingsOfHalfATurnReadNegative) {
  sw::Runway_Spec shortie = Runway_09_27(0.0, 0.0);
  shortie.length_ft = 900;
  sw::Runway_Spec westward = Runway_09_27(0.0, 0.0);
  westward.true_heading = 270;
  westward.number = 27;
  const Airport_Entry a = Read_One(sw::Airport("TEST").Runway(shortie).Runway(westward));
  ASSERT_EQ(a.runway_count, 2);
  EXPECT_NEAR(-a.runways[0].end1_lon * kMetresPerDegree, 900 * 0.3048 / 2, 1e-6);
  // Stored at 270 degrees, read as -90: end 1 lies east of the centre.
  EXPECT_GT(a.runways[1].end1_lon, 0.0);
  EXPECT_EQ(a.runways[1].end1_name, "27");
  EXPECT_EQ(a.runways[1].end2_name, "9");
  EXPECT_EQ(a.runways[1].end1_mag_hdg, 270);  // -90 folded
  EXPECT_EQ(a.runways[1].end2_mag_hdg, 90);   // -270 folded
}

TEST(ReadAirportDetail, MagneticHeadingsUseTheVariationAtEachEnd) {
  auto table = std::make_unique<Mag_Var_Table>();
  table->fill(0);
  // 15.5 degrees east at 47N 238E (122W): the variation is truncated to 15.
  (*table)[(47 + 90) + 238 * 181] = static_cast<int16_t>(std::lround(15.5 / 0.0054931640625));
  sw::Runway_Spec r = Runway_09_27(47.2, -122.2);
  r.true_heading = 160;
  r.number = 16;
  sw::Runway_Spec far_end_below_minus_360 = r;
  far_end_below_minus_360.true_heading = 183;  // h = -177, h2 = -357
  far_end_below_minus_360.number = 18;
  const Airport_Entry a =
      Read_One(sw::Airport("KSEA").Runway(r).Runway(far_end_below_minus_360), table.get());
  EXPECT_EQ(a.runways[0].end1_mag_hdg, 145);
  EXPECT_EQ(a.runways[0].end2_mag_hdg, 325);  // -20 - 15 folded once
  EXPECT_EQ(a.runways[1].end1_mag_hdg, 168);
  EXPECT_EQ(a.runways[1].end2_mag_hdg, 348);  // -357 - 15 = -372: never negative
}

TEST(ReadAirportDetail, IlsCoursesMatchRunwayEndsAsDirections) {
  sw::Runway_Spec westward = Runway_09_27(0.0, 0.0);
  westward.true_heading = 270;  // h = -90, h2 = -270
  westward.number = 27;
  const Airport_Entry a =
      Read_One(sw::Airport("TEST")
                   .Runway(westward)
                   .Ils({.lat = 0.001, .lon = 0.02, .true_course = 90, .ident = "IEAST"})
                   .Ils({.lat = 0.002, .lon = -0.02, .true_course = 270, .ident = "IWEST"}));
  ASSERT_EQ(a.ils_count, 2);
  EXPECT_EQ(a.ils[0].lat, a.runways[0].end2_lat);  // 90 is -270 as a direction
  EXPECT_EQ(a.ils[0].lon, a.runways[0].end2_lon);
  EXPECT_EQ(a.ils[1].lat, a.runways[0].end1_lat);
  EXPECT_EQ(a.ils[1].lon, a.runways[0].end1_lon);
}

TEST(ReadAirportDetail, IlsMovesToTheThresholdItServes) {
  const sw::Airport airport =
      sw::Airport("TEST")
          .Runway(Runway_09_27(0.0, 0.0))
          .Ils(
              {.lat = 0.001, .lon = 0.02, .true_course = 90, .frequency = "110.3", .ident = "IONE"})
          .Ils({.lat = 0.002,
                .lon = -0.02,
                .true_course = 270,
                .frequency = "111.95",
                .ident = "ITWO"})
          .Ils(
              {.lat = 0.003, .lon = 0.01, .true_course = 45, .frequency = "109.1", .ident = "IOFF"})
          .Navaid({.lat = 0.004, .lon = 0.0, .kind = 3, .ident = "VOR"})
          .Ils({.lat = 0.005, .lon = 0.0, .true_course = 90.4, .ident = "ILAST"});
  const Airport_Entry a = Read_One(airport);
  ASSERT_EQ(a.ils_count, 4);
  ASSERT_EQ(a.ils.size(), 5u);
  const Runway_Rec& rwy = a.runways[0];
  EXPECT_EQ(a.ils[0].ident, "IONE");
  EXPECT_EQ(a.ils[0].freq, "110.3");
  EXPECT_EQ(a.ils[0].lat, rwy.end1_lat);
  EXPECT_EQ(a.ils[0].lon, rwy.end1_lon);
  EXPECT_EQ(a.ils[0].mag_hdg, 90);
  EXPECT_EQ(a.ils[1].freq, "111.95");
  EXPECT_EQ(a.ils[1].lat, rwy.end2_lat);  // stored at 270, read as -90 = h2
  EXPECT_EQ(a.ils[1].lon, rwy.end2_lon);
  EXPECT_EQ(a.ils[1].mag_hdg, 270);
  EXPECT_NEAR(a.ils[2].lat, 0.003, 1e-5);  // matches neither end: its own position
  EXPECT_NEAR(a.ils[2].lon, 0.01, 1e-6);
  EXPECT_EQ(a.ils[3].ident, "ILAST");  // after a skipped navaid, still this runway's
  EXPECT_EQ(a.ils[3].lat, rwy.end1_lat);
}

TEST(ReadAirportDetail, IlsHeadingIsTakenAtItsOwnPosition) {
  auto table = std::make_unique<Mag_Var_Table>();
  table->fill(0);
  (*table)[(1 + 90) + 0 * 181] = 1821;  // 10.0027 degrees east, truncated to 10
  const Airport_Entry a =
      Read_One(sw::Airport("TEST")
                   .Runway(Runway_09_27(0.0, 0.0))
                   .Ils({.lat = 1.0, .lon = 0.0, .true_course = 90, .ident = "IVAR"}),
               table.get());
  EXPECT_EQ(a.ils[0].mag_hdg, 80);
  EXPECT_EQ(a.runways[0].end1_mag_hdg, 90);
  EXPECT_EQ(a.ils[0].lat, a.runways[0].end1_lat);
}

TEST(ReadAirportDetail, NavaidsNotRightAfterARunwayAreSkipped) {
  const Airport_Entry a =
      Read_One(sw::Airport("TEST")
                   .Ils({.lat = 0.0, .lon = 0.0, .true_course = 90, .ident = "IBEFORE"})
                   .Runway(Runway_09_27(0.0, 0.0))
                   .Frequency(7, "118.1")
                   .Ils({.lat = 0.0, .lon = 0.0, .true_course = 90, .ident = "IAFTERFREQ"}));
  EXPECT_EQ(a.ils_count, 0);
  EXPECT_TRUE(a.ils.empty());
  EXPECT_EQ(a.runway_count, 1);
}

TEST(ReadAirportDetail, KeepsTheFirstFrequencyOfEachKeptType) {
  const Airport_Entry a = Read_One(sw::Airport("TEST")
                                       .Frequency(7, "118.1")
                                       .Frequency(7, "121.9")
                                       .Frequency(3, "119.5")
                                       .Frequency_Bcd(5, 0x011A3000)  // not decimal: no text
                                       .Frequency(5, "124.35")
                                       .Frequency(6, "121")
                                       .Frequency(8, "120.375")
                                       .Frequency(9, "119.2")
                                       .Frequency(10, "128.0")
                                       .Frequency(1, "135.45")
                                       .Frequency(11, "122.8"));
  EXPECT_EQ(a.freq7, "118.1");
  EXPECT_EQ(a.freq5, "124.35");
  EXPECT_EQ(a.freq6, "121");
  EXPECT_EQ(a.freq8, "120.375");
  EXPECT_EQ(a.freq9, "119.2");
  EXPECT_EQ(a.freq10, "128");
  EXPECT_EQ(a.freq1, "135.45");
}

TEST(ReadAirportDetail, NameIsUpperCasedInWindows1252AndLaterRecordsOverwrite) {
  const Airport_Entry a = Read_One(sw::Airport("LSZH")
                                       .Reference(1.0, 2.0)
                                       .Name("old name")
                                       .Name("Z\xFCrich Kloten \x9A")
                                       .Reference(47.458, 8.548));
  EXPECT_EQ(a.name, "Z\xDCRICH KLOTEN \x8A");
  EXPECT_NEAR(a.lat, 47.458, 1e-6);
  EXPECT_NEAR(a.lon, 8.548, 1e-6);
}

TEST(ReadAirportDetail, AnUnknownRecordEndsTheDetail) {
  const Airport_Entry a = Read_One(sw::Airport("TEST")
                                       .Name("first")
                                       .Raw_Record(sw::RECORD_SKIPPED_3, std::vector<uint8_t>(12))
                                       .Raw_Record(sw::RECORD_SKIPPED_5)
                                       .Raw_Record(0x7777, std::vector<uint8_t>(4))
                                       .Name("never read"));
  EXPECT_EQ(a.name, "FIRST");

  // An unknown type in the file's last four bytes ends the detail; the file is not damaged.
  const sw::Built_File file =
      sw::Bgl_File().Add(sw::Airport("LAST").Name("last").Raw_Record(0x7777)).Build();
  const int64_t unknown = file.layout.airports[0].Record(0x7777);
  const std::vector<uint8_t> bytes(file.bytes.begin(), file.bytes.begin() + unknown + 4);
  const Bgl_Image image = Make_Bgl_Image(bytes);
  Bgl_Reader rd(image);
  Program_State st;
  EXPECT_EQ(Scan_Bgl_File(st, rd, "last.bgl", Read_Airspace_Section), Walk_Stop::none);
  ASSERT_EQ(st.airport_count, 1);
  EXPECT_EQ(st.airports[0].name, "LAST");
}

TEST(ReadAirportDetail, ADamagedRecordChangesNothingAndEndsTheFile) {
  const sw::Built_File file =
      sw::Bgl_File()
          .Add(sw::Airport("GOOD").Name("good").Runway(Runway_09_27(0.0, 0.0)))
          .Add(sw::Airport("CUT").Name("cut").Frequency(7, "118.1").Runway(Runway_09_27(0.0, 0.0)))
          .Build();
  const sw::Airport_Layout& cut = file.layout.airports[1];
  const int64_t runway = cut.Record(sw::RECORD_RUNWAY);
  // Cut the file in the middle of the second airport's runway record.
  std::vector<uint8_t> bytes(file.bytes.begin(), file.bytes.begin() + runway + 30);
  const Bgl_Image image = Make_Bgl_Image(bytes);
  Bgl_Reader rd(image);
  Program_State st;
  EXPECT_EQ(Scan_Bgl_File(st, rd, "cut.bgl", Read_Airspace_Section), Walk_Stop::out_of_image);
  ASSERT_EQ(st.airport_count, 2);
  EXPECT_EQ(st.airports[0].runway_count, 1);
  EXPECT_EQ(st.airports[1].name, "CUT");
  EXPECT_EQ(st.airports[1].freq7, "118.1");
  EXPECT_EQ(st.airports[1].runway_count, 0);
  EXPECT_TRUE(st.airports[1].runways.empty());
}

TEST(ReadAirportDetail, ANameLongerThanAnyTextEndsTheWalk) {
  sw::Built_File file = sw::Bgl_File().Add(sw::Airport("LONG").Name("ok").Name("x")).Build();
  const int64_t second_name = file.layout.airports[0].Record(sw::RECORD_NAME, 1);
  sw::Patch_Long(file.bytes, second_name + 4, 40000);
  Program_State st;
  const Bgl_Image image = file.Image();
  Bgl_Reader rd(image);
  EXPECT_EQ(Scan_Bgl_File(st, rd, "long.bgl", Read_Airspace_Section), Walk_Stop::text_too_long);
  ASSERT_EQ(st.airport_count, 1);
  EXPECT_EQ(st.airports[0].name, "OK");
}

}  // namespace
}  // namespace orv
