#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "chart/drawing_limits.h"
#include "chart/recording_canvas.h"
#include "chart/svg_canvas.h"

namespace orv {
namespace {

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Canvas, KeepsThePenPositionAndStateForEachCall) {
  Recording_Canvas c;
  EXPECT_EQ(c.Pen(),
            (Pen_State{{0, 192, 0}, 1, Line_Style::solid, {0, 0, 0}, Fill_Style::transparent}));
  c.Move_To({5, 6});
  c.Line_To({7, 8});
  c.Line_To({9, 10});
  c.Set_Fore_Color({1, 2, 3});
  c.Set_Line_Width(4);
  c.Set_Line_Style(Line_Style::dash);
  c.Set_Fill_Color({4, 5, 6});
  c.Set_Fill_Style(Fill_Style::solid);
  c.Ellipse({1, 9}, {9, 1});
  c.Arc({0, 0}, {50, 50}, {50, 25}, {25, 0});
  c.Text_Out({3, 4}, "27L");
  EXPECT_EQ(c.Position(), (Px{9, 10}));  // only move-to and line-to move the pen
  c.Clear();
  EXPECT_EQ(c.Position(), (Px{0, 0}));
  EXPECT_EQ(c.Pen().width, 4);  // clearing keeps the drawing state

  const auto& calls = c.Calls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].a, (Px{5, 6}));
  EXPECT_EQ(calls[0].b, (Px{7, 8}));
  EXPECT_EQ(calls[1].a, (Px{7, 8}));
  EXPECT_EQ(calls[1].pen, Pen_State{});
  EXPECT_EQ(calls[3].start, (Px{50, 25}));
  EXPECT_EQ(calls[3].end, (Px{25, 0}));
  EXPECT_EQ(calls[4].text, "27L");
  EXPECT_EQ(calls[4].pen,
            (Pen_State{{1, 2, 3}, 4, Line_Style::dash, {4, 5, 6}, Fill_Style::solid}));
  EXPECT_EQ(calls[5].op, Draw_Op::clear);
}

TEST(SvgCanvas, IsAWhitePageWithOneShapePerCall) {
  Svg_Canvas c(271, 228);
  c.Move_To({1, 2});
  c.Line_To({3, 4});
  c.Clear();  // drops what was drawn before
  c.Set_Line_Width(2);
  c.Move_To({10, 20});
  c.Line_To({30, 40});
  c.Set_Line_Style(Line_Style::dash);
  c.Set_Fore_Color({0, 0, 192});
  c.Ellipse({0, 0}, {20, 10});
  c.Set_Fill_Style(Fill_Style::solid);
  c.Set_Fill_Color({128, 64, 64});
  c.Ellipse({30, 10}, {10, 30});
  c.Set_Fore_Color({0, 0, 0});
  c.Text_Out({5, 6}, "Position: <A&B> \xE9");
  const std::string doc = c.Document();
  EXPECT_EQ(doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
  EXPECT_NE(doc.find(R"(width="271" height="228" viewBox="0 0 271 228")"), std::string::npos);
  EXPECT_NE(doc.find(R"(<rect x="0" y="0" width="271" height="228" fill="#ffffff"/>)"),
            std::string::npos);
  EXPECT_EQ(Occurrences(doc, "<line "), 1u);
  EXPECT_NE(doc.find(R"(<line x1="10" y1="20" x2="30" y2="40" stroke="#00c000" stroke-width="2")"),
            std::string::npos);
  EXPECT_NE(doc.find(R"(<ellipse cx="10" cy="5" rx="10" ry="5" fill="none" stroke="#0000c0")"
                     R"( stroke-width="2" stroke-dasharray="18 6"/>)"),
            std::string::npos);
  EXPECT_NE(doc.find(R"(<ellipse cx="20" cy="20" rx="10" ry="10" fill="#804040")"),
            std::string::npos);
  EXPECT_NE(doc.find("fill=\"#000000\" xml:space=\"preserve\">Position: &lt;A&amp;B&gt; \xC3\xA9"
                     "</text>"),
            std::string::npos);
  EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
}

TEST(SvgCanvas, DrawsArcsCounterClockwiseOnTheScreen) {
  // East of the centre to north of it: a quarter turn, the small arc.
  Svg_Canvas quarter(100, 100);
  quarter.Arc({0, 0}, {100, 100}, {100, 50}, {50, 0});
  EXPECT_NE(quarter.Document().find(R"(<path d="M 100 50 A 50 50 0 0 0 50 0" fill="none")"),
            std::string::npos);
  // North to east is three quarters of a turn: the large arc, still counter-clockwise. The
  // points only fix the rays: the arc starts and ends on the ellipse.
  Svg_Canvas three_quarters(100, 100);
  three_quarters.Arc({0, 0}, {100, 100}, {50, 40}, {60, 50});
  EXPECT_NE(three_quarters.Document().find(R"(<path d="M 50 0 A 50 50 0 1 0 100 50")"),
            std::string::npos);
  // The same ray twice is the whole ellipse, corners given in any order.
  Svg_Canvas full(100, 100);
  full.Arc({100, 40}, {0, 0}, {0, 20}, {-50, 20});
  EXPECT_NE(full.Document().find(R"(<ellipse cx="50" cy="20" rx="50" ry="20" fill="none")"),
            std::string::npos);
  // A flat box has no arc.
  Svg_Canvas flat(100, 100);
  flat.Arc({0, 10}, {100, 10}, {100, 10}, {0, 10});
  EXPECT_EQ(Occurrences(flat.Document(), "<path"), 0u);
}

TEST(DrawingLimits, LinesAreCutOnTheirTrackKeepingDashesAndLargeOutlinesComeNearTheSurface) {
  const Px_Rect surface{0, 0, 199, 199};
  const auto cut = Clip_Segment({-2000000000, -2000000000}, {2000000000, 2000000000}, surface);
  EXPECT_EQ(cut->from, (Px{0, 0}));
  EXPECT_EQ(cut->to, (Px{199, 199}));
  // Dashes of period 10: the cut start stays a whole number of periods from the start.
  EXPECT_EQ(Clip_Segment({-1003, 50}, {500, 50}, surface, 10.0)->from, (Px{-3, 50}));
  // On a circle of radius a million pixels whose top is (100, 100), the arc counter-clockwise
  // from north-east to north-west passes near the surface, close to the curve.
  const Ellipse_Shape e = Ellipse_In({-999900, 100, 1000100, 2000100});
  const double from = Ray_Angle(e, {1100, 999100});
  const auto runs = Outline_Near(e, from, Ccw_Turn(from, Ray_Angle(e, {-900, 999100})), surface);
  ASSERT_EQ(runs.size(), 1u);
  for (const Px& p : runs[0]) EXPECT_NEAR(std::hypot(p.x - e.cx, p.y - e.cy), 1e6, 0.75);
}

}  // namespace
}  // namespace orv
