#include "scenery/geo_math.h"

#include <cmath>
#include <cstdio>

namespace orv {

double Round_Half_Even(double x) {
  return std::nearbyint(x);
}

int32_t Round_To_Long(double x) {
  const double r = std::nearbyint(x);
  if (std::isnan(r)) return 0;
  if (r <= -2147483648.0) return INT32_MIN;
  if (r >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(r);
}

double Round_Decimals(double x, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::nearbyint(x * scale) / scale;
}

double Arc_Sin(double x) {
  if (x < -1.0 || x > 1.0) return 0.0;
  return 2.0 * std::atan(x / (1.0 + std::sqrt(1.0 - x * x)));
}

double Arc_Cos(double x) {
  if (x < -1.0 || x > 1.0) return 0.0;
  if (x >= 0.0) return 2.0 * std::atan(std::sqrt((1.0 - x) / (1.0 + x)));
  return PI - 2.0 * std::atan(std::sqrt((1.0 + x) / (1.0 - x)));
}

double Real_Mod(double y, double x) {
  double r = y - x * std::floor(y / x);
  if (r < 0.0) r += x;
  return r;
}

int16_t Norm_Heading(int32_t h) {
  if (h > 360) h -= 360;
  if (h < 0) h += 360;
  return static_cast<int16_t>(h);
}

std::string Hex_Byte(int32_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value) & 0xFFu);
  return text;
}

float Long_To_Single(int32_t pattern) {
  if (pattern == 0) return 0.0f;
  const auto bits = static_cast<uint32_t>(pattern);
  const double sign = (bits & 0x80000000u) ? -1.0 : 1.0;
  const uint32_t rest = bits & 0x7FFFFFFFu;
  const uint32_t b2 = (rest >> 16) & 0xFFu;
  const uint32_t b3 = rest >> 24;
  const int exponent = static_cast<int>(b3 * 2 + b2 / 128);
  if (exponent == 255) return 0.0f;
  // The mantissa is the 24 low bits with the implied leading 1 always set.
  const uint32_t mantissa = (rest & 0x7FFFFFu) | 0x800000u;
  const double fraction = static_cast<double>(mantissa) * 2.0 / 16777216.0;
  return static_cast<float>(sign * std::ldexp(fraction, exponent - 127));
}

Radial_Start Radial_Start_At(double lat, double lon) {
  Radial_Start s;
  s.lat1 = lat * PI / 180.0;
  s.lon1 = -lon * PI / 180.0;
  s.sin_lat1 = std::sin(s.lat1);
  s.cos_lat1 = std::cos(s.lat1);
  return s;
}

Radial_Course Radial_Course_Of(int16_t course) {
  Radial_Course c;
  c.tc = course * PI / 180.0;
  c.sin_tc = std::sin(c.tc);
  c.cos_tc = std::cos(c.tc);
  return c;
}

namespace {

// The distance in radians of arc: one nautical mile of 1852 m per minute.
double Arc_Of(double distance_m) {
  return std::fabs(distance_m) / 1852.0 * PI / 10800.0;
}

// The latitude reached, in radians; sin_d and cos_d are those of the distance's arc.
double Lat_Reached(const Radial_Start& s, const Radial_Course& c, double sin_d, double cos_d) {
  return Arc_Sin(s.sin_lat1 * cos_d + s.cos_lat1 * sin_d * c.cos_tc);
}

// The longitude reached, in radians west positive, at the latitude reached lat2.
double Lon_Reached(const Radial_Start& s, const Radial_Course& c, double sin_d, double lat2) {
  if (std::cos(lat2) == 0.0) return s.lon1;
  return Real_Mod(s.lon1 - Arc_Sin(c.sin_tc * sin_d / std::cos(lat2)) + PI, 2.0 * PI) - PI;
}

double Lat_Degrees(double lat2) {
  return Round_Decimals(lat2 * 180.0 / PI, 6);
}

double Lon_Degrees(double lon2) {
  return Round_Decimals(-lon2 * 180.0 / PI, 6);
}

}  // namespace

double Radial_Lat(const Radial_Start& start, const Radial_Course& course, double distance_m) {
  const double d = Arc_Of(distance_m);
  return Lat_Degrees(Lat_Reached(start, course, std::sin(d), std::cos(d)));
}

double Radial_Lon(const Radial_Start& start, const Radial_Course& course, double distance_m) {
  const double d = Arc_Of(distance_m);
  const double sin_d = std::sin(d);
  const double lat2 = Lat_Reached(start, course, sin_d, std::cos(d));
  return Lon_Degrees(Lon_Reached(start, course, sin_d, lat2));
}

Geo_Point Point_From_Radial(double lat, double lon, int16_t course, double distance_m) {
  const Radial_Start start = Radial_Start_At(lat, lon);
  const Radial_Course c = Radial_Course_Of(course);
  const double d = Arc_Of(distance_m);
  const double sin_d = std::sin(d);
  const double lat2 = Lat_Reached(start, c, sin_d, std::cos(d));
  Geo_Point p;
  p.lat = Lat_Degrees(lat2);
  p.lon = Lon_Degrees(Lon_Reached(start, c, sin_d, lat2));
  return p;
}

}  // namespace orv
