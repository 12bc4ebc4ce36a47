// The chart as a moving map on a recording view: the wheel about the pointer, a drag told from
// a click, the keys, the nearest airports window opening another chart, and the trail.
#include <gtest/gtest.h>

#include "behaviour/nearest_behaviour.h"
#include "chart/chart_layers.h"
#include "chart/recording_canvas.h"
#include "data/database_files.h"
#include "recording_views.h"

namespace orv {
namespace {

class Moving_Map : public Recording_Test {
 protected:
  Chart_Behaviour& Open(bool with_sim) {
    st.cur_airport.name = "SEATTLE-TACOMA INTL";
    st.cur_airport.lat = 47.449;
    st.cur_airport.lon = -122.309;
    fake.fake->has_main_class = with_sim;
    windows.link = std::move(fake.link);
    windows.Show_Chart();
    log.Take();
    return *windows.chart;
  }
  static Px Drawn_At(const Chart_View& v, Geo_Pos g) { return *Geo_To_Px(v, g.lat, g.lon); }
};

TEST_F(Moving_Map, TheWheelKeepsThePlaceUnderThePointerAtEveryLevel) {
  Chart_Behaviour& chart = Open(false);
  const Chart_View& v = chart.Projection();
  for (int notch : {1, -1}) {
    for (int i = 0; i < 20; ++i) {
      const Geo_Pos under = Px_To_Geo(v, 37, 201);
      const int16_t level = v.zoom_level;
      chart.Mouse_Wheel(notch * WHEEL_NOTCH, 37, 201);
      EXPECT_EQ(v.zoom_level, std::clamp<int>(level + notch, ZOOM_MIN, ZOOM_MAX));
      EXPECT_EQ(Drawn_At(v, under), (Px{37, 201})) << "level " << v.zoom_level;
    }
  }
  // Fine wheels add up their steps; a turn the other way starts afresh.
  chart.Mouse_Wheel(WHEEL_NOTCH / 2, 10, 10);
  chart.Mouse_Wheel(-WHEEL_NOTCH / 2, 10, 10);
  chart.Mouse_Wheel(WHEEL_NOTCH / 2, 10, 10);
  EXPECT_EQ(v.zoom_level, 1);
  chart.Mouse_Wheel(WHEEL_NOTCH / 2, 10, 10);
  EXPECT_EQ(v.zoom_level, 2);
}

TEST_F(Moving_Map, ADragPansAndTurnsFollowingOffAClickRecentresAndTheKeysMoveTheView) {
  Chart_Behaviour& chart = Open(false);
  const Chart_View& v = chart.Projection();
  // Within a few pixels it is the click, at the press.
  Chart_View clicked = v;
  const auto at = Mouse_To_Geo(v, 100, 80, CHART_CLIENT_W, CHART_CLIENT_H);
  Recenter_View(clicked, at->lon, at->lat);
  chart.Mouse_Press(true, 100, 80);
  chart.Mouse_Move(103, 76);
  chart.Mouse_Release(true, CHART_CLIENT_W, CHART_CLIENT_H);
  EXPECT_EQ(v, clicked);
  EXPECT_TRUE(st.follow_acft);

  // Further, the chart follows the pointer and no click follows the release.
  const Geo_Pos grabbed = Px_To_Geo(v, 100, 80);
  chart.Mouse_Press(true, 100, 80);
  chart.Mouse_Move(104, 80);
  EXPECT_EQ(v, clicked);
  chart.Mouse_Move(160, 40);
  chart.Mouse_Move(150, 50);
  chart.Mouse_Release(true, CHART_CLIENT_W, CHART_CLIENT_H);
  EXPECT_EQ(Drawn_At(v, grabbed), (Px{150, 50}));
  EXPECT_FALSE(st.follow_acft);
  EXPECT_EQ(v.zoom_level, 9);

  const double w = v.view_right - v.view_left;
  const double left = v.view_left;
  EXPECT_TRUE(chart.Key_Down(Chart_Key::right));
  EXPECT_NEAR(v.view_left - left, w / 4, 1e-12);
  EXPECT_TRUE(chart.Key_Down(Chart_Key::plus));
  EXPECT_EQ(v.zoom_level, 10);
  chart.Key_Down(Chart_Key::home);
  EXPECT_NEAR((v.view_top + v.view_bottom) / 2, st.cur_airport.lat, 1e-9);
  chart.Key_Down(Chart_Key::f);
  EXPECT_TRUE(st.follow_acft);
}

TEST_F(Moving_Map, TheNearestAirportsOpenTheChosenChartAndTheListIsNearestFirst) {
  st.airports.assign(4, Airport_Entry{});
  const double lats[] = {47.9, 47.46, 47.0};  // about 27, 1 and 27 miles from the airport
  for (int i = 0; i < 3; ++i) {
    st.airports[i].ident = "K" + std::to_string(i);
    st.airports[i].name = "FIELD";
    st.airports[i].lat = lats[i];
    st.airports[i].lon = -122.309;
  }
  st.airport_count = 3;
  ASSERT_TRUE(Write_Airport_File(st).ok);
  ASSERT_TRUE(Write_Airspace_List(st).ok);
  Release_To_Spare(st.airports);
  Chart_Behaviour& chart = Open(false);
  chart.Open_Nearest();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "open Form7"}));
  EXPECT_EQ(windows.nearest.heading, NEAREST_TO_CENTRE);
  ASSERT_EQ(windows.nearest.items.size(), 3u);
  EXPECT_EQ(windows.nearest.items[0], "K1 (FIELD)  0.7 nm  360\xC2\xB0");
  EXPECT_TRUE(windows.nearest.items[1].starts_with("K2 (FIELD)  26.9 nm"));
  windows.nearest.closed();  // the window holds the timer until it closes
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 on"}));
  windows.nearest.chosen(2);
  EXPECT_EQ(st.cur_airport.ident, "K0");
  const Calls opened = log.Take();
  EXPECT_TRUE(Has(opened, "open Form4") && Has(opened, "Form4 close"));
  EXPECT_EQ(st.airports.size(), 1u);  // the airport list stays released
}

TEST_F(Moving_Map, TheTrailKeepsThirtyMinutesIsDrawnOnlyWhenSwitchedOnAndStartsAgainWithAChart) {
  Chart_Behaviour& chart = Open(true);
  chart.Set_Clock([this] { return now; });
  st.follow_acft = false;
  for (int i = 0; i < 40; ++i, now += std::chrono::minutes(1)) {
    const double lat = 47.3 + i * 0.005;  // two pixels a minute northwards
    Image_Put(fake.fake->image, OFS_ACFT_LAT_HIGH,
              static_cast<uint32_t>(static_cast<int32_t>(lat * 10001750.0 / 90.0)), 4);
    chart.Aircraft_Tick();
  }
  EXPECT_EQ(chart.Trail().Points().size(), 31u);  // minutes 9 to 39
  Recording_Canvas plain, trail, classic;
  chart.Draw(plain);
  Redraw_Chart(classic, st, chart.Projection(), true);
  EXPECT_EQ(plain.Calls(), classic.Calls());
  st.show_trail = true;
  chart.Draw(trail);
  // The layers, then 30 steps of the trail under the aircraft, which draws as before.
  const std::vector<Draw_Call>& c = trail.Calls();
  ASSERT_EQ(c.size(), plain.Calls().size() + 30);
  for (size_t i = c.size() - 33; i < c.size() - 3; ++i) EXPECT_EQ(c[i].pen.color, RGB_TRAIL);
  EXPECT_TRUE(std::equal(c.end() - 3, c.end(), plain.Calls().end() - 3));
  windows.link = Link_State{};
  windows.Show_Chart();
  EXPECT_TRUE(windows.chart->Trail().Points().empty());
  EXPECT_FALSE(st.show_trail);
}

}  // namespace
}  // namespace orv
