// The chart window's behaviour on a recording view: the load with and without a simulator, the
// zoom and centre buttons, minimising, the windows that hold the timer, the tick that follows
// the aircraft, and the link failing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/diagram_frame.h"
#include "data/chart_style_file.h"
#include "recording_views.h"
#include "simlink/link_module.h"

namespace orv {
namespace {

constexpr double kLat = 47.449;
constexpr double kLon = -122.309;

class Chart_Events : public Recording_Test {
 protected:
  void SetUp() override {
    Recording_Test::SetUp();
    st.cur_airport.ident = "KSEA";
    st.cur_airport.name = "SEATTLE-TACOMA INTL";
    st.cur_airport.lat = kLat;
    st.cur_airport.lon = kLon;
  }

  // Opens the chart over the in-memory module, or with no simulator to be found.
  Chart_Behaviour& Open(bool with_sim) {
    fake.fake->has_main_class = with_sim;
    windows.link = std::move(fake.link);
    windows.Show_Chart();
    return *windows.chart;
  }

  // The module's aircraft, as raw interface values.
  void Put_Aircraft(double lat, double lon) {
    Image_Put(fake.fake->image, OFS_ACFT_LAT_HIGH,
              static_cast<uint32_t>(static_cast<int32_t>(lat * 10001750.0 / 90.0)), 4);
    Image_Put(fake.fake->image, OFS_ACFT_LON_HIGH,
              static_cast<uint32_t>(static_cast<int32_t>(lon * 4294967296.0 / 360.0)), 4);
  }

  static double Centre_Lon(const Chart_View& v) { return (v.view_left + v.view_right) / 2; }
  static double Centre_Lat(const Chart_View& v) { return (v.view_top + v.view_bottom) / 2; }
};

TEST_F(Chart_Events, WithoutSimulatorTheChartZoomsCentresAndHoldsItsTimerForOtherWindows) {
  st.altim_units = 0;
  st.show_gates = false;
  Chart_Behaviour& chart = Open(false);
  const Calls load = log.Take();
  EXPECT_TRUE(Has(load, "Form4 message warning: " + std::string(MSG_NO_SIM_AT_LOAD)));
  EXPECT_TRUE(Has(load, "Form4 caption SEATTLE-TACOMA INTL Chart"));
  EXPECT_FALSE(Has(load, "end"));
  EXPECT_EQ(load.back(), "Form4 Timer1 on");
  EXPECT_FALSE(chart.Sim_Connected());
  EXPECT_EQ(chart.Link().link_view, nullptr);
  EXPECT_TRUE(st.follow_acft && st.show_ils && st.show_twys && st.show_twy_ids && st.show_gates &&
              st.show_airspace);
  EXPECT_EQ(st.altim_units, 1);

  const Chart_View& v = chart.Projection();
  EXPECT_EQ(v.zoom_level, 9);
  EXPECT_NEAR(v.view_right - v.view_left, 1.40624921875, 1e-12);
  EXPECT_NEAR(v.view_top - v.view_bottom, 0.70312421875, 1e-12);
  EXPECT_NEAR(Centre_Lon(v), kLon, 1e-9);
  EXPECT_NEAR(Centre_Lat(v), kLat, 1e-9);
  Chart_View expected = v;
  Load_View(expected, kLon, kLat);
  EXPECT_EQ(v, expected);

  // Without a simulator a tick only redraws: no message, no read.
  chart.Aircraft_Tick();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 redraw"}));

  // The zoom stops at its limits with the timer running on.
  const double span9 = v.view_right - v.view_left;
  chart.Zoom_Out();
  EXPECT_EQ(v.zoom_level, 8);
  EXPECT_DOUBLE_EQ(v.view_right - v.view_left, 2 * span9);
  for (int i = 0; i < 30; ++i) chart.Zoom_In();
  EXPECT_EQ(v.zoom_level, 20);
  const Chart_View at_max = v;
  log.Take();
  chart.Zoom_In();
  EXPECT_EQ(v, at_max);
  for (int i = 0; i < 30; ++i) chart.Zoom_Out();
  EXPECT_EQ(v.zoom_level, 1);
  const Chart_View at_min = v;
  chart.Zoom_Out();
  EXPECT_EQ(v, at_min);
  EXPECT_EQ(log.Take().back(), "Form4 Timer1 on");

  // Moved away by a click, then back to the reference point at the same zoom level.
  for (int i = 0; i < 12; ++i) chart.Zoom_In();
  chart.Mouse_Down(true, 20, 30, CHART_CLIENT_W, CHART_CLIENT_H);
  EXPECT_GT(std::abs(Centre_Lon(v) - kLon), 1e-3);
  chart.Center_On_Airport();
  EXPECT_EQ(v.zoom_level, 13);
  EXPECT_NEAR(Centre_Lon(v), kLon, 1e-9);
  EXPECT_NEAR(Centre_Lat(v), kLat, 1e-9);

  // Minimised, a resize starts nothing; restored, the window is measured again and runs.
  log.Take();
  windows.chart_view->minimized = true;
  chart.Resized();
  chart.Resized();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "Form4 Timer1 off"}));
  windows.chart_view->minimized = false;
  windows.chart_view->outer = {420, 330};
  chart.Resized();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "Form4 Timer1 on"}));
  EXPECT_EQ(v.win_w_px, 420);
  EXPECT_EQ(v.win_h_px, 330);

  // The preferences and the About window hold the timer until they close.
  chart.Open_Preferences();
  log.Take();
  // Zooming or resizing the chart does not restart the timer while they are open.
  chart.Zoom_In();
  chart.Resized();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "Form4 redraw", "Form4 Timer1 off"}));
  windows.prefs_view->Close();  // the close box
  EXPECT_EQ(log.Take(), (Calls{"Form5 close", "Form4 Timer1 on"}));

  chart.Open_About();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 off", "open Form6"}));
  windows.about_closed();
  EXPECT_EQ(log.Take(), (Calls{"Form4 Timer1 on"}));
}

TEST_F(Chart_Events, TickFollowsTheAircraftAndTheAirportMenuClosesTheLink) {
  Put_Aircraft(47.5, -122.2);
  Chart_Behaviour& chart = Open(true);
  EXPECT_FALSE(Has(log.Take(), "Form4 message warning: " + std::string(MSG_NO_SIM_AT_LOAD)));
  EXPECT_TRUE(chart.Sim_Connected());
  // The load draws before it reads anything: the view is still on the airport.
  EXPECT_NEAR(Centre_Lon(chart.Projection()), kLon, 1e-9);

  chart.Aircraft_Tick();
  EXPECT_TRUE(Has(log.Take(), "Form4 Label1 Altimeter: 29.92"));
  EXPECT_NEAR(st.acft_lat, 47.5, 1e-5);
  EXPECT_NEAR(st.acft_lon, -122.2, 1e-5);
  EXPECT_DOUBLE_EQ(Centre_Lon(chart.Projection()), st.acft_lon);
  EXPECT_DOUBLE_EQ(Centre_Lat(chart.Projection()), st.acft_lat);

  // Millibars at the next tick; with following off the view stays where it is.
  st.altim_units = 0;
  st.follow_acft = false;
  const Chart_View before = chart.Projection();
  Put_Aircraft(47.6, -122.1);
  chart.Aircraft_Tick();
  EXPECT_EQ(log.Take(), (Calls{"Form4 topmost", "Form4 Label1 Altimeter: 1013", "Form4 redraw"}));
  EXPECT_NEAR(st.acft_lat, 47.6, 1e-5);
  EXPECT_EQ(chart.Projection(), before);

  const int unmapped = fake.fake->views_unmapped;
  chart.Change_Airport();
  EXPECT_EQ(fake.fake->views_unmapped, unmapped + 1);
}

TEST_F(Chart_Events, AFailedReadWarnsOnceClosesTheLinkAndAFailedLoadEndsTheProgram) {
  Chart_Behaviour& chart = Open(true);
  const Chart_View before = chart.Projection();
  // The module stops answering the requests: its reply is no longer 1.
  fake.fake->module = [](std::span<uint8_t>, int) { return Link_Send_Result{true, 0, 0}; };
  // The order of the calls is in the first-run walk; here the warning and the link itself.
  log.Take();
  chart.Aircraft_Tick();
  EXPECT_EQ(Said(log.Take(), "Form4 message "),
            std::vector<std::string>{"warning: " + std::string(MSG_SIM_READ_FAILED)});
  EXPECT_FALSE(chart.Sim_Connected());
  EXPECT_EQ(chart.Link().link_view, nullptr);
  EXPECT_EQ(chart.Projection(), before);
  const int sends = fake.fake->sends;
  chart.Aircraft_Tick();
  EXPECT_EQ(fake.fake->sends, sends);

  windows.link = Link_State{};
  windows.link.transport = std::make_unique<testing::Throwing_Transport>();
  windows.Show_Chart();
  const Calls load = log.Take();
  EXPECT_TRUE(Has(load, "Form4 message error: " + std::string(MSG_LOAD_FAILED)));
  EXPECT_EQ(load.back(), "end");
}

// The kept style is read at load; in the diagram a click re-centres on the place under it, and
// the classic chart's own mapping is not used.
TEST_F(Chart_Events, TheDiagramStyleIsReadAtLoadAndAClickCentresWhereItWasMade) {
  ASSERT_TRUE(Save_Chart_Style(st.work_dir / CHART_STYLE_FILE, {true, true}));
  Chart_Behaviour& chart = Open(false);
  EXPECT_TRUE(st.diagram_style);
  EXPECT_TRUE(st.night_colours);
  for (int i = 0; i < 6; ++i) chart.Zoom_In();
  const Chart_View& v = chart.Projection();
  const Geo_Pos under =
      Diagram_Unproject(Frame_Of_View(v, CHART_CLIENT_W, CHART_CLIENT_H), 40.0, 170.0);
  chart.Mouse_Down(true, 40, 170, CHART_CLIENT_W, CHART_CLIENT_H);
  EXPECT_NEAR(Centre_Lon(v), under.lon, 1e-9);
  EXPECT_NEAR(Centre_Lat(v), under.lat, 1e-9);
  // West of the airport and south of it, by what the click's offset is on the ground.
  EXPECT_LT(under.lon, kLon);
  EXPECT_LT(under.lat, kLat);
}

}  // namespace
}  // namespace orv
