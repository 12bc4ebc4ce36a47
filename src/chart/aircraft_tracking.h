// Reading the user's aircraft through the simulator link: position, true heading and the
// sea-level pressure setting, each in its own read-and-process exchange, and the altimeter text
// the chart window shows.
#pragma once

#include <cstdint>
#include <string>

#include "core/program_state.h"
#include "simlink/link_client.h"

namespace orv {

// Interface offsets read at each tick, in the order they are read.
inline constexpr int32_t OFS_ACFT_LAT_HIGH = 0x0564;  // high half of the 64-bit latitude
inline constexpr int32_t OFS_ACFT_LON_HIGH = 0x056C;  // high half of the 64-bit longitude
inline constexpr int32_t OFS_ACFT_HDG = 0x0580;
inline constexpr int32_t OFS_PRESSURE = 0x0EC6;  // millibars x 16, 2 bytes

// The raw values as the simulator gave them.
struct Aircraft_Raw {
  int32_t lat = 0;
  int32_t lon = 0;
  int32_t hdg = 0;
  uint32_t pressure = 0;  // unsigned 16-bit
};

double Lat_From_Raw(int32_t raw);   // raw x 90 / 10001750
double Lon_From_Raw(int32_t raw);   // raw x 360 / 4294967296
int16_t Hdg_From_Raw(int32_t raw);  // raw x 360 / 4294967296, halves to even
// The pressure setting in the unit `altim_units` chooses: 0 millibars (whole), 1 inches of
// mercury (2 decimals); any other unit keeps old_value.
double Altimeter_From_Raw(uint32_t raw, uint8_t altim_units, double old_value);

// Reads latitude, longitude, heading and pressure in four exchanges and converts each into
// state as soon as it arrives (acft_lat, acft_lon, acft_hdg, altim_value by altim_units). Stops
// at the first failing read or process with its result code; values converted before stay.
// `raw`, when given, receives the raw values read.
bool Read_Aircraft(Link_State& link, Program_State& state, int32_t& result,
                   Aircraft_Raw* raw = nullptr);

// The number in its shortest decimal form: no exponent, no trailing zeros (29.92, 1013).
std::string Shortest_Decimal(double value);

// "Altimeter: " followed by the value in its shortest decimal form.
std::string Altimeter_Caption(double altim_value);

}  // namespace orv
