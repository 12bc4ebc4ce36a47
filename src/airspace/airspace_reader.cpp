#include "airspace/airspace_reader.h"

#include <optional>
#include <string>

#include "core/program_state.h"
#include "scenery/bcd_frequency.h"
#include "scenery/geo_math.h"
#include "scenery/scan_bgl_file.h"

namespace orv {
namespace {

constexpr const char* kTwoBlanks = "  ";

// Grows a list so that index count - 1 exists after the count is raised, and empties that
// element (a list may be longer than its count). A negative count counts as an empty list.
template <typename T>
T& Append_Zeroed(std::vector<T>& list, int32_t& count) {
  if (count < 0) count = 0;
  ++count;
  const auto used = static_cast<size_t>(count);
  if (list.size() < used) list.resize(used);
  T& added = list[used - 1];
  added = T{};
  return added;
}

bool Is_Group_Record(int32_t id) {
  switch (id) {
    case AIRSPACE_BOX_ID:
    case AIRSPACE_NAME_ID:
    case AIRSPACE_FREQUENCY_ID:
    case AIRSPACE_CENTER_ID:
    case AIRSPACE_START_ID:
    case AIRSPACE_IGNORED_ID:
    case AIRSPACE_LINE_ID:
    case AIRSPACE_ARC_CW_ID:
    case AIRSPACE_ARC_CCW_ID:
    case AIRSPACE_CIRCLE_ID:
      return true;
    default:
      return false;
  }
}

bool Is_List_Record(int32_t type) {
  return type == AIRSPACE_LIST_RECORD || type == AIRSPACE_SKIPPED_RECORD;
}

// Reads the head of the record at `offset` into `head`: its type, and its size only when the
// type is one that the list knows (an unknown type ends the list, so its size is never needed).
// False when the list ends here or the head lies outside the image.
bool Read_Head(Bgl_Reader& rd, int64_t offset, bool (*known)(int32_t), Section_Head& head) {
  const int32_t type = Read_Long(rd, offset);
  if (!rd.ok()) return false;
  head = {type, 0};
  if (!known(type)) return false;
  head.size = Read_Long(rd, offset + 4);
  return rd.ok();
}

// Moves from the record at `offset` to the next one of the same list and reads its head.
// False when the list ends: a size that does not advance, an unknown type, or a head outside
// the image.
bool Advance(Bgl_Reader& rd, int64_t& offset, bool (*known)(int32_t), Section_Head& head) {
  const std::optional<int64_t> next = Next_Record(rd, offset, head.size);
  if (!next) return false;
  offset = *next;
  return Read_Head(rd, offset, known, head);
}

// The box record: appends an entry when the chosen airport lies strictly inside.
// Returns whether it did; nothing when the record could not be read.
std::optional<bool> Read_Box(Program_State& st, Bgl_Reader& rd, int64_t rec) {
  const int32_t south = Read_Long(rd, rec + 8);
  const int32_t west = Read_Long(rd, rec + 12);
  const int32_t north = Read_Long(rd, rec + 16);
  const int32_t east = Read_Long(rd, rec + 20);
  if (!rd.ok()) return std::nullopt;
  const double lat = st.cur_airport.lat;
  const double lon = st.cur_airport.lon;
  const bool inside = Airspace_Lat(south) < lat && lat < Airspace_Lat(north) &&
                      Airspace_Lon(west) < lon && lon < Airspace_Lon(east);
  if (inside) Append_Airspace(st);
  return inside;
}

void Join_Name(Airspace_Entry& entry, const std::string& text) {
  if (entry.airspace_name.empty()) {
    entry.airspace_name = text;
  } else {
    entry.airspace_name += kTwoBlanks;
    entry.airspace_name += text;
  }
}

uint8_t Point_Kind(int32_t id) {
  switch (id) {
    case AIRSPACE_CENTER_ID:
      return PT_CENTER;
    case AIRSPACE_START_ID:
      return PT_START;
    case AIRSPACE_LINE_ID:
      return PT_LINE;
    case AIRSPACE_ARC_CW_ID:
      return PT_ARC_CW;
    case AIRSPACE_ARC_CCW_ID:
      return PT_ARC_CCW;
    default:
      return PT_CIRCLE;
  }
}

// A record after a containing box, applied to `entry` only when all of its fields were read.
// Returns false when a field lies outside the image.
bool Apply_Group_Record(Airspace_Entry& entry, Bgl_Reader& rd, int64_t rec, int32_t id,
                        int32_t size) {
  switch (id) {
    case AIRSPACE_NAME_ID: {
      const std::string text = Read_Text(rd, rec + 8, size);
      if (!rd.ok()) return false;
      Join_Name(entry, text);
      return true;
    }
    case AIRSPACE_FREQUENCY_ID: {
      const int32_t value = Read_Long(rd, rec + 8);
      const std::string text = Read_Text(rd, rec + 16, int64_t{size} - 8);
      if (!rd.ok()) return false;
      if (const std::optional<std::string> mhz = Frequency_Text(value)) {
        entry.freq_text += *mhz + " Mhz" + kTwoBlanks;
      }
      entry.com_name = text;
      return true;
    }
    case AIRSPACE_CIRCLE_ID: {
      const int32_t radius = Read_Long(rd, rec + 8);
      const int32_t low = Read_Long(rd, rec + 16);
      const int32_t high = Read_Long(rd, rec + 20);
      if (!rd.ok()) return false;
      Boundary_Point& point = Append_Point(entry);
      point.kind = PT_CIRCLE;
      point.radius = radius;
      entry.alt_low = low;
      entry.alt_high = high;
      return true;
    }
    case AIRSPACE_CENTER_ID:
    case AIRSPACE_START_ID:
    case AIRSPACE_LINE_ID:
    case AIRSPACE_ARC_CW_ID:
    case AIRSPACE_ARC_CCW_ID: {
      const int32_t lat = Read_Long(rd, rec + 12);
      const int32_t lon = Read_Long(rd, rec + 20);
      const bool is_start = id == AIRSPACE_START_ID;
      const int32_t low = is_start ? Read_Long(rd, rec + 24) : 0;
      const int32_t high = is_start ? Read_Long(rd, rec + 28) : 0;
      if (!rd.ok()) return false;
      Boundary_Point& point = Append_Point(entry);
      point.kind = Point_Kind(id);
      point.lat = Airspace_Lat(lat);
      point.lon = Airspace_Lon(lon);
      if (is_start) {
        entry.alt_low = low;
        entry.alt_high = high;
      }
      return true;
    }
    default:  // the ignored record
      return true;
  }
}

}  // namespace

bool Airspace_Read_Mode(const Program_State& st) {
  return !st.first_run && st.db_ready;
}

Airspace_Entry& Append_Airspace(Program_State& st) {
  return Append_Zeroed(st.airspaces, st.airspace_count);
}

Boundary_Point& Append_Point(Airspace_Entry& entry) {
  return Append_Zeroed(entry.points, entry.point_count);
}

double Airspace_Lat(int32_t value) {
  return Round_Decimals(value * 90.0 / 10001750.0, 4);
}

double Airspace_Lon(int32_t value) {
  return Round_Decimals(value * 360.0 / 4294967296.0, 4);
}

void Read_Airspace_Section(Program_State& st, Bgl_Reader& rd, int64_t section, Section_Head& head,
                           std::string_view scan_file) {
  const bool read_mode = Airspace_Read_Mode(st);
  int64_t rec = section;
  while (rd.ok() && Is_List_Record(head.type)) {
    if (head.type == AIRSPACE_LIST_RECORD) {
      const int32_t subtype = Read_Long(rd, rec + 8);
      if (!rd.ok()) return;
      if (subtype == AIRSPACE_CONTAINER_SUBTYPE) {
        if (!read_mode) {
          Record_Airspace_File(st, scan_file);
        } else {
          Section_Head inner;
          if (Read_Head(rd, rec + 16, Is_List_Record, inner)) {
            Read_Airspace_Container(st, rd, rec + 16, inner);
          }
          if (!rd.ok()) return;
        }
      }
    }
    if (!Advance(rd, rec, Is_List_Record, head)) return;
  }
}

void Read_Airspace_Container(Program_State& st, Bgl_Reader& rd, int64_t list, Section_Head& head) {
  int64_t rec = list;
  while (rd.ok() && Is_List_Record(head.type)) {
    if (head.type == AIRSPACE_LIST_RECORD) {
      const int32_t subtype = Read_Long(rd, rec + 8);
      if (!rd.ok()) return;
      if (subtype == AIRSPACE_GROUP_SUBTYPE) {
        Read_Airspace_Group(st, rd, rec);
        if (!rd.ok()) return;
      }
    }
    if (!Advance(rd, rec, Is_List_Record, head)) return;
  }
}

void Read_Airspace_Group(Program_State& st, Bgl_Reader& rd, int64_t group) {
  bool keep = false;
  int64_t rec = group + 16;
  Section_Head head;
  if (!Read_Head(rd, rec, Is_Group_Record, head)) return;
  while (true) {
    if (head.type == AIRSPACE_BOX_ID) {
      const std::optional<bool> inside = Read_Box(st, rd, rec);
      if (!inside) return;
      keep = keep || *inside;
    } else if (keep) {
      Airspace_Entry& entry = st.airspaces[static_cast<size_t>(st.airspace_count) - 1];
      if (!Apply_Group_Record(entry, rd, rec, head.type, head.size)) return;
    }
    if (!Advance(rd, rec, Is_Group_Record, head)) return;
  }
}

}  // namespace orv
