#include "behaviour/splash_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "behaviour/splash_behaviour.h"
#include "chart/canvas.h"

namespace orv {
namespace {

constexpr Rgb kGrid{220, 235, 220};
constexpr Rgb kTaxiway{230, 200, 60};
constexpr Rgb kRunway{70, 70, 70};
constexpr Rgb kAirspace{0, 0, 200};
constexpr Rgb kTitle{0, 110, 0};
constexpr double kDegToRad = std::numbers::pi / 180.0;

// Design units to the canvas's pixels.
struct Design {
  double scale;
  Px At(double x, double y) const {
    return {static_cast<int32_t>(std::lround(x * scale)),
            static_cast<int32_t>(std::lround(y * scale))};
  }
  int32_t Len(double v) const { return std::max(1, static_cast<int32_t>(std::lround(v * scale))); }
};

void Line(Canvas& c, const Design& d, double x1, double y1, double x2, double y2) {
  c.Move_To(d.At(x1, y1));
  c.Line_To(d.At(x2, y2));
}

// A point given along and across a runway turned by `angle` (clockwise, screen y down).
Px Turned(const Design& d, double cx, double cy, double angle, double along, double across) {
  return d.At(cx + along * std::cos(angle) - across * std::sin(angle),
              cy + along * std::sin(angle) + across * std::cos(angle));
}

// A runway as a long dark strip with a dashed centre line, turned about its midpoint.
void Draw_Runway(Canvas& c, const Design& d, double cx, double cy, double angle_deg,
                 double length, double width) {
  const double a = angle_deg * kDegToRad;
  const std::array<Px, 4> strip = {
      Turned(d, cx, cy, a, -length / 2, -width / 2), Turned(d, cx, cy, a, length / 2, -width / 2),
      Turned(d, cx, cy, a, length / 2, width / 2), Turned(d, cx, cy, a, -length / 2, width / 2)};
  c.Set_Fore_Color(kRunway);
  c.Set_Fill_Color(kRunway);
  c.Set_Fill_Style(Fill_Style::solid);
  c.Set_Line_Width(1);
  c.Set_Line_Style(Line_Style::solid);
  c.Polygon(strip);
  c.Set_Fill_Style(Fill_Style::transparent);
  c.Set_Fore_Color(RGB_WHITE);
  c.Set_Line_Style(Line_Style::dash);
  c.Move_To(Turned(d, cx, cy, a, -length / 2 + 14, 0));
  c.Line_To(Turned(d, cx, cy, a, length / 2 - 14, 0));
}

// A rose with a tick every 10 degrees, longer every 30, a north arrow and the four letters.
void Draw_Compass_Rose(Canvas& c, const Design& d, double cx, double cy, double r) {
  c.Set_Fore_Color(RGB_CHART_GREEN);
  c.Set_Line_Width(d.Len(1));
  c.Set_Line_Style(Line_Style::solid);
  c.Set_Fill_Style(Fill_Style::transparent);
  c.Ellipse(d.At(cx - r, cy - r), d.At(cx + r, cy + r));
  for (int deg = 0; deg < 360; deg += 10) {
    const double a = deg * kDegToRad;
    const double inner = (deg % 30 == 0) ? r - 8 : r - 4;
    Line(c, d, cx + inner * std::sin(a), cy - inner * std::cos(a), cx + r * std::sin(a),
         cy - r * std::cos(a));
  }
  c.Set_Fill_Color(RGB_CHART_GREEN);
  c.Set_Fill_Style(Fill_Style::solid);
  const std::array<Px, 3> north = {d.At(cx, cy - r + 10), d.At(cx - 5, cy), d.At(cx + 5, cy)};
  c.Polygon(north);
  c.Set_Fill_Style(Fill_Style::transparent);
  Text_Style letter{.size_px = d.Len(10), .h_align = H_Align::center,
                    .v_align = V_Align::middle, .bold = true};
  c.Text(d.At(cx, cy - r - 8), "N", letter);
  c.Text(d.At(cx, cy + r + 8), "S", letter);
  c.Text(d.At(cx + r + 8, cy), "E", letter);
  c.Text(d.At(cx - r - 8, cy), "W", letter);
}

void Draw_Sheet(Canvas& c, const Design& d) {
  c.Clear();
  c.Set_Fore_Color(kGrid);
  c.Set_Line_Width(1);
  for (int x = 0; x < SPLASH_PICTURE_W; x += 25) Line(c, d, x, 0, x, SPLASH_PICTURE_H);
  for (int y = 0; y < SPLASH_PICTURE_H; y += 25) Line(c, d, 0, y, SPLASH_PICTURE_W, y);
}

void Draw_Field(Canvas& c, const Design& d) {
  // Taxiways joining the two runways, then the runways over them.
  c.Set_Fore_Color(kTaxiway);
  c.Set_Line_Width(d.Len(5));
  Line(c, d, 95, 150, 150, 170);
  Line(c, d, 150, 170, 205, 150);
  Line(c, d, 190, 95, 215, 150);
  Draw_Runway(c, d, 145, 120, -35, 190, 13);
  Draw_Runway(c, d, 155, 140, 20, 150, 10);
  c.Set_Fore_Color(RGB_BLACK);
  const Text_Style designator{.size_px = d.Len(10), .v_align = V_Align::bottom, .bold = true};
  c.Text(d.At(50, 190), "16R", designator);
  c.Text(d.At(224, 58), "34L", designator);
  // The airspace ring around the field.
  c.Set_Fore_Color(kAirspace);
  c.Set_Line_Width(1);
  c.Set_Line_Style(Line_Style::dash);
  c.Ellipse(d.At(145 - 120, 125 - 100), d.At(145 + 120, 125 + 100));
  c.Set_Line_Style(Line_Style::solid);
}

void Draw_Titles(Canvas& c, const Design& d) {
  c.Set_Fore_Color(kTitle);
  c.Text(d.At(390, 190), "ORVANE",
         {.size_px = d.Len(32), .h_align = H_Align::right, .v_align = V_Align::middle,
          .bold = true});
  c.Text(d.At(390, 218), "Airport charts for FS2002",
         {.size_px = d.Len(12), .h_align = H_Align::right, .v_align = V_Align::middle});
  c.Set_Fore_Color(RGB_CHART_GREEN);
  c.Set_Line_Width(d.Len(2));
  const double r = SPLASH_PICTURE_W - 2;
  const double b = SPLASH_PICTURE_H - 2;
  Line(c, d, 1, 1, r, 1);
  Line(c, d, r, 1, r, b);
  Line(c, d, r, b, 1, b);
  Line(c, d, 1, b, 1, 1);
}

}  // namespace

void Draw_Splash_Picture(Canvas& canvas, double scale) {
  const Design d{scale};
  Draw_Sheet(canvas, d);
  Draw_Field(canvas, d);
  Draw_Compass_Rose(canvas, d, 340, 70, 38);
  Draw_Titles(canvas, d);
}

}  // namespace orv
