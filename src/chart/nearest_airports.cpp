#include "chart/nearest_airports.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "scenery/geo_math.h"
#include "scenery/magdec.h"

namespace orv {

double Distance_Nm(double lat1, double lon1, double lat2, double lon2) {
  const double phi1 = lat1 * PI / 180.0;
  const double phi2 = lat2 * PI / 180.0;
  const double s_phi = std::sin((phi2 - phi1) / 2.0);
  const double s_lam = std::sin((lon2 - lon1) * PI / 180.0 / 2.0);
  const double h = s_phi * s_phi + std::cos(phi1) * std::cos(phi2) * (s_lam * s_lam);
  return 2.0 * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0))) * 10800.0 / PI;
}

double Bearing_True(double lat1, double lon1, double lat2, double lon2) {
  const double phi1 = lat1 * PI / 180.0;
  const double phi2 = lat2 * PI / 180.0;
  const double dlam = (lon2 - lon1) * PI / 180.0;
  const double y = std::sin(dlam) * std::cos(phi2);
  const double x =
      std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dlam);
  if (x == 0.0 && y == 0.0) return 0.0;
  const double deg = std::atan2(y, x) * 180.0 / PI;
  return deg < 0.0 ? deg + 360.0 : deg;
}

int16_t Bearing_Mag(const Mag_Var_Table& table, double true_bearing, double lat, double lon) {
  if (!std::isfinite(true_bearing)) return 360;
  double mag = Round_Half_Even(true_bearing - Mag_Var_Degrees(table, lat, lon));
  mag = std::fmod(mag, 360.0);
  if (mag <= 0.0) mag += 360.0;
  return static_cast<int16_t>(mag);
}

std::vector<Nearest_Airport> Find_Nearest(std::span<const Airport_Index_Entry> entries,
                                          const Mag_Var_Table& table, double lat, double lon,
                                          int32_t count) {
  if (count < 1 || entries.empty()) return {};
  std::vector<Nearest_Airport> all(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    double d = Distance_Nm(lat, lon, entries[i].lat, entries[i].lon);
    if (std::isnan(d)) d = INFINITY;  // a damaged position sorts last
    all[i] = {i, d, 0};
  }
  const size_t n = std::min(all.size(), static_cast<size_t>(count));
  const auto nearer = [](const Nearest_Airport& a, const Nearest_Airport& b) {
    return a.distance_nm != b.distance_nm ? a.distance_nm < b.distance_nm : a.entry < b.entry;
  };
  std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n), all.end(), nearer);
  all.resize(n);
  for (Nearest_Airport& a : all) {
    const Airport_Index_Entry& e = entries[a.entry];
    a.bearing_mag = Bearing_Mag(table, Bearing_True(lat, lon, e.lat, e.lon), lat, lon);
  }
  return all;
}

std::string Distance_Text(double distance_nm) {
  char text[32];
  const auto [end, ec] =
      std::to_chars(text, text + sizeof text, distance_nm, std::chars_format::fixed, 1);
  if (ec != std::errc()) return "? nm";
  return std::string(text, end).append(" nm");
}

std::string Bearing_Text(int16_t bearing) {
  std::string digits = std::to_string(bearing);
  while (digits.size() < 3) digits.insert(digits.begin(), '0');
  return digits.append("\xB0");
}

std::string Nearest_Line(const Airport_Index_Entry& entry, const Nearest_Airport& near) {
  std::string line = entry.ident;
  line.append(" (").append(entry.name).append(")  ").append(Distance_Text(near.distance_nm));
  return line.append("  ").append(Bearing_Text(near.bearing_mag));
}

}  // namespace orv
