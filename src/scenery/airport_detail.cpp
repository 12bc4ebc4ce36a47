#include "scenery/airport_detail.h"

#include <cmath>
#include <optional>

#include "core/text_1252.h"
#include "scenery/bcd_frequency.h"
#include "scenery/geo_math.h"
#include "scenery/taxi_record.h"

namespace orv {
namespace {

double Latitude_Of(int32_t value) {
  return value * 90.0 / 10001750.0;
}
double Longitude_Of(int32_t value) {
  return value * 360.0 / 4294967296.0;
}
double Heading_Of(int32_t value) {
  return value / 65536.0 * 360.0 / 65536.0;
}

// The heading of the opposite end: from -360 up to, not including, 0.
double Opposite_Heading_Of(int32_t value) {
  return (value / 65536.0 - 32768.0) * 360.0 / 65536.0;
}

double Wrap_Longitude(double lon) {
  if (lon > 180) lon -= 360;
  if (lon < -180) lon += 360;
  return lon;
}

// Working values of one airport's detail walk.
struct Detail_Walk {
  const Mag_Var_Table& mag_var_table;
  Bgl_Reader& rd;
  Airport_Entry& entry;
  double ref_lat = 0.0;
  double ref_lon = 0.0;
};

struct Runway_Geometry {
  Runway_Rec rec;
  double h = 0.0;
  double h2 = 0.0;
};

void Apply_Reference(Detail_Walk& w, int64_t r) {
  const int32_t lat = Read_Long(w.rd, r + 12);
  const int32_t lon = Read_Long(w.rd, r + 20);
  if (!w.rd.ok()) return;
  w.entry.lat = w.ref_lat = Latitude_Of(lat);
  w.entry.lon = w.ref_lon = Longitude_Of(lon);
}

void Apply_Name(Detail_Walk& w, int64_t r, int32_t size) {
  const std::string name = Read_Text(w.rd, r + 8, size);
  if (w.rd.ok()) w.entry.name = Upper_1252(name);
}

std::string* Frequency_Field(Airport_Entry& a, int32_t type) {
  switch (type) {
    case 1:
      return &a.freq1;
    case 5:
      return &a.freq5;
    case 6:
      return &a.freq6;
    case 7:
      return &a.freq7;
    case 8:
      return &a.freq8;
    case 9:
      return &a.freq9;
    case 10:
      return &a.freq10;
    default:
      return nullptr;
  }
}

void Apply_Frequency(Detail_Walk& w, int64_t r) {
  const int32_t value = Read_Long(w.rd, r + 8);
  const int32_t type = Read_Long(w.rd, r + 12);
  if (!w.rd.ok()) return;
  std::string* field = Frequency_Field(w.entry, type);
  if (field == nullptr || !field->empty()) return;
  if (std::optional<std::string> text = Frequency_Text(value)) *field = *text;
}

// Runway ends lie 30 m inside each end of runways longer than 300 m, on a sphere whose
// meridian is 40007000 m long.
std::optional<Runway_Geometry> Read_Runway(Detail_Walk& w, int64_t r) {
  const int32_t lat_v = Read_Long(w.rd, r + 12);
  const int32_t lon_v = Read_Long(w.rd, r + 20);
  const int32_t elev_m = Read_Long(w.rd, r + 28);
  const int32_t hdg_v = Read_Long(w.rd, r + 32);
  const int32_t length_ft = Read_Long(w.rd, r + 40);
  const int32_t width_ft = Read_Long(w.rd, r + 44);
  const int32_t side = Read_Long(w.rd, r + 48);
  const int32_t number = Read_Long(w.rd, r + 52);
  if (!w.rd.ok()) return std::nullopt;

  Runway_Geometry g;
  const double lat = Latitude_Of(lat_v);
  const double lon = Longitude_Of(lon_v);
  g.h = Heading_Of(hdg_v);
  g.h2 = Opposite_Heading_Of(hdg_v);
  double length_m = length_ft * 0.3048;
  if (length_m > 300) length_m -= 60;
  const double k = DEG_TO_RAD;
  const double d_north = std::cos(g.h * k) * length_m;
  const double d_east = std::sin(g.h * k) * length_m;
  const double lon_scale = std::cos(lat * k) * 40007000;

  Runway_Rec& rec = g.rec;
  const Runway_Names names = Runway_Designators(number, side);
  rec.end1_name = names.end1;
  rec.end2_name = names.end2;
  rec.end1_lat = lat - d_north * 360 * 0.5 / 40007000;
  rec.end1_lon = Wrap_Longitude(lon - d_east * 360 * 0.5 / lon_scale);
  rec.end2_lat = lat + d_north * 360 * 0.5 / 40007000;
  rec.end2_lon = Wrap_Longitude(lon + d_east * 360 * 0.5 / lon_scale);
  rec.elev_ft = Round_To_Long(elev_m / 0.3048);
  rec.end1_mag_hdg = Mag_Heading(w.mag_var_table, g.h, rec.end1_lat, rec.end1_lon);
  rec.end2_mag_hdg = Mag_Heading(w.mag_var_table, g.h2, rec.end2_lat, rec.end2_lon);
  rec.length_ft = length_ft;
  rec.width_ft = width_ft;
  return g;
}

// An ILS that follows a runway; it moves to the threshold whose heading matches its course.
void Apply_Navaid(Detail_Walk& w, int64_t r, int32_t size, const Runway_Geometry& runway) {
  const int32_t kind = Read_Long(w.rd, r + 40);
  if (!w.rd.ok() || kind != NAVAID_ILS) return;
  const int32_t lat_v = Read_Long(w.rd, r + 12);
  const int32_t lon_v = Read_Long(w.rd, r + 20);
  const int32_t course_v = Read_Long(w.rd, r + 32);
  const int32_t freq_v = Read_Long(w.rd, r + 36);
  const std::string ident = Read_Text(w.rd, r + 56, int64_t{size} - 48);
  if (!w.rd.ok()) return;

  Ils_Rec& ils = Append_With_Spare(w.entry.ils, w.entry.ils_count);
  ils.ident = ident;
  ils.lat = Latitude_Of(lat_v);
  ils.lon = Longitude_Of(lon_v);
  if (ils.lon > 180) ils.lon -= 360;
  ils.freq = Frequency_Text(freq_v).value_or(std::string());
  const double c = Heading_Of(course_v);
  ils.mag_hdg = Mag_Heading(w.mag_var_table, c, ils.lat, ils.lon);
  // Headings are compared as directions: the far end of a runway stored at 270 degrees reads
  // -270, which is the same direction as a course of 90.
  const double course = Round_Half_Even(c);
  const auto same_direction = [course](double end_hdg) {
    return Real_Mod(course - Round_Half_Even(end_hdg), 360.0) == 0.0;
  };
  if (same_direction(runway.h)) {
    ils.lat = runway.rec.end1_lat;
    ils.lon = runway.rec.end1_lon;
  }
  if (same_direction(runway.h2)) {
    ils.lat = runway.rec.end2_lat;
    ils.lon = runway.rec.end2_lon;
  }
}

// Reads a runway and the navaid records right after it. Returns the offset of the first
// record that is not one of its navaids, or nothing when the walk must end.
std::optional<int64_t> Apply_Runway(Detail_Walk& w, int64_t r, int32_t size) {
  const std::optional<Runway_Geometry> runway = Read_Runway(w, r);
  if (!runway) return std::nullopt;
  Append_With_Spare(w.entry.runways, w.entry.runway_count) = runway->rec;
  std::optional<int64_t> next = Next_Record(w.rd, r, size);
  while (next && Read_Long(w.rd, *next) == DETAIL_NAVAID) {
    const int32_t navaid_size = Read_Long(w.rd, *next + 4);
    if (!w.rd.ok()) return std::nullopt;
    Apply_Navaid(w, *next, navaid_size, *runway);
    if (!w.rd.ok()) return std::nullopt;
    next = Next_Record(w.rd, *next, navaid_size);
  }
  return w.rd.ok() ? next : std::nullopt;
}

bool Is_Detail_Record(int32_t type) {
  switch (type) {
    case DETAIL_REFERENCE:
    case DETAIL_NAME:
    case DETAIL_FREQUENCY:
    case TAXIWAY_RECORD:
    case DETAIL_RUNWAY:
    case DETAIL_SKIPPED_3:
    case DETAIL_SKIPPED_5:
    case DETAIL_NAVAID:
      return true;
    default:
      return false;
  }
}

}  // namespace

Runway_Names Runway_Designators(int32_t number, int32_t side) {
  Runway_Names names;
  if (number > 36) return names;
  static constexpr const char* kEnd1Side[] = {"", "L", "R", "C", "H"};
  static constexpr const char* kEnd2Side[] = {"", "R", "L", "C", "H"};
  const bool known_side = side >= 0 && side <= 4;
  int32_t opposite = number + 18;
  if (opposite > 36) opposite -= 36;
  names.end1 = std::to_string(number) + (known_side ? kEnd1Side[side] : "");
  names.end2 = std::to_string(opposite) + (known_side ? kEnd2Side[side] : "");
  return names;
}

void Read_Airport_Detail(const Mag_Var_Table& mag_var_table, Bgl_Reader& rd, int64_t detail,
                         Airport_Entry& entry) {
  Detail_Walk w{mag_var_table, rd, entry};
  std::optional<int64_t> r = detail + 16;
  while (r && rd.ok()) {
    // An unknown type ends the detail before its size is read: it may be the file's last bytes.
    const int32_t type = Read_Long(rd, *r);
    if (!rd.ok() || !Is_Detail_Record(type)) return;
    const int32_t size = Read_Long(rd, *r + 4);
    if (!rd.ok()) return;
    switch (type) {
      case DETAIL_REFERENCE:
        Apply_Reference(w, *r);
        break;
      case DETAIL_NAME:
        Apply_Name(w, *r, size);
        break;
      case DETAIL_FREQUENCY:
        Apply_Frequency(w, *r);
        break;
      case TAXIWAY_RECORD:
        Read_Taxi_Record(rd, *r, entry, w.ref_lat, w.ref_lon);
        break;
      case DETAIL_RUNWAY:
        r = Apply_Runway(w, *r, size);
        continue;
      case DETAIL_SKIPPED_3:
      case DETAIL_SKIPPED_5:
      case DETAIL_NAVAID:
        break;
      default:
        return;
    }
    r = Next_Record(rd, *r, size);
  }
}

}  // namespace orv
