// Everything the program knows about one airport. Filled once by the database build, then
// only copied: into the database file, back into the airport list, and into cur_airport.
//
// runways and ils are either empty (never sized) or one element longer than their count: the
// last element is an empty spare. taxi_points, parkings and taxi_paths are exactly as long as
// their counts (empty when never sized). The database file stores the lists in this form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct Runway_Rec {
  std::string end1_name;
  std::string end2_name;
  double end1_lat = 0.0;
  double end1_lon = 0.0;
  double end2_lat = 0.0;
  double end2_lon = 0.0;
  int32_t elev_ft = 0;
  int16_t end1_mag_hdg = 0;
  int16_t end2_mag_hdg = 0;
  int32_t length_ft = 0;
  int32_t width_ft = 0;

  bool operator==(const Runway_Rec&) const = default;
};

struct Ils_Rec {
  std::string ident;
  double lat = 0.0;
  double lon = 0.0;
  int16_t mag_hdg = 0;
  std::string freq;

  bool operator==(const Ils_Rec&) const = default;
};

struct Taxi_Point {
  int32_t kind = 0;
  double lat = 0.0;
  double lon = 0.0;

  bool operator==(const Taxi_Point&) const = default;
};

struct Parking_Rec {
  std::string label;
  double lat = 0.0;
  double lon = 0.0;
  int32_t radius_ft = 0;

  bool operator==(const Parking_Rec&) const = default;
};

// kind: 0 taxiway segment, 1 segment on a runway, 2 segment ending at a parking place.
inline constexpr int32_t PATH_TAXIWAY = 0;
inline constexpr int32_t PATH_RUNWAY = 1;
inline constexpr int32_t PATH_PARKING = 2;

struct Taxi_Path {
  int32_t kind = 0;
  int32_t start_pt = 0;
  int32_t end_pt = 0;
  std::string label;

  bool operator==(const Taxi_Path&) const = default;
};

struct Airport_Entry {
  std::string ident;
  std::string name;
  double lat = 0.0;
  double lon = 0.0;
  // The airport's frequencies as megahertz text, each named by the scenery's frequency type.
  std::string freq7;   // clearance delivery
  std::string freq5;   // ground
  std::string freq6;   // tower
  std::string freq9;   // departure
  std::string freq8;   // approach
  std::string freq10;  // centre
  std::string freq1;   // ATIS
  std::vector<Runway_Rec> runways;
  int32_t runway_count = 0;
  std::vector<Ils_Rec> ils;
  int32_t ils_count = 0;
  std::vector<Taxi_Point> taxi_points;
  int32_t taxi_point_count = 0;
  std::vector<Parking_Rec> parkings;
  int32_t parking_count = 0;
  std::vector<Taxi_Path> taxi_paths;
  int32_t taxi_path_count = 0;

  bool operator==(const Airport_Entry&) const = default;
};

// The item text of the airport list: ident, " (", name, ")".
inline std::string Airport_Item_Text(const Airport_Entry& a) {
  return a.ident + " (" + a.name + ")";
}

// Appends to a list that keeps one empty spare element after its `count` used ones: the
// count is raised first, then the list is sized to count + 1. Returns the new used element.
template <typename T, typename Count>
T& Append_With_Spare(std::vector<T>& list, Count& count) {
  ++count;
  list.resize(static_cast<size_t>(count) + 1);
  return list[static_cast<size_t>(count) - 1];
}

// Cuts a list down to its single empty spare element (how lists are released).
template <typename T>
void Release_To_Spare(std::vector<T>& list) {
  list.assign(1, T{});
}

}  // namespace orv
