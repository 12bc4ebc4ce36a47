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

Geo_Point Point_From_Radial(double lat, double lon, int16_t course, double distance_m) {
  const double lat1 = lat * PI / 180.0;
  const double lon1 = -lon * PI / 180.0;
  const double tc = course * PI / 180.0;
  const double d = std::fabs(distance_m) / 1852.0 * PI / 10800.0;
  const double lat2 =
      Arc_Sin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(tc));
  double lon2 = lon1;
  if (std::cos(lat2) != 0.0) {
    lon2 =
        Real_Mod(lon1 - Arc_Sin(std::sin(tc) * std::sin(d) / std::cos(lat2)) + PI, 2.0 * PI) - PI;
  }
  Geo_Point p;
  p.lat = Round_Decimals(lat2 * 180.0 / PI, 6);
  p.lon = Round_Decimals(-lon2 * 180.0 / PI, 6);
  return p;
}

}  // namespace orv
