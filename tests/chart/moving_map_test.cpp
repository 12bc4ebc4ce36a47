// The moving map's engine: the nearest search against a brute-force reference on a generated
// world, the trail's 30-minute window, and the hit test at the edges of a runway's surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "chart/aircraft_trail.h"
#include "chart/chart_hit_test.h"
#include "chart/nearest_airports.h"

namespace orv {
namespace {

// The angle between two positions from their unit vectors: another formula than the search's.
double Reference_Nm(double lat1, double lon1, double lat2, double lon2) {
  const double r = PI / 180.0;
  const double dot = std::cos(lat1 * r) * std::cos(lat2 * r) * std::cos((lon2 - lon1) * r) +
                     std::sin(lat1 * r) * std::sin(lat2 * r);
  return std::acos(std::clamp(dot, -1.0, 1.0)) * 10800.0 / PI;
}

TEST(Nearest_Airports, OrderAndDistancesMatchABruteForceReference) {
  std::mt19937 gen(23);
  std::uniform_real_distribution<double> lat(-89.0, 89.0), lon(-180.0, 180.0);
  std::vector<Airport_Index_Entry> world(3000);
  for (Airport_Index_Entry& e : world) e.lat = lat(gen), e.lon = lon(gen);
  Mag_Var_Table table{};
  for (int probe = 0; probe < 20; ++probe) {
    const double plat = lat(gen), plon = lon(gen);
    std::vector<std::pair<double, size_t>> all;
    for (size_t i = 0; i < world.size(); ++i)
      all.push_back({Reference_Nm(plat, plon, world[i].lat, world[i].lon), i});
    std::sort(all.begin(), all.end());
    const std::vector<Nearest_Airport> near = Find_Nearest(world, table, plat, plon, 20);
    ASSERT_EQ(near.size(), 20u);
    for (size_t k = 0; k < near.size(); ++k) {
      EXPECT_EQ(near[k].entry, all[k].second) << probe << " " << k;
      EXPECT_NEAR(near[k].distance_nm, all[k].first, 1e-6 * (1 + all[k].first));
      EXPECT_TRUE(near[k].bearing_mag >= 1 && near[k].bearing_mag <= 360);
    }
  }
  EXPECT_TRUE(Find_Nearest(world, table, 0, 0, 0).empty());
  EXPECT_EQ(Find_Nearest(world, table, 0, 0, 5000).size(), world.size());
  // Due east at the equator, 60 miles a degree; with 10 degrees east variation, 080 magnetic.
  EXPECT_NEAR(Distance_Nm(0, 0, 0, 1), 60.0, 1e-9);
  EXPECT_NEAR(Bearing_True(0, 0, 0, 1), 90.0, 1e-9);
  for (int16_t& v : table) v = static_cast<int16_t>(10 * 65536 / 360 + 1);
  EXPECT_EQ(Bearing_Mag(table, 90.0, 0, 0), 80);
  EXPECT_EQ(Bearing_Mag(table, 10.0, 0, 0), 360);
}

TEST(Aircraft_Trail, KeepsThirtyMinutes) {
  using std::chrono::minutes;
  Aircraft_Trail trail;
  trail.Add(minutes(0), 1, 1);
  trail.Add(minutes(30), 2, 2);
  EXPECT_EQ(trail.Points().size(), 2u);  // exactly 30 minutes old stays
  trail.Add(minutes(31), 3, 3);
  ASSERT_EQ(trail.Points().size(), 2u);
  EXPECT_EQ(trail.Points().front().lat, 2);
  trail.Forget_Before(minutes(90));
  EXPECT_TRUE(trail.Points().empty());
}

class Hit_Test_Runway : public ::testing::Test {
 protected:
  void SetUp() override {
    Runway_Rec& w = st.cur_airport.runways.emplace_back();  // 10000 x 150 ft, north-south
    w.end1_name = "16", w.end2_name = "34";
    w.end1_lat = 47.0 + 5000.0 / 364800.0, w.end2_lat = 47.0 - 5000.0 / 364800.0;
    w.end1_lon = w.end2_lon = -122.0;
    w.length_ft = 10000, w.width_ft = 150, w.elev_ft = 433;
    w.end1_mag_hdg = 161, w.end2_mag_hdg = 341;
    st.cur_airport.runways.emplace_back();
    st.cur_airport.runway_count = 1;
    st.cur_airport.ils = {Ils_Rec{"ISEA", 47.0 - 5500.0 / 364800.0, -122.0, 161, "110.3"}, {}};
    st.cur_airport.ils_count = 1;
    view.win_w_px = 1000, view.win_h_px = 1000, view.zoom_level = 20;
    view.view_left = -122.001, view.view_right = -121.999;
    view.view_top = 47.001, view.view_bottom = 46.999;
  }
  // The pixel of a point ft feet east of the runway's middle (and north_ft north).
  Chart_Hit At(double east_ft, double north_ft = 0) {
    const double lon = -122.0 + east_ft / (364800.0 * std::cos(47.0 * PI / 180.0));
    const double lat = 47.0 + north_ft / 364800.0;
    return Hit_Test(st, view, (lon - view.view_left) / (view.view_right - view.view_left) * 1000,
                    (view.view_top - lat) / (view.view_top - view.view_bottom) * 1000);
  }
  Program_State st;
  Chart_View view;
};

TEST_F(Hit_Test_Runway, TheSurfaceEndsAtHalfItsWidthAndLength) {
  EXPECT_EQ(At(74.0).kind, Hit_Kind::runway);
  EXPECT_EQ(At(-74.0, 4990).kind, Hit_Kind::runway);
  EXPECT_EQ(At(76.0).kind, Hit_Kind::none);
  EXPECT_EQ(At(0, 5010).kind, Hit_Kind::none);
  EXPECT_TRUE(On_Runway_Surface(st.cur_airport.runways[0], 47.0 - 4999.0 / 364800.0, -122.0));
  // Far out a runway is thinner than a pixel: its drawn line is what the pointer finds.
  view.zoom_level = 9;
  view.view_left = -122.5, view.view_right = -121.5, view.view_top = 47.5, view.view_bottom = 46.5;
  EXPECT_EQ(At(500.0).kind, Hit_Kind::runway);  // 2 px from the line
  EXPECT_EQ(At(1000.0).kind, Hit_Kind::none);   // 4 px
  EXPECT_EQ(Hit_Text(st, {Hit_Kind::runway, 0}),
            "Runway 16/34\n10000 x 150 ft, elevation 433 ft\nHeadings 161\xB0 / 341\xB0 "
            "magnetic\nILS ISEA 110.3, course 161\xB0");
  // Near, a gate within its radius comes before the runway it stands on; taxiways need a name.
  Airport_Entry& a = st.cur_airport;
  a.parkings = {Parking_Rec{"GATE A 4", 47.0, -122.0 + 60.0 / (364800.0 * 0.682), 66}};
  a.parking_count = 1;
  a.taxi_points = {{0, 47.0, -122.0005}, {0, 47.0, -122.0009}};
  a.taxi_paths = {{0, 0, 1, "B"}};
  a.taxi_point_count = 2, a.taxi_path_count = 1;
  st.show_gates = st.show_twys = true;
  view.zoom_level = 20;
  view.view_left = -122.001, view.view_right = -121.999, view.view_top = 47.001;
  view.view_bottom = 46.999;
  EXPECT_EQ(At(70.0), (Chart_Hit{Hit_Kind::gate, 0}));
  EXPECT_EQ(Hit_Text(st, At(70.0)), "GATE A 4\nRadius 66 ft");
  EXPECT_EQ(Hit_Text(st, At(-150.0)), "Taxiway B");
}

}  // namespace
}  // namespace orv
