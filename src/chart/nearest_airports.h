// The airports of the database nearest to a position, found from the database index (each
// airport's item text parts and reference point) without decoding any airport's detail:
// great-circle distance on the sphere of one nautical mile per minute of arc, and the initial
// bearing from the position, magnetic by the variation at the position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/mag_var_table.h"
#include "data/database_files.h"

namespace orv {

inline constexpr int32_t NEAREST_DEFAULT_COUNT = 20;

struct Nearest_Airport {
  size_t entry = 0;  // its place in the index
  double distance_nm = 0.0;
  int16_t bearing_mag = 0;  // whole degrees, 1 to 360
};

// Great-circle distance in nautical miles (haversine form).
double Distance_Nm(double lat1, double lon1, double lat2, double lon2);

// True initial course from point 1 to point 2 in degrees, 0 up to 360; 0 for identical points.
double Bearing_True(double lat1, double lon1, double lat2, double lon2);

// The true bearing made magnetic by the variation at (lat, lon), rounded to whole degrees
// (halves to even) and folded into 1..360.
int16_t Bearing_Mag(const Mag_Var_Table& table, double true_bearing, double lat, double lon);

// The `count` entries nearest to (lat, lon), nearest first; equal distances keep index order.
// Fewer when the index holds fewer; none for a count below 1.
std::vector<Nearest_Airport> Find_Nearest(std::span<const Airport_Index_Entry> entries,
                                          const Mag_Var_Table& table, double lat, double lon,
                                          int32_t count);

// "12.3 nm" and "045°" (the degree sign in Windows-1252).
std::string Distance_Text(double distance_nm);
std::string Bearing_Text(int16_t bearing);

// One line of the nearest list, in Windows-1252: the item text, the distance and the bearing,
// "KSEA (SEATTLE-TACOMA INTL)  12.3 nm  045°".
std::string Nearest_Line(const Airport_Index_Entry& entry, const Nearest_Airport& near);

}  // namespace orv
