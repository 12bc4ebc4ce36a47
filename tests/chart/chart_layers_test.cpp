#include "chart/chart_layers.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/aircraft_symbol.h"
#include "chart/recording_canvas.h"

namespace orv {
namespace {

constexpr Rgb GREEN{0, 192, 0};
constexpr Rgb BLACK{0, 0, 0};
constexpr Rgb GATE{128, 64, 64};
constexpr Rgb GREY{192, 192, 192};
constexpr Rgb YELLOW{255, 255, 0};
constexpr Rgb BLUE{0, 0, 192};

Pen_State Pen(Rgb color, int32_t width, Rgb fill, Fill_Style fill_style,
              Line_Style style = Line_Style::solid) {
  return Pen_State{color, width, style, fill, fill_style};
}

Draw_Call Line(Px a, Px b, Pen_State pen) {
  Draw_Call c;
  c.op = Draw_Op::line;
  c.a = a;
  c.b = b;
  c.pen = pen;
  return c;
}

Draw_Call Ellipse(Px a, Px b, Pen_State pen) {
  Draw_Call c = Line(a, b, pen);
  c.op = Draw_Op::ellipse;
  return c;
}

Draw_Call Text(Px at, std::string text, Pen_State pen) {
  Draw_Call c;
  c.op = Draw_Op::text;
  c.a = at;
  c.text = std::move(text);
  c.pen = pen;
  return c;
}

Runway_Rec Runway(std::string name1, double lat1, double lon1, std::string name2, double lat2,
                  double lon2) {
  Runway_Rec w;
  w.end1_name = std::move(name1);
  w.end1_lat = lat1;
  w.end1_lon = lon1;
  w.end2_name = std::move(name2);
  w.end2_lat = lat2;
  w.end2_lon = lon2;
  return w;
}

Parking_Rec Parking(std::string label, double lat, double lon) {
  Parking_Rec p;
  p.label = std::move(label);
  p.lat = lat;
  p.lon = lon;
  return p;
}

// A small airport near (0, 0) in a view 0.01 degree square on a 1000 x 1000 window, so that a
// position maps to x = lon x 100000 and y = (0.01 - lat) x 100000.
class ChartLayers : public ::testing::Test {
 protected:
  void SetUp() override {
    Airport_Entry& a = s.cur_airport;
    a.runways = {Runway("09", 0.005, 0.001, "27", 0.005, 0.009), Runway_Rec{}};  // + spare
    a.runway_count = 1;
    a.ils = {Ils_Rec{"IABC", 0.005, 0.001, 81, "110.3"}, Ils_Rec{}};
    a.ils_count = 1;
    // 1820 units of variation at (0, 0): 9.997 degrees east, truncated to 9, so the ILS's
    // magnetic 81 is true 90 and the outline points west.
    s.mag_var_table[90] = 1820;
    a.parkings = {Parking("A1", 0.008, 0.002)};
    a.parking_count = 1;
    a.taxi_points = {Taxi_Point{0, 0.002, 0.002}, Taxi_Point{0, 0.002, 0.006},
                     Taxi_Point{0, 0.004, 0.006}};
    a.taxi_point_count = 3;
    a.taxi_paths = {
        Taxi_Path{PATH_TAXIWAY, 0, 1, "A"},
        Taxi_Path{PATH_RUNWAY, 1, 2, "B"},
        Taxi_Path{PATH_TAXIWAY, 0, 2, " "},
        Taxi_Path{PATH_PARKING, 2, 0, "C"},
        Taxi_Path{3, 0, 1, "D"},
        Taxi_Path{PATH_TAXIWAY, 0, 7, "E"},
        Taxi_Path{PATH_PARKING, 0, 1, "F"},
        Taxi_Path{PATH_TAXIWAY, -1, 0, "G"},
        Taxi_Path{PATH_TAXIWAY, 2, 1, ""},
    };
    a.taxi_path_count = 9;
    // One Class B circle around (0, 0).
    Airspace_Entry b;
    b.class_label = CLASS_B;
    b.points = {Boundary_Point{PT_CENTER, 0.0, 0.0, 0}, Boundary_Point{PT_CIRCLE, 0.0, 0.0, 1}};
    b.point_count = 2;
    s.airspaces = {b};
    s.airspace_count = 1;
    s.show_twy_ids = s.show_twys = s.show_ils = s.show_airspace = s.show_gates = true;
  }

  std::vector<Draw_Call> Draw_At(int16_t zoom) {
    Recording_Canvas canvas;
    Chart_View at = view;
    at.zoom_level = zoom;
    Draw_Chart(canvas, s, at);
    EXPECT_EQ(canvas.Pen(), Pen_State{}) << "at zoom " << zoom;
    return canvas.Calls();
  }

  static int Count(const std::vector<Draw_Call>& calls, Draw_Op op, Rgb color) {
    int n = 0;
    for (const Draw_Call& c : calls) n += c.op == op && c.pen.color == color;
    return n;
  }

  Chart_View view{0.0, 0.01, 0.01, 0.0, 13, 1000, 1000};
  std::unique_ptr<Program_State> state = std::make_unique<Program_State>();
  Program_State& s = *state;
};

TEST_F(ChartLayers, DrawsEveryGroundLayerWithItsExactPens) {
  const Pen_State gate_fill = Pen(GATE, 2, GATE, Fill_Style::solid);
  const Pen_State gate_text = Pen(BLACK, 2, GATE, Fill_Style::solid);
  const Pen_State taxiway = Pen(GREY, 2, BLACK, Fill_Style::transparent);
  const Pen_State label = Pen(BLACK, 2, BLACK, Fill_Style::transparent);
  const Pen_State runway = Pen(GREEN, 2, BLACK, Fill_Style::transparent);
  const Pen_State ils = Pen(YELLOW, 1, YELLOW, Fill_Style::solid);
  const std::vector<Draw_Call> expected = {
      // The gate: a circle of radius 10 (1% of 1000) and its label.
      Ellipse({190, 210}, {210, 190}, gate_fill),
      Text({200, 200}, "Position: A1", gate_text),
      // Taxiways: only the kind-0 segment with a real label is labelled, halfway along.
      Line({200, 800}, {600, 800}, taxiway),
      Text({400, 800}, "A", label),
      Line({600, 800}, {600, 600}, taxiway),  // kind 1: on a runway
      Line({200, 800}, {600, 600}, taxiway),  // label " "
      Line({600, 600}, {200, 200}, taxiway),  // kind 2: ends at the gate
      Line({600, 600}, {600, 800}, taxiway),  // empty label
      // The runway and its designators.
      Line({100, 500}, {900, 500}, runway),
      Text({100, 500}, "09", label),
      Text({900, 500}, "27", label),
      // The ILS: 1800 ft (0.00493 degree) back along true 270 +- 5 degrees.
      Line({100, 500}, {-392, 543}, ils),
      Line({-392, 543}, {-392, 457}, ils),
      Line({-392, 457}, {100, 500}, ils),
  };
  EXPECT_EQ(Draw_At(13), expected);
}

TEST_F(ChartLayers, ZoomThresholdsChooseTheLayers) {
  // 1-8 airspace only; 9-12 airspace, runways and ILS; 13 up ground layers but no airspace.
  for (int16_t zoom : {1, 8}) {
    const auto calls = Draw_At(zoom);
    ASSERT_EQ(calls.size(), 1u) << zoom;
    EXPECT_EQ(calls[0].op, Draw_Op::ellipse);
    EXPECT_EQ(calls[0].pen, Pen(BLUE, 1, BLUE, Fill_Style::transparent, Line_Style::dash));
  }
  for (int16_t zoom : {9, 12}) {
    const auto calls = Draw_At(zoom);
    EXPECT_EQ(Count(calls, Draw_Op::ellipse, BLUE), 1) << zoom;
    EXPECT_EQ(Count(calls, Draw_Op::line, GREEN), 1) << zoom;
    EXPECT_EQ(Count(calls, Draw_Op::line, YELLOW), 3) << zoom;
    EXPECT_EQ(Count(calls, Draw_Op::ellipse, GATE), 0) << zoom;
    EXPECT_EQ(Count(calls, Draw_Op::line, GREY), 0) << zoom;
    EXPECT_EQ(calls.size(), 7u) << zoom;
  }
  for (int16_t zoom : {13, 20}) {
    const auto calls = Draw_At(zoom);
    EXPECT_EQ(Count(calls, Draw_Op::ellipse, BLUE), 0) << zoom;
    EXPECT_EQ(Count(calls, Draw_Op::ellipse, GATE), 1) << zoom;
    EXPECT_EQ(Count(calls, Draw_Op::line, GREY), 5) << zoom;
    EXPECT_EQ(calls.size(), 14u) << zoom;
  }
}

TEST_F(ChartLayers, SwitchesAndCountsTurnLayersOff) {
  s.show_gates = false;
  auto calls = Draw_At(13);
  EXPECT_EQ(Count(calls, Draw_Op::ellipse, GATE), 0);
  EXPECT_EQ(Count(calls, Draw_Op::line, GREY), 5);

  s.show_twy_ids = false;
  calls = Draw_At(13);
  EXPECT_EQ(Count(calls, Draw_Op::line, GREY), 5);
  EXPECT_EQ(calls.size(), 11u);  // the label "A" is gone

  s.show_twys = false;
  s.show_ils = false;
  calls = Draw_At(13);
  // A runway is drawn whatever the switches say.
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].op, Draw_Op::line);
  EXPECT_EQ(calls[1].text, "09");
  EXPECT_EQ(calls[2].text, "27");

  s.show_airspace = false;
  EXPECT_TRUE(Draw_At(8).empty());

  // The counts decide, not the lengths of the lists.
  s.show_airspace = s.show_gates = s.show_twys = s.show_ils = true;
  s.airspace_count = 0;
  s.cur_airport.parking_count = 0;
  s.cur_airport.taxi_path_count = 0;
  s.cur_airport.ils_count = 0;
  EXPECT_TRUE(Draw_At(8).empty());
  EXPECT_EQ(Draw_At(13).size(), 3u);
}

TEST_F(ChartLayers, GateCirclesKeepOnePercentOfTheWidthAtEveryZoom) {
  Chart_View zoomed;
  Load_View(zoomed, 0.002, 0.008);
  zoomed.win_w_px = 1000;
  zoomed.win_h_px = 1000;
  for (int16_t zoom = 13; zoom <= 20; ++zoom) {
    while (zoomed.zoom_level < zoom) Zoom_In(zoomed);
    Recording_Canvas canvas;
    Draw_Gates(canvas, s, zoomed);
    ASSERT_EQ(canvas.Calls().size(), 2u);
    const Draw_Call& circle = canvas.Calls()[0];
    const Px centre = canvas.Calls()[1].a;
    EXPECT_EQ(circle.a, (Px{centre.x - 10, centre.y + 10})) << zoom;
    EXPECT_EQ(circle.b, (Px{centre.x + 10, centre.y - 10})) << zoom;
  }
}

TEST_F(ChartLayers, SkipsOnlyTheCallsWhosePixelsDoNotFit) {
  // x = lon x (2^31 - 1): longitude 1 is the last pixel that fits, 2 does not.
  const Chart_View wide{0.0, 1.0, 1.0, 0.0, 13, 2147483647, 100};
  Airport_Entry& a = s.cur_airport;
  a.runways[0] = Runway("09", 0.5, 0.0, "27", 0.5, 2.0);
  a.parkings[0] = Parking("A1", 0.5, 1.0);
  Recording_Canvas canvas;
  Draw_Runways(canvas, s, wide);
  ASSERT_EQ(canvas.Calls().size(), 1u);
  EXPECT_EQ(canvas.Calls()[0].text, "09");

  // The gate's own pixel fits, its circle's right edge does not: only the label is drawn.
  canvas.Forget();
  Draw_Gates(canvas, s, wide);
  ASSERT_EQ(canvas.Calls().size(), 1u);
  EXPECT_EQ(canvas.Calls()[0].op, Draw_Op::text);
  EXPECT_EQ(canvas.Calls()[0].a, (Px{2147483647, 50}));
}

TEST_F(ChartLayers, AircraftIsDrawnOnlyWhileConnected) {
  s.acft_lat = 0.005;
  s.acft_lon = 0.005;
  s.acft_hdg = 0;
  Recording_Canvas canvas;
  canvas.Set_Line_Width(3);
  Draw_Aircraft(canvas, s, view, false);
  EXPECT_TRUE(canvas.Calls().empty());
  EXPECT_EQ(canvas.Pen().width, 3);

  Draw_Aircraft(canvas, s, view, true);
  // 500 ft north is 0.00137 degree: 137 pixels up.
  const Pen_State green = Pen(GREEN, 3, GREEN, Fill_Style::solid);
  const std::vector<Draw_Call> expected = {
      Ellipse({490, 510}, {510, 490}, green),
      Line({500, 500}, {500, 363}, green),
      Text({500, 500}, "Your Plane", green),
  };
  EXPECT_EQ(canvas.Calls(), expected);
  EXPECT_EQ(canvas.Pen().width, 1);

  // A heading of 270 is held as -90 and points west.
  s.acft_hdg = -90;
  canvas.Forget();
  Draw_Aircraft(canvas, s, view, true);
  EXPECT_EQ(canvas.Calls()[1].b, (Px{363, 500}));
}

TEST_F(ChartLayers, RedrawClearsThenDrawsTheChartThenTheAircraft) {
  s.acft_lat = 0.005;
  s.acft_lon = 0.005;
  Recording_Canvas canvas;
  canvas.Move_To({7, 7});
  Redraw_Chart(canvas, s, view, true);
  const auto& calls = canvas.Calls();
  ASSERT_EQ(calls.size(), 18u);  // clear, the 14 calls of the chart, the aircraft
  EXPECT_EQ(calls.front().op, Draw_Op::clear);
  EXPECT_EQ(calls[1].pen.color, GATE);
  EXPECT_EQ(calls.back().text, "Your Plane");
  // The heading line is drawn with the width the chart left: 1.
  EXPECT_EQ(calls[calls.size() - 2].pen.width, 1);

  canvas.Forget();
  Redraw_Chart(canvas, s, view, false);
  EXPECT_EQ(canvas.Calls().size(), 15u);
  EXPECT_EQ(canvas.Calls().back().pen.color, YELLOW);
}

}  // namespace
}  // namespace orv
