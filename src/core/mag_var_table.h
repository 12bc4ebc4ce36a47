// The magnetic variation grid as the program holds it.
#pragma once

#include <array>
#include <cstdint>

namespace orv {

// Entry (lat + 90) + lon * 181: variation at whole-degree latitude -90..90 and longitude
// 0..359 east, in units of 360/65536 degree, east positive.
inline constexpr int MAG_VAR_ENTRIES = 65161;
using Mag_Var_Table = std::array<int16_t, MAG_VAR_ENTRIES>;

}  // namespace orv
