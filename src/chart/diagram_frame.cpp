#include "chart/diagram_frame.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

constexpr double DEG = PI / 180.0;

// The Mercator ordinate of a latitude, in radians; the poles are held just short of infinity.
double Mercator_Y(double lat) {
  const double phi = std::clamp(lat, -89.9999, 89.9999) * DEG;
  return std::log(std::tan(PI / 4.0 + phi / 2.0));
}

// Pixels per radian of Mercator ordinate, which is the same for longitude.
double Radian_Scale(const Diagram_Frame& frame) {
  return frame.px_per_degree / DEG * std::cos(std::clamp(frame.lat0, -89.9999, 89.9999) * DEG);
}

}  // namespace

Diagram_Frame Frame_Of_View(const Chart_View& view, int32_t width, int32_t height) {
  Diagram_Frame f;
  f.lat0 = (view.view_top + view.view_bottom) / 2.0;
  f.lon0 = (view.view_left + view.view_right) / 2.0;
  const double span = view.view_top - view.view_bottom;
  f.px_per_degree = span > 0.0 ? view.win_h_px / span : 1.0;
  f.width = std::max(width, 1);
  f.height = std::max(height, 1);
  return f;
}

Pt Diagram_Project(const Diagram_Frame& frame, double lat, double lon) {
  const double k = Radian_Scale(frame);
  double dlon = lon - frame.lon0;
  if (dlon > 180.0) dlon -= 360.0;
  if (dlon < -180.0) dlon += 360.0;
  return {frame.width / 2.0 + k * dlon * DEG,
          frame.height / 2.0 - k * (Mercator_Y(lat) - Mercator_Y(frame.lat0))};
}

Geo_Pos Diagram_Unproject(const Diagram_Frame& frame, double x, double y) {
  const double k = Radian_Scale(frame);
  const double psi = Mercator_Y(frame.lat0) - (y - frame.height / 2.0) / k;
  Geo_Pos g;
  g.lon = frame.lon0 + (x - frame.width / 2.0) / k / DEG;
  g.lat = (2.0 * std::atan(std::exp(psi)) - PI / 2.0) / DEG;
  return g;
}

Px To_Px(Pt p) {
  static constexpr double limit = 1073741824.0;
  const auto clamp = [](double v) {
    if (!(v == v)) return 0;
    return static_cast<int32_t>(std::lround(std::clamp(v, -limit, limit)));
  };
  return Px{clamp(p.x), clamp(p.y)};
}

}  // namespace orv
