#include "scenery/taxi_record.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <vector>

#include "core/text_1252.h"
#include "scenery/geo_math.h"

namespace orv {
namespace {

constexpr int32_t kPointSize = 12;
constexpr int32_t kParkingSize = 20;
constexpr int32_t kPathSize = 32;
constexpr int32_t kNameSize = 8;
constexpr int32_t kMaxElements = 32767;

constexpr std::array<std::string_view, 38> kParkingNames = {
    "",           "Parking",   "N Parking",  "NE Parking", "E Parking", "SE Parking", "S Parking",
    "SW Parking", "W Parking", "NW Parking", "Gate",       "Dock",      "Gate A",     "Gate B",
    "Gate C",     "Gate D",    "Gate E",     "Gate F",     "Gate G",    "Gate H",     "Gate I",
    "Gate J",     "Gate K",    "Gate L",     "Gate M",     "Gate N",    "Gate O",     "Gate P",
    "Gate Q",     "Gate R",    "Gate S",     "Gate T",     "Gate U",    "Gate V",     "Gate W",
    "Gate X",     "Gate Y",    "Gate Z"};

struct Position {
  double lat = 0.0;
  double lon = 0.0;
};

// The reference point and the four courses that points and parking places are moved along.
struct Reference {
  double lat;
  double lon;
  Radial_Start start;
  Radial_Course north;
  Radial_Course east;
  Radial_Course south;
  Radial_Course west;
};

Reference Reference_At(double lat, double lon) {
  return {lat,
          lon,
          Radial_Start_At(lat, lon),
          Radial_Course_Of(0),
          Radial_Course_Of(90),
          Radial_Course_Of(180),
          Radial_Course_Of(270)};
}

// Latitude from the northward offset and longitude from the eastward one, each moved
// independently from the reference point.
Position Position_From_Offsets(const Reference& ref, double x, double y) {
  Position p{ref.lat, ref.lon};
  if (x > 0) p.lon = Radial_Lon(ref.start, ref.east, x);
  if (x < 0) p.lon = Radial_Lon(ref.start, ref.west, x);
  if (y > 0) p.lat = Radial_Lat(ref.start, ref.north, y);
  if (y < 0) p.lat = Radial_Lat(ref.start, ref.south, y);
  return p;
}

double Single_At(Bgl_Reader& rd, int64_t offset) {
  return static_cast<double>(Long_To_Single(Read_Long(rd, offset)));
}

std::vector<Taxi_Point> Read_Points(Bgl_Reader& rd, int64_t o, int32_t n, const Reference& ref) {
  std::vector<Taxi_Point> points(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i, o += kPointSize) {
    Taxi_Point& p = points[static_cast<size_t>(i)];
    p.kind = Read_Long(rd, o);
    const Position at = Position_From_Offsets(ref, Single_At(rd, o + 4), Single_At(rd, o + 8));
    p.lat = at.lat;
    p.lon = at.lon;
  }
  return points;
}

std::vector<Parking_Rec> Read_Parkings(Bgl_Reader& rd, int64_t o, int32_t n, const Reference& ref) {
  std::vector<Parking_Rec> parkings(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i, o += kParkingSize) {
    Parking_Rec& p = parkings[static_cast<size_t>(i)];
    const Position at = Position_From_Offsets(ref, Single_At(rd, o), Single_At(rd, o + 4));
    p.lat = at.lat;
    p.lon = at.lon;
    p.radius_ft = Round_To_Long(Single_At(rd, o + 8) / 0.3048);
    p.label = Parking_Label(Read_Long(rd, o + 16));
  }
  return parkings;
}

std::vector<Taxi_Path> Read_Paths(Bgl_Reader& rd, int64_t o, int32_t n) {
  std::vector<Taxi_Path> paths(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i, o += kPathSize) {
    Taxi_Path& p = paths[static_cast<size_t>(i)];
    p.kind = Read_Long(rd, o);
    p.start_pt = Read_Long(rd, o + 12);
    p.end_pt = Read_Long(rd, o + 16);
    p.label = std::to_string(Read_Long(rd, o + 28));
  }
  return paths;
}

// The index of the name a taxiway label stands for: its value when it is the decimal text of
// a whole number below `count`, written as std::to_string writes it (no sign, no leading zero).
std::optional<size_t> Name_Index(const std::string& label, size_t count) {
  if (label.empty() || label.size() > 5 || (label[0] == '0' && label.size() > 1)) {
    return std::nullopt;
  }
  size_t value = 0;
  for (const char c : label) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<size_t>(c - '0');
  }
  if (value >= count) return std::nullopt;
  return value;
}

// Taxiway names replace the numeric labels of taxiway segments in name order: the label "i"
// becomes name i, and a name that is itself the number of a later name is replaced again by
// that one. Runway segments take the designator of the runway they lie on.
void Label_Paths(Airport_Entry& entry, const std::vector<std::string>& names) {
  for (Taxi_Path& p : entry.taxi_paths) {
    if (p.kind != PATH_TAXIWAY) continue;
    size_t later = 0;  // only names from this index on can still replace the label
    while (const std::optional<size_t> i = Name_Index(p.label, names.size())) {
      if (*i < later) break;
      p.label = names[*i];
      later = *i + 1;
    }
  }
  for (Taxi_Path& p : entry.taxi_paths) {
    if (p.kind != PATH_RUNWAY) continue;
    int32_t runway = -1;
    const char* first = p.label.data();
    const auto [end, ec] = std::from_chars(first, first + p.label.size(), runway);
    if (ec != std::errc() || end != first + p.label.size()) continue;
    if (runway < 0 || runway >= entry.runway_count) continue;
    p.label = "Runway " + entry.runways[static_cast<size_t>(runway)].end1_name;
  }
}

template <typename T>
void Replace_List(std::vector<T>& list, int32_t& count, std::vector<T> read) {
  list = std::move(read);
  count = static_cast<int32_t>(list.size());
}

}  // namespace

std::string Parking_Label(int32_t identity) {
  const auto bits = static_cast<uint32_t>(identity);
  const uint32_t code = bits & 0x7Fu;
  const uint32_t number = (bits >> 7) & 0x1FFFu;
  if (code == 0 || code >= kParkingNames.size()) return std::to_string(number);
  static const std::array<std::string, kParkingNames.size()> kUpperNames = [] {
    std::array<std::string, kParkingNames.size()> upper;
    for (size_t i = 0; i < upper.size(); ++i) upper[i] = Upper_1252(kParkingNames[i]);
    return upper;
  }();
  std::string label = kUpperNames[code];
  label += ' ';
  label += std::to_string(number);
  return label;
}

void Read_Taxi_Record(Bgl_Reader& rd, int64_t record, Airport_Entry& entry, double ref_lat,
                      double ref_lon) {
  const int64_t end = record + int64_t{Read_Long(rd, record + 4)} + 8;
  const Reference ref = Reference_At(ref_lat, ref_lon);
  int64_t o = record + 8;
  while (rd.ok() && o < end) {
    const int32_t n = Read_Long(rd, o);
    const int32_t e = Read_Long(rd, o + 4);
    if (!rd.ok()) return;
    o += 8;
    if (e != kPointSize && e != kParkingSize && e != kPathSize && e != kNameSize) return;
    if (n < 0 || n > kMaxElements || int64_t{n} * e > end - o) return;
    const int64_t elements = o;
    o += int64_t{n} * e;
    switch (e) {
      case kPointSize: {
        std::vector<Taxi_Point> points = Read_Points(rd, elements, n, ref);
        if (rd.ok()) Replace_List(entry.taxi_points, entry.taxi_point_count, std::move(points));
        break;
      }
      case kParkingSize: {
        std::vector<Parking_Rec> parkings = Read_Parkings(rd, elements, n, ref);
        if (rd.ok()) Replace_List(entry.parkings, entry.parking_count, std::move(parkings));
        break;
      }
      case kPathSize: {
        std::vector<Taxi_Path> paths = Read_Paths(rd, elements, n);
        if (rd.ok()) Replace_List(entry.taxi_paths, entry.taxi_path_count, std::move(paths));
        break;
      }
      default: {
        std::vector<std::string> names(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i)
          names[static_cast<size_t>(i)] =
              Read_Text(rd, elements + int64_t{i} * kNameSize, kNameSize);
        if (rd.ok()) Label_Paths(entry, names);
        return;
      }
    }
  }
}

}  // namespace orv
