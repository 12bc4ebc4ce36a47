#include "chart/chart_projection.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

double Span_X(const Chart_View& v) {
  return v.view_right - v.view_left;
}
double Span_Y(const Chart_View& v) {
  return v.view_top - v.view_bottom;
}

TEST(ChartView, LoadLeavesLevelNineCentredOnTheAirport) {
  // 359.9998 / 256 and 179.9998 / 256: eight halvings of the whole-world spans.
  Chart_View v;
  Load_View(v, 0.0, 0.0);
  EXPECT_EQ(v.zoom_level, 9);
  EXPECT_EQ(Span_X(v), 1.40624921875);
  EXPECT_EQ(Span_Y(v), 0.70312421875);
  EXPECT_EQ(v.view_left, -0.703124609375);
  EXPECT_EQ(v.view_top, 0.351562109375);

  Chart_View sea;
  Load_View(sea, -122.309, 47.449);
  EXPECT_NEAR(Span_X(sea), 1.40624921875, 1e-12);
  EXPECT_NEAR(Span_Y(sea), 0.70312421875, 1e-12);
  EXPECT_NEAR((sea.view_left + sea.view_right) / 2, -122.309, 1e-12);
  EXPECT_NEAR((sea.view_top + sea.view_bottom) / 2, 47.449, 1e-12);

  // Zooming out doubles both spans exactly, and zooming back in restores them.
  const Chart_View before = sea;
  Zoom_Out(sea);
  EXPECT_EQ(sea.zoom_level, 8);
  EXPECT_EQ(Span_X(sea), 2 * Span_X(before));
  EXPECT_EQ(Span_Y(sea), 2 * Span_Y(before));
  Zoom_In(sea);
  EXPECT_EQ(sea.zoom_level, 9);
  EXPECT_EQ(Span_X(sea), Span_X(before));
  EXPECT_EQ(Span_Y(sea), Span_Y(before));
}

TEST(ChartView, ZoomStopsAtItsLimitsAndRecentringKeepsTheSpans) {
  Chart_View v;
  v.zoom_level = 20;
  const Chart_View at_max = v;
  Zoom_In(v);
  EXPECT_EQ(v, at_max);
  Zoom_Out(v);
  EXPECT_EQ(v.zoom_level, 19);

  v = Chart_View{};
  const Chart_View at_min = v;
  Zoom_Out(v);
  EXPECT_EQ(v, at_min);
  v.zoom_level = 0;  // outside the range: neither direction moves
  const Chart_View outside = v;
  Zoom_In(v);
  Zoom_Out(v);
  EXPECT_EQ(v, outside);

  v = Chart_View{-1.0, 1.0, 1.0, -1.0, 5, 271, 228};
  Zoom_In(v);
  EXPECT_EQ(v, (Chart_View{-0.5, 0.5, 0.5, -0.5, 6, 271, 228}));
  Recenter_View(v, 10.0, -20.0);
  EXPECT_EQ(v, (Chart_View{9.5, -19.5, 10.5, -20.5, 6, 271, 228}));

  Reset_View(v);
  EXPECT_EQ(v, Chart_View{});
}

TEST(GeoToPx, MapsTheCornersAndRoundsHalvesToEven) {
  Chart_View v;
  Load_View(v, -122.309, 47.449);
  v.win_w_px = 283;
  v.win_h_px = 262;
  EXPECT_EQ(Geo_To_Px(v, v.view_top, v.view_left), (Px{0, 0}));
  EXPECT_EQ(Geo_To_Px(v, v.view_bottom, v.view_right), (Px{283, 262}));

  // x = lon / 2 and y = (8 - lat) / 2 in this view.
  const Chart_View half{0.0, 8.0, 8.0, 0.0, 1, 4, 4};
  EXPECT_EQ(Geo_To_Px(half, 7.0, 1.0), (Px{0, 0}));      // 0.5, 0.5
  EXPECT_EQ(Geo_To_Px(half, 5.0, 3.0), (Px{2, 2}));      // 1.5, 1.5
  EXPECT_EQ(Geo_To_Px(half, 3.0, 5.0), (Px{2, 2}));      // 2.5, 2.5
  EXPECT_EQ(Geo_To_Px(half, 11.0, -3.0), (Px{-2, -2}));  // outside the view: not clipped
}

TEST(GeoToPx, GivesNothingForPixelsBeyondThirtyTwoBits) {
  const Chart_View wide{0.0, 1.0, 1.0, 0.0, 13, 2147483647, 2147483647};
  EXPECT_EQ(Geo_To_Px(wide, 0.0, 1.0), (Px{2147483647, 2147483647}));
  EXPECT_EQ(Geo_To_Px(wide, 0.0, -1.0), (Px{-2147483647, 2147483647}));
  EXPECT_FALSE(Geo_To_Px(wide, 0.0, 2.0).has_value());
  EXPECT_FALSE(Geo_To_Px(wide, -1.0, 0.5).has_value());
  EXPECT_FALSE(Geo_To_Px(wide, 0.5, -1e300).has_value());

  const Chart_View flat{5.0, 1.0, 5.0, 0.0, 13, 100, 100};
  EXPECT_FALSE(Geo_To_Px(flat, 0.5, 5.0).has_value());
}

TEST(PctWidthPx, IsOnePercentRoundedHalfToEven) {
  Chart_View v;
  v.win_w_px = 271;
  EXPECT_EQ(Pct_Width_Px(v, 1), 3);
  v.win_w_px = 250;
  EXPECT_EQ(Pct_Width_Px(v, 1), 2);
  v.win_w_px = 350;
  EXPECT_EQ(Pct_Width_Px(v, 1), 4);
  v.win_w_px = 50;
  EXPECT_EQ(Pct_Width_Px(v, 1), 0);
  EXPECT_EQ(Pct_Width_Px(v, 10), 5);
}

TEST(MouseToGeo, UsesTheClientAreaNotTheOuterSize) {
  const Chart_View v{-10.0, 5.0, 10.0, -5.0, 9, 300, 150};
  const auto pos = Mouse_To_Geo(v, 50, 25, 200, 100);
  ASSERT_TRUE(pos.has_value());
  EXPECT_EQ(pos->lon, -5.0);
  EXPECT_EQ(pos->lat, 2.5);
  const auto corner = Mouse_To_Geo(v, 200, 100, 200, 100);
  EXPECT_EQ(corner->lon, 10.0);
  EXPECT_EQ(corner->lat, -5.0);
  EXPECT_FALSE(Mouse_To_Geo(v, 1, 1, 0, 100).has_value());
  EXPECT_FALSE(Mouse_To_Geo(v, 1, 1, 100, -1).has_value());
}

TEST(Distances, AreWholeNauticalMilesAndFeetCappedAt32767) {
  EXPECT_EQ(Dist_Nm(10.0, 10.0, 10.0, 10.0), 0);
  EXPECT_EQ(Dist_Ft(10.0, 10.0, 10.0, 10.0), 0);
  // One degree of the equator is 60 minutes of arc, 60 NM, 364800 ft.
  EXPECT_EQ(Dist_Nm(0.0, 0.0, 0.0, 1.0), 60);
  EXPECT_EQ(Dist_Ft(0.0, 0.0, 0.0, 1.0), 32767);
  // 0.001 degree = 0.06 NM = 364.8 ft.
  EXPECT_EQ(Dist_Ft(0.0, 0.0, 0.0, 0.001), 365);
  // 1.4e-6 degree = 0.000084 NM: kept to 5 decimals that is 0.00008 NM = 0.4864 ft, so 0,
  // where the unrounded 0.51072 ft would give 1.
  EXPECT_EQ(Dist_Ft(0.0, 0.0, 1.4e-6, 0.0), 0);
  // Far apart (the cosine form): 170 degrees of the equator, and a quarter turn.
  EXPECT_EQ(Dist_Nm(0.0, 0.0, 0.0, 170.0), 10200);
  EXPECT_EQ(Dist_Nm(0.0, 0.0, 0.0, 90.0), 5400);
  EXPECT_EQ(Dist_Nm(0.0, 0.0, 90.0, 0.0), 5400);
}

TEST(CourseTrue, FollowsTheFifteenDigitPiAndRoundsDown) {
  EXPECT_EQ(Course_True(10.0, 10.0, 10.0, 10.0), 360);
  // Due north: the course is exactly 2 pi, 360 degrees, and 360 - 360 folds to 0.
  EXPECT_EQ(Course_True(0.0, 0.0, 1.0, 0.0), 0);
  EXPECT_EQ(Course_True(0.0, 0.0, -1.0, 0.0), 180);
  // Due east along the equator the inverse cosine is the exact pi/2, so the west-positive
  // course is 2 x 3.14159265358979 - pi/2, and times 180 / 3.14159265358979 that falls just
  // short of 270: 269 rounded down, so 91.
  EXPECT_EQ(Course_True(0.0, 0.0, 0.0, 1.0), 91);
  // Due west: pi/2 x 180 / 3.14159265358979 is just above 90, so 90 and then 270.
  EXPECT_EQ(Course_True(0.0, 0.0, 0.0, -1.0), 270);
  EXPECT_EQ(Course_True(0.0, 0.0, 1.0, 1.0), 45);
  EXPECT_EQ(Course_True(0.002, 0.002, 0.002, 0.006), 90);
}

TEST(PointAt, MovesAMinuteOfArcPerNauticalMileAndRoundsToFiveDecimals) {
  const Geo_Point east = Point_At_Nm(0.0, 0.0, 90, 60);
  EXPECT_EQ(east.lat, 0.0);
  EXPECT_EQ(east.lon, 1.0);
  const Geo_Point north = Point_At_Nm(0.0, 0.0, 0, 60);
  EXPECT_EQ(north.lat, 1.0);
  EXPECT_EQ(north.lon, 0.0);
  // 14 NM to the north-west: 14 / sqrt(2) = 9.8995 minutes = 0.16499 degree each way.
  const Geo_Point nw = Point_At_Nm(0.0, 0.0, 315, 14);
  EXPECT_EQ(nw.lat, 0.16499);
  EXPECT_EQ(nw.lon, -0.16499);
  // A negative distance stays where it is, rounded to 5 decimals.
  const Geo_Point here = Point_At_Nm(47.123456, -122.654321, 45, -3);
  EXPECT_EQ(here.lat, 47.12346);
  EXPECT_EQ(here.lon, -122.65432);
  const Geo_Point here_ft = Point_At_Ft(47.123456, -122.654321, 45, -3);
  EXPECT_EQ(here_ft.lat, 47.12346);
  EXPECT_EQ(here_ft.lon, -122.65432);
  // 6080 ft is one NM: 1/60 degree = 0.016666...
  const Geo_Point ft = Point_At_Ft(0.0, 0.0, 90, 6080);
  EXPECT_EQ(ft.lat, 0.0);
  EXPECT_EQ(ft.lon, 0.01667);
  // A heading of -90 is west, as 270 is.
  const Geo_Point w1 = Point_At_Ft(47.449, -122.309, -90, 500);
  const Geo_Point w2 = Point_At_Ft(47.449, -122.309, 270, 500);
  EXPECT_EQ(w1.lat, 47.449);
  EXPECT_EQ(w1.lon, -122.31103);
  EXPECT_EQ(w2.lat, w1.lat);
  EXPECT_EQ(w2.lon, w1.lon);
}

TEST(MagToTrue, AddsTheTruncatedVariationOfTheRoundedPosition) {
  Mag_Var_Table table{};
  // Latitude 47, longitude -122 (238 east): 3000 units are 16.479 degrees, truncated 16.
  table[238 * 181 + 47 + 90] = 3000;
  EXPECT_EQ(Mag_To_True(table, 100, 47.449, -122.309), 116);
  EXPECT_EQ(Mag_To_True(table, 350, 47.449, -122.309), 6);
  table[238 * 181 + 47 + 90] = -3000;
  EXPECT_EQ(Mag_To_True(table, 100, 47.449, -122.309), 84);
  EXPECT_EQ(Mag_To_True(table, 10, 47.449, -122.309), 354);
  // -180 and 180 share the column of 180 degrees east; 1820 units are 9.997, truncated 9.
  table[180 * 181 + 0 + 90] = 1820;
  EXPECT_EQ(Mag_To_True(table, 0, 0.0, -180.0), 9);
  EXPECT_EQ(Mag_To_True(table, 0, 0.0, 180.0), 9);
  // Outside the grid the variation is 0.
  EXPECT_EQ(Mag_To_True(table, 45, 95.0, 0.0), 45);
  EXPECT_EQ(Mag_To_True(table, 45, 0.0, 1e12), 45);
}

}  // namespace
}  // namespace orv
