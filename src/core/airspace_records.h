// Airspace boundaries read around the chosen airport.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

inline constexpr uint8_t PT_START = 0;
inline constexpr uint8_t PT_CENTER = 1;
inline constexpr uint8_t PT_CIRCLE = 2;
inline constexpr uint8_t PT_ARC_CW = 3;
inline constexpr uint8_t PT_ARC_CCW = 4;
inline constexpr uint8_t PT_LINE = 5;

struct Boundary_Point {
  uint8_t kind = 0;
  double lat = 0.0;
  double lon = 0.0;
  int32_t radius = 0;

  bool operator==(const Boundary_Point&) const = default;
};

struct Airspace_Entry {
  std::vector<Boundary_Point> points;
  int32_t point_count = 0;
  int32_t alt_low = 0;
  int32_t alt_high = 0;
  std::string freq_text;
  std::string class_label;
  std::string airspace_name;
  std::string com_name;

  bool operator==(const Airspace_Entry&) const = default;
};

inline constexpr const char* CLASS_ARTCC = "ARTCC/FIR";
inline constexpr const char* CLASS_B = "Airspace Class B";
inline constexpr const char* CLASS_C = "Airspace Class C";
inline constexpr const char* CLASS_D = "Airspace Class D";
inline constexpr const char* CLASS_TRACON = "TRACON (Departure/Approach)";

}  // namespace orv
