#include "chart/canvas.h"

#include <cmath>

namespace orv {

Text_Size Estimated_Text_Size(std::string_view text, int32_t size_px, bool bold) {
  const double advance = bold ? 0.66 : 0.6;
  return {static_cast<double>(text.size()) * size_px * advance, static_cast<double>(size_px)};
}

Text_Box Box_Of_Text(Px at, Text_Size size, const Text_Style& style) {
  double left = 0.0;
  if (style.h_align == H_Align::center) left = -size.w / 2.0;
  if (style.h_align == H_Align::right) left = -size.w;
  double top = 0.0;
  if (style.v_align == V_Align::middle) top = -size.h / 2.0;
  if (style.v_align == V_Align::bottom) top = -size.h;
  const double xs[4] = {left, left + size.w, left + size.w, left};
  const double ys[4] = {top, top, top + size.h, top + size.h};
  // Counter-clockwise on a screen whose y axis points down.
  const double a = style.angle_deg * 3.14159265358979 / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  Text_Box box;
  for (int i = 0; i < 4; ++i) {
    const double x = at.x + xs[i] * c + ys[i] * s;
    const double y = at.y - xs[i] * s + ys[i] * c;
    box.corner[i] = Px{static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
  }
  return box;
}

void Canvas::Do_Polygon(std::span<const Px> points) {
  for (size_t i = 0; i < points.size(); ++i) {
    Do_Line(points[i], points[(i + 1) % points.size()]);
  }
}

void Canvas::Do_Styled_Text(Px, std::string_view text, const Text_Style&, const Text_Box& box) {
  Do_Text(box.corner[0], text);
}

}  // namespace orv
