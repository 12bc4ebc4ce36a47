// Numeric routines shared by the scenery readers and the chart: guarded inverse trigonometry,
// floored remainder, heading folding, float decoding and the great-circle destination point.
// Every formula is evaluated in the order written, with the 15-digit pi, so that results match
// the stored database and the chart to the last bit.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

inline constexpr double PI = 3.14159265358979;
inline constexpr double DEG_TO_RAD = 0.0174532925199433;  // used only for runway ends

// The point record returned by the destination-point routines; only lat and lon are set.
struct Geo_Point {
  std::string text1;
  std::string text2;
  double lat = 0.0;
  double lon = 0.0;
  int32_t spare = 0;
};

// Whole-number conversion: nearest, halves to even.
double Round_Half_Even(double x);

// Whole-number conversion to a 32-bit value, halves to even; values beyond the range (or not
// a number) are held at its nearest end (0 for not a number), as damaged files can give.
int32_t Round_To_Long(double x);

// nearbyint(x * 10^decimals) / 10^decimals, halves to even.
double Round_Decimals(double x, int decimals);

// Arcsine in radians, 0 outside [-1, 1].
double Arc_Sin(double x);

// Arccosine in radians, 0 outside [-1, 1].
double Arc_Cos(double x);

// y - x * floor(y / x), with x added once more when that is negative.
double Real_Mod(double y, double x);

// Folds a heading once: above 360 loses 360, then below 0 gains 360. 360 stays 360.
int16_t Norm_Heading(int32_t h);

// Two upper-case hexadecimal digits of a byte value.
std::string Hex_Byte(int32_t value);

// Decodes a 32-bit pattern as a single-precision float. An exponent field of 0 keeps its
// implied leading 1; an exponent field of 255 gives 0.
float Long_To_Single(int32_t pattern);

// The point reached from (lat, lon) along a true course over a distance in metres (its sign
// is dropped), on a sphere with one nautical mile of 1852 m per minute of arc. lat and lon of
// the result are rounded to 6 decimals.
Geo_Point Point_From_Radial(double lat, double lon, int16_t course, double distance_m);

// Many moves from one point along few courses (the taxiway points and parking places of an
// airport, each moved north or south and east or west of its reference point) share the
// start's and the course's trigonometry: worked out once, it gives the same values.
struct Radial_Start {
  double lat1 = 0.0;  // radians
  double lon1 = 0.0;  // radians, west positive
  double sin_lat1 = 0.0;
  double cos_lat1 = 0.0;
};
Radial_Start Radial_Start_At(double lat, double lon);

struct Radial_Course {
  double tc = 0.0;  // radians
  double sin_tc = 0.0;
  double cos_tc = 0.0;
};
Radial_Course Radial_Course_Of(int16_t course);

// The latitude, and the longitude, of Point_From_Radial from that start along that course, each
// worked out alone.
double Radial_Lat(const Radial_Start& start, const Radial_Course& course, double distance_m);
double Radial_Lon(const Radial_Start& start, const Radial_Course& course, double distance_m);

}  // namespace orv
