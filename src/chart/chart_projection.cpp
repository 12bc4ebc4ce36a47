#include "chart/chart_projection.h"

#include <cmath>

namespace orv {

namespace {

// 2 x the 15-digit PI, exactly the constant 6.28318530717958 (doubling is exact).
constexpr double TWO_PI = 2.0 * PI;
static_assert(TWO_PI == 6.28318530717958);

constexpr double FEET_PER_NM = 6080.0;
constexpr double INTEGER_MAX = 32767.0;

// Great-circle angle in radians between two positions in degrees. Close points (less than a
// radian apart in latitude and in longitude) use the half-angle form, which keeps its
// precision for short distances; others use the cosine form.
double Great_Circle_Rad(double lat1, double lon1, double lat2, double lon2) {
  const double phi1 = lat1 * PI / 180.0;
  const double phi2 = lat2 * PI / 180.0;
  const double lam1 = lon1 * PI / 180.0;
  const double lam2 = lon2 * PI / 180.0;
  if (std::trunc(phi1 - phi2) == 0.0 && std::trunc(lam2 - lam1) == 0.0) {
    const double s_phi = std::sin((phi1 - phi2) / 2.0);
    const double s_lam = std::sin((lam1 - lam2) / 2.0);
    return 2.0 *
           Arc_Sin(std::sqrt(s_phi * s_phi + std::cos(phi1) * std::cos(phi2) * (s_lam * s_lam)));
  }
  return Arc_Cos(std::sin(phi1) * std::sin(phi2) +
                 std::cos(phi1) * std::cos(phi2) * std::cos(lam1 - lam2));
}

double Great_Circle_Nm(double lat1, double lon1, double lat2, double lon2) {
  return Great_Circle_Rad(lat1, lon1, lat2, lon2) * 10800.0 / PI;
}

// A distance capped at 32767 and rounded to a whole number. A distance that is not a number
// (only positions that are not numbers give one) counts as 0.
int16_t Capped_Integer(double value) {
  if (std::isnan(value)) return 0;
  if (value > INTEGER_MAX) value = INTEGER_MAX;
  return static_cast<int16_t>(Round_Half_Even(value));
}

// The destination point over d radians of arc, computed with west-positive longitude.
Geo_Point Point_At_Rad(double lat, double lon, int32_t course, double d) {
  const double phi1 = lat * PI / 180.0;
  const double lam1 = -lon * PI / 180.0;
  const double t = course * PI / 180.0;
  const double phi =
      Arc_Sin(std::sin(phi1) * std::cos(d) + std::cos(phi1) * std::sin(d) * std::cos(t));
  double lam = lam1;
  if (std::cos(phi) != 0.0) {
    lam = Real_Mod(lam1 - Arc_Sin(std::sin(t) * std::sin(d) / std::cos(phi)) + PI, TWO_PI) - PI;
  }
  Geo_Point p;
  p.lat = Round_Decimals(phi * 180.0 / PI, 5);
  p.lon = Round_Decimals(-lam * 180.0 / PI, 5);
  return p;
}

std::optional<int32_t> Pixel_Coordinate(double value) {
  const double rounded = Round_Half_Even(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

}  // namespace

void Reset_View(Chart_View& view) {
  view.view_left = -179.9999;
  view.view_top = 89.9999;
  view.view_right = 179.9999;
  view.view_bottom = -89.9999;
  view.zoom_level = ZOOM_MIN;
}

void Zoom_In(Chart_View& view) {
  if (view.zoom_level < ZOOM_MIN || view.zoom_level > ZOOM_MAX - 1) return;
  const double qx = std::fabs(view.view_right - view.view_left) / 4.0;
  const double qy = std::fabs(view.view_bottom - view.view_top) / 4.0;
  view.view_left += qx;
  view.view_right -= qx;
  view.view_top -= qy;
  view.view_bottom += qy;
  ++view.zoom_level;
}

void Zoom_Out(Chart_View& view) {
  if (view.zoom_level < ZOOM_MIN + 1 || view.zoom_level > ZOOM_MAX) return;
  const double hx = std::fabs(view.view_right - view.view_left) / 2.0;
  const double hy = std::fabs(view.view_bottom - view.view_top) / 2.0;
  view.view_left -= hx;
  view.view_right += hx;
  view.view_top += hy;
  view.view_bottom -= hy;
  --view.zoom_level;
}

void Recenter_View(Chart_View& view, double x, double y) {
  const double hx = std::fabs(view.view_right - view.view_left) / 2.0;
  const double hy = std::fabs(view.view_top - view.view_bottom) / 2.0;
  view.view_left = x - hx;
  view.view_right = x + hx;
  view.view_top = y + hy;
  view.view_bottom = y - hy;
}

void Load_View(Chart_View& view, double lon, double lat) {
  Reset_View(view);
  Recenter_View(view, lon, lat);
  Recenter_View(view, lon, lat);
  for (int i = 1; i < ZOOM_AT_LOAD; ++i) Zoom_In(view);
}

std::optional<Px> Geo_To_Px(const Chart_View& view, double lat, double lon) {
  const double span_x = view.view_right - view.view_left;
  const double span_y = view.view_top - view.view_bottom;
  if (span_x == 0.0 || span_y == 0.0) return std::nullopt;
  const auto x = Pixel_Coordinate((lon - view.view_left) / span_x * view.win_w_px);
  const auto y = Pixel_Coordinate((view.view_top - lat) / span_y * view.win_h_px);
  if (!x || !y) return std::nullopt;
  return Px{*x, *y};
}

int64_t Pct_Width_Px(const Chart_View& view, int32_t pct) {
  const double px = static_cast<double>(view.win_w_px) * pct / 100.0;
  return static_cast<int64_t>(Round_Half_Even(px));
}

std::optional<Geo_Pos> Mouse_To_Geo(const Chart_View& view, int32_t px, int32_t py,
                                    int32_t client_w, int32_t client_h) {
  if (client_w <= 0 || client_h <= 0) return std::nullopt;
  Geo_Pos pos;
  pos.lon = view.view_left + px * (view.view_right - view.view_left) / client_w;
  pos.lat = view.view_top - py * (view.view_top - view.view_bottom) / client_h;
  return pos;
}

int16_t Dist_Nm(double lat1, double lon1, double lat2, double lon2) {
  return Capped_Integer(Great_Circle_Nm(lat1, lon1, lat2, lon2));
}

int16_t Dist_Ft(double lat1, double lon1, double lat2, double lon2) {
  const double nm = Round_Decimals(Great_Circle_Nm(lat1, lon1, lat2, lon2), 5);
  return Capped_Integer(Round_Decimals(nm * FEET_PER_NM, 5));
}

int16_t Course_True(double lat1, double lon1, double lat2, double lon2) {
  const double phi1 = lat1 * PI / 180.0;
  const double phi2 = lat2 * PI / 180.0;
  const double lam1 = lon1 * PI / 180.0;
  const double lam2 = lon2 * PI / 180.0;
  const double d = Great_Circle_Rad(lat1, lon1, lat2, lon2);
  double t = 0.0;  // the course with west-positive longitude
  if (d != 0.0) {
    const double divisor = std::sin(d) * std::cos(phi1);
    double c = 0.0;
    if (divisor != 0.0) c = Arc_Cos((std::sin(phi2) - std::sin(phi1) * std::cos(d)) / divisor);
    if (std::isnan(c)) c = 0.0;
    t = std::sin(lam2 - lam1) >= 0.0 ? TWO_PI - c : c;
  }
  double whole = std::floor(t * 180.0 / PI);
  if (!(whole >= 0.0 && whole <= 360.0)) whole = 0.0;
  return Norm_Heading(360 - static_cast<int32_t>(whole));
}

Geo_Point Point_At_Nm(double lat, double lon, int32_t course, int32_t dist) {
  if (dist < 0) dist = 0;
  return Point_At_Rad(lat, lon, course, dist * PI / 10800.0);
}

Geo_Point Point_At_Ft(double lat, double lon, int32_t course, int32_t dist) {
  if (dist < 0) dist = 0;
  return Point_At_Rad(lat, lon, course, dist / FEET_PER_NM * PI / 10800.0);
}

int16_t Mag_To_True(const Mag_Var_Table& table, int32_t hdg, double lat, double lon) {
  return Norm_Heading(hdg + Mag_Var_Degrees(table, lat, lon));
}

}  // namespace orv
