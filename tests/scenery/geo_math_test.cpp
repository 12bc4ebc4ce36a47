#include "scenery/geo_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace orv {
namespace {

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(Round_Half_Even(0.5), 0.0);
  EXPECT_EQ(Round_Half_Even(1.5), 2.0);
  EXPECT_EQ(Round_Half_Even(2.5), 2.0);
  EXPECT_EQ(Round_Half_Even(-2.5), -2.0);
  EXPECT_EQ(Round_Decimals(0.125, 2), 0.12);
  EXPECT_EQ(Round_Decimals(0.375, 2), 0.38);
}

TEST(NormHeading, FoldsOnceOnly) {
  EXPECT_EQ(Norm_Heading(360), 360);
  EXPECT_EQ(Norm_Heading(361), 1);
  EXPECT_EQ(Norm_Heading(-90), 270);
  EXPECT_EQ(Norm_Heading(725), 365);
  EXPECT_EQ(Norm_Heading(0), 0);
  EXPECT_EQ(Norm_Heading(-360), 0);
}

TEST(ArcSinArcCos, AreGuardedAndExactAtTheEnds) {
  EXPECT_EQ(Arc_Sin(1.0000001), 0.0);
  EXPECT_EQ(Arc_Sin(-1.5), 0.0);
  EXPECT_EQ(Arc_Cos(1.0000001), 0.0);
  // The formula gives the library's pi/2 at the ends; Arc_Cos(-1) is the 15-digit pi itself.
  EXPECT_EQ(Arc_Sin(1.0), 2.0 * std::atan(1.0));
  EXPECT_EQ(Arc_Sin(-1.0), -2.0 * std::atan(1.0));
  EXPECT_EQ(Arc_Cos(-1.0), PI);
  EXPECT_EQ(Arc_Cos(1.0), 0.0);
  EXPECT_NEAR(Arc_Sin(0.5), std::asin(0.5), 1e-15);
  EXPECT_NEAR(Arc_Cos(-0.3), std::acos(-0.3), 1e-14);
}

TEST(RealMod, IsAFlooredRemainder) {
  EXPECT_DOUBLE_EQ(Real_Mod(7.0, 3.0), 1.0);
  EXPECT_DOUBLE_EQ(Real_Mod(-1.0, 3.0), 2.0);
  EXPECT_DOUBLE_EQ(Real_Mod(-6.0, 3.0), 0.0);
}

TEST(HexByte, IsTwoUpperCaseDigits) {
  EXPECT_EQ(Hex_Byte(0), "00");
  EXPECT_EQ(Hex_Byte(10), "0A");
  EXPECT_EQ(Hex_Byte(255), "FF");
}

float Bits_As_Float(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

TEST(LongToSingle, MatchesIeeeForNormalNumbersAndItsOwnRulesElsewhere) {
  EXPECT_EQ(Long_To_Single(0x3F800000), 1.0f);
  EXPECT_EQ(Long_To_Single(static_cast<int32_t>(0xC1200000u)), -10.0f);
  EXPECT_EQ(Long_To_Single(0x7F800000), 0.0f);  // exponent field 255
  EXPECT_EQ(Long_To_Single(0), 0.0f);
  for (uint32_t bits : {0x42C80000u, 0xC2F6E979u, 0x3DCCCCCDu, 0x7F7FFFFFu, 0x00800000u}) {
    EXPECT_EQ(Long_To_Single(static_cast<int32_t>(bits)), Bits_As_Float(bits)) << bits;
  }
  // An exponent field of 0 keeps the implied leading 1: 2^-127, not IEEE's denormal.
  EXPECT_EQ(Long_To_Single(0x00000000 | 0x1), std::ldexp(1.0f + std::ldexp(1.0f, -23), -127));
  EXPECT_EQ(Long_To_Single(static_cast<int32_t>(0x80000000u)), -std::ldexp(1.0f, -127));
}

TEST(PointFromRadial, MovesOneArcMinutePerNauticalMile) {
  const Geo_Point east = Point_From_Radial(0.0, 0.0, 90, 1852.0);
  EXPECT_EQ(east.lat, 0.0);
  EXPECT_EQ(east.lon, 0.016667);
  const Geo_Point north = Point_From_Radial(0.0, 0.0, 0, 1852.0);
  EXPECT_EQ(north.lat, 0.016667);
  EXPECT_EQ(north.lon, 0.0);
}

TEST(PointFromRadial, DropsTheSignOfTheDistance) {
  const Geo_Point west = Point_From_Radial(47.5, -122.3, 270, -500.0);
  const Geo_Point same = Point_From_Radial(47.5, -122.3, 270, 500.0);
  EXPECT_EQ(west.lat, same.lat);
  EXPECT_EQ(west.lon, same.lon);
  EXPECT_LT(west.lon, -122.3);
  EXPECT_NEAR(west.lon, -122.3 - 500.0 / 1852.0 / 60.0 / std::cos(47.5 * PI / 180.0), 1e-6);
}

TEST(PointFromRadial, RoundsToSixDecimalsAndWrapsAcrossTheDateLine) {
  const Geo_Point p = Point_From_Radial(10.0, 179.999, 90, 1000.0);
  EXPECT_LT(p.lon, -179.99);
  EXPECT_EQ(p.lon, Round_Decimals(p.lon, 6));
  const Geo_Point q = Point_From_Radial(-33.9, 151.2, 180, 100.0);
  EXPECT_EQ(q.lat, Round_Decimals(-33.9 - 100.0 / 1852.0 / 60.0, 6));
}

// The moves that share a start's trigonometry give Point_From_Radial's values to the bit, at the
// poles, across the date line and for distances of either sign.
TEST(RadialMoves, GiveThePointFromRadialsCoordinates) {
  for (const double lat : {-90.0, -47.25, 0.0, 33.3, 89.99, 90.0}) {
    for (const double lon : {-180.0, -122.3, 0.0, 179.999}) {
      const Radial_Start start = Radial_Start_At(lat, lon);
      for (const int16_t course : {0, 90, 180, 270, 45}) {
        const Radial_Course c = Radial_Course_Of(course);
        for (const double d : {-1500.5, 0.0, 0.25, 40.0, 25000.0}) {
          const Geo_Point p = Point_From_Radial(lat, lon, course, d);
          EXPECT_EQ(Radial_Lat(start, c, d), p.lat) << lat << " " << lon << " " << course;
          EXPECT_EQ(Radial_Lon(start, c, d), p.lon) << lat << " " << lon << " " << course;
        }
      }
    }
  }
}

}  // namespace
}  // namespace orv
