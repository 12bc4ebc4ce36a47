#include "chart/aircraft_tracking.h"

#include <array>
#include <charconv>

#include "scenery/geo_math.h"

namespace orv {

namespace {

// One read-and-process exchange of `size` bytes (at most 4). The bytes land in the low end of a
// zeroed 32-bit value, so a 2-byte value reads as unsigned.
bool Exchange(Link_State& link, int32_t offset, int32_t size, uint32_t& value, int32_t& result) {
  std::array<uint8_t, 4> bytes{};
  if (!Link_Read(link, offset, size, bytes.data(), result)) return false;
  if (!Link_Process(link, result)) return false;
  value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
          static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return true;
}

}  // namespace

double Lat_From_Raw(int32_t raw) {
  return raw * 90.0 / 10001750.0;
}

double Lon_From_Raw(int32_t raw) {
  return raw * 360.0 / 4294967296.0;
}

int16_t Hdg_From_Raw(int32_t raw) {
  return static_cast<int16_t>(Round_Half_Even(raw * 360.0 / 4294967296.0));
}

double Altimeter_From_Raw(uint32_t raw, uint8_t altim_units, double old_value) {
  if (altim_units == 0) return Round_Decimals(raw / 16.0, 0);
  if (altim_units == 1) return Round_Decimals(raw / 16.0 / 33.86, 2);
  return old_value;
}

bool Read_Aircraft(Link_State& link, Program_State& state, int32_t& result, Aircraft_Raw* raw) {
  Aircraft_Raw got;
  uint32_t value = 0;
  if (!Exchange(link, OFS_ACFT_LAT_HIGH, 4, value, result)) return false;
  got.lat = static_cast<int32_t>(value);
  state.acft_lat = Lat_From_Raw(got.lat);
  if (raw != nullptr) raw->lat = got.lat;

  if (!Exchange(link, OFS_ACFT_LON_HIGH, 4, value, result)) return false;
  got.lon = static_cast<int32_t>(value);
  state.acft_lon = Lon_From_Raw(got.lon);
  if (raw != nullptr) raw->lon = got.lon;

  if (!Exchange(link, OFS_ACFT_HDG, 4, value, result)) return false;
  got.hdg = static_cast<int32_t>(value);
  state.acft_hdg = Hdg_From_Raw(got.hdg);
  if (raw != nullptr) raw->hdg = got.hdg;

  if (!Exchange(link, OFS_PRESSURE, 2, value, result)) return false;
  got.pressure = value;
  state.altim_value = Altimeter_From_Raw(got.pressure, state.altim_units, state.altim_value);
  if (raw != nullptr) raw->pressure = got.pressure;

  result = LINK_OK;
  return true;
}

std::string Shortest_Decimal(double value) {
  std::array<char, 400> text{};
  const auto out =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (out.ec != std::errc{}) return "0";
  return std::string(text.data(), out.ptr);
}

std::string Altimeter_Caption(double altim_value) {
  return "Altimeter: " + Shortest_Decimal(altim_value);
}

}  // namespace orv
