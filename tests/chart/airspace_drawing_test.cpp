#include "chart/airspace_drawing.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/chart_layers.h"
#include "chart/recording_canvas.h"

namespace orv {
namespace {

constexpr Rgb GREEN{0, 192, 0};
constexpr Rgb BLACK{0, 0, 0};
constexpr Rgb BLUE{0, 0, 192};
constexpr Rgb MAGENTA{255, 0, 255};

const Pen_State CLASS_B_PEN{BLUE, 1, Line_Style::dash, BLUE, Fill_Style::transparent};
const Pen_State CLASS_C_PEN{MAGENTA, 1, Line_Style::dash, MAGENTA, Fill_Style::transparent};

Boundary_Point Pt(uint8_t kind, double lat, double lon, int32_t radius = 0) {
  return Boundary_Point{kind, lat, lon, radius};
}

Airspace_Entry Airspace(const char* label, std::vector<Boundary_Point> points) {
  Airspace_Entry a;
  a.class_label = label;
  a.point_count = static_cast<int32_t>(points.size());
  a.points = std::move(points);
  return a;
}

Draw_Call Call(Draw_Op op, Px a, Px b, Pen_State pen) {
  Draw_Call c;
  c.op = op;
  c.a = a;
  c.b = b;
  c.pen = pen;
  return c;
}

Draw_Call Arc(Px c1, Px c2, Px start, Px end, Pen_State pen) {
  Draw_Call c = Call(Draw_Op::arc, c1, c2, pen);
  c.start = start;
  c.end = end;
  return c;
}

// Two degrees square around (0, 0) on 2000 x 2000 pixels: x = (lon + 1) x 1000 and
// y = (1 - lat) x 1000.
class AirspaceDrawing : public ::testing::Test {
 protected:
  const std::vector<Draw_Call>& Draw(std::vector<Airspace_Entry> list) {
    s.airspaces = std::move(list);
    s.airspace_count = static_cast<int32_t>(s.airspaces.size());
    Draw_Airspaces(canvas, s, view);
    return canvas.Calls();
  }

  const Chart_View view{-1.0, 1.0, 1.0, -1.0, 12, 2000, 2000};
  std::unique_ptr<Program_State> state = std::make_unique<Program_State>();
  Program_State& s = *state;
  Recording_Canvas canvas;
};

TEST_F(AirspaceDrawing, CirclesFitTheBoxOfTheirHalfDiagonal) {
  const auto& calls = Draw({Airspace(
      CLASS_B, {Pt(PT_CENTER, 0, 0), Pt(PT_CIRCLE, 5, 5, 10), Pt(PT_CIRCLE, 0, 0, 0),
                Pt(PT_CIRCLE, 0, 0, -5), Pt(PT_CIRCLE, 0, 0, 23171), Pt(PT_CIRCLE, 0, 0, 23170)})});
  const std::vector<Draw_Call> expected = {
      // Radius 10: sqrt(200) = 14.14, so 14 NM to the corners, 0.16499 degree each way.
      Call(Draw_Op::ellipse, {835, 835}, {1165, 1165}, CLASS_B_PEN),
      // Radius 0 and -5 become 1: sqrt(2) rounds to 1 NM, 0.01179 degree each way.
      Call(Draw_Op::ellipse, {988, 988}, {1012, 1012}, CLASS_B_PEN),
      Call(Draw_Op::ellipse, {988, 988}, {1012, 1012}, CLASS_B_PEN),
      // 23171 x sqrt(2) = 32768.7 does not fit 16 bits and is skipped; 23170 gives 32767.
      Call(Draw_Op::ellipse, {5333, 5321}, {-3333, -3321}, CLASS_B_PEN),
  };
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(s.airspaces[0].points[2].radius, 1);
  EXPECT_EQ(s.airspaces[0].points[3].radius, 1);
  EXPECT_EQ(s.airspaces[0].points[1].radius, 10);
  // The pen is left for the ground layers.
  EXPECT_EQ(canvas.Pen(), (Pen_State{GREEN, 2, Line_Style::solid, BLACK, Fill_Style::transparent}));
  EXPECT_EQ(canvas.Position(), (Px{0, 0}));  // circles do not move the pen
}

TEST_F(AirspaceDrawing, ArcsRunCounterClockwiseFromTheirStartRay) {
  // From east of the centre round to north of it, 6 NM out: sqrt(72) rounds to 8 NM to the
  // corners, 0.09428 degree.
  const Px east{1100, 1000};
  const Px north{1000, 900};
  const Px west{900, 1000};
  const Px nw{906, 906};
  const Px se{1094, 1094};
  const auto& ccw = Draw({Airspace(CLASS_C, {Pt(PT_CENTER, 0, 0), Pt(PT_START, 0, 0.1),
                                             Pt(PT_ARC_CCW, 0.1, 0), Pt(PT_LINE, 0, -0.1)})});
  const std::vector<Draw_Call> expected_ccw = {
      Arc(nw, se, east, north, CLASS_C_PEN),
      Call(Draw_Op::line, north, west, CLASS_C_PEN),  // the pen was moved to the arc's end
  };
  EXPECT_EQ(ccw, expected_ccw);

  canvas.Forget();
  // Clockwise from east to north (the long way round): drawn counter-clockwise from north.
  const auto& cw = Draw({Airspace(CLASS_C, {Pt(PT_CENTER, 0, 0), Pt(PT_START, 0, 0.1),
                                            Pt(PT_ARC_CW, 0.1, 0), Pt(PT_LINE, 0, -0.1)})});
  const std::vector<Draw_Call> expected_cw = {
      Arc(nw, se, north, east, CLASS_C_PEN),
      Call(Draw_Op::line, north, west, CLASS_C_PEN),
  };
  EXPECT_EQ(cw, expected_cw);
}

TEST_F(AirspaceDrawing, CentreCarriesOverButThePreviousPointStartsAtZero) {
  const auto& calls = Draw({
      Airspace(CLASS_C, {Pt(PT_CENTER, 0.5, 0), Pt(PT_START, 0, 0), Pt(PT_LINE, 0, 0.1)}),
      // A hidden airspace is skipped whole: its centre is not taken.
      Airspace(CLASS_TRACON, {Pt(PT_CENTER, 0.9, 0.9), Pt(PT_START, 0, 0), Pt(PT_LINE, 1, 1)}),
      // An arc first in a path: it measures from (0, 0), 30 NM from the centre (0.5, 0), to a
      // point 6 NM from it; the corners lie 42 and 8 NM out.
      Airspace(CLASS_B, {Pt(PT_ARC_CCW, 0.5, 0.1)}),
  });
  const std::vector<Draw_Call> expected = {
      Call(Draw_Op::line, {1000, 1000}, {1100, 1000}, CLASS_C_PEN),
      Arc({505, 5}, {1094, 594}, {1000, 1000}, {1100, 500}, CLASS_B_PEN),
  };
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(canvas.Position(), (Px{1100, 500}));
}

TEST_F(AirspaceDrawing, HiddenClassesAreSkippedAndOtherLabelsKeepThePen) {
  s.airspaces = {
      Airspace("Restricted", {Pt(PT_START, 0, 0), Pt(PT_LINE, 0, 0.1)}),
      Airspace(CLASS_D, {Pt(PT_START, 0, 0), Pt(PT_LINE, 0.1, 0)}),
      Airspace(CLASS_ARTCC, {Pt(PT_START, 0, 0), Pt(PT_LINE, 0.1, 0)}),
      Airspace(CLASS_C, {Pt(PT_START, 0, 0), Pt(PT_LINE, -0.1, 0)}),
      Airspace("Restricted", {Pt(PT_START, 0, 0), Pt(PT_LINE, 0, -0.1)}),
  };
  s.airspace_count = 5;
  s.show_airspace = true;
  Chart_View at = view;
  for (int16_t zoom : {1, 12, 13}) {
    at.zoom_level = zoom;
    canvas.Forget();
    Draw_Chart(canvas, s, at);
    if (zoom == 13) {
      EXPECT_TRUE(canvas.Calls().empty());
      continue;
    }
    // The first airspace of another label draws with the chart's opening pen; a later one
    // keeps the Class C pen before it.
    const std::vector<Draw_Call> expected = {
        Call(Draw_Op::line, {1000, 1000}, {1100, 1000},
             Pen_State{GREEN, 4, Line_Style::solid, BLACK, Fill_Style::transparent}),
        Call(Draw_Op::line, {1000, 1000}, {1000, 1100}, CLASS_C_PEN),
        Call(Draw_Op::line, {1000, 1000}, {900, 1000}, CLASS_C_PEN),
    };
    EXPECT_EQ(canvas.Calls(), expected) << zoom;
  }
}

TEST_F(AirspaceDrawing, APenThatCannotBePlacedDrawsNothingUntilPlacedAgain) {
  Airspace_Entry damaged = Airspace(
      CLASS_B, {Pt(PT_START, 0, 1e9), Pt(PT_LINE, 0, 0), Pt(PT_LINE, 0, 0.1), Pt(7, 0.5, 0.5),
                Pt(PT_LINE, 0, 1e9), Pt(PT_LINE, 0.1, 0), Pt(PT_LINE, 0, 0)});
  damaged.point_count = 40;  // more than the list holds
  const auto& calls = Draw({damaged, Airspace(CLASS_B, {Pt(PT_LINE, -0.1, 0)})});
  const std::vector<Draw_Call> expected = {
      Call(Draw_Op::line, {1000, 1000}, {1100, 1000}, CLASS_B_PEN),
      Call(Draw_Op::line, {1000, 900}, {1000, 1000}, CLASS_B_PEN),
      // The next airspace goes on from where the pen was left.
      Call(Draw_Op::line, {1000, 1000}, {1000, 1100}, CLASS_B_PEN),
  };
  EXPECT_EQ(calls, expected);

  // A count above the list's length, or a negative one, reads no further than the list.
  canvas.Forget();
  s.airspace_count = 99;
  Draw_Airspaces(canvas, s, view);
  EXPECT_EQ(canvas.Calls().size(), 3u);
  canvas.Forget();
  s.airspace_count = -1;
  Draw_Airspaces(canvas, s, view);
  EXPECT_TRUE(canvas.Calls().empty());
}

}  // namespace
}  // namespace orv
