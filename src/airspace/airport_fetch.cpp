#include "airspace/airport_fetch.h"

#include <optional>

#include "airspace/airspace_reader.h"
#include "core/airport_records.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "scenery/read_ahead.h"
#include "scenery/scan_bgl_file.h"

namespace orv {
namespace {

constexpr const char* kMhzSuffix = " Mhz  ";

// Alt limits at or below these belong to the lower class.
constexpr int32_t kClassCCeiling = 4000;
constexpr int32_t kClassDCeiling = 2500;

// Threads that read the listed files ahead of the fetch, and how far ahead.
constexpr int kReadersAhead = 8;
constexpr size_t kReadAhead = 32;

// Reads one listed file in pieces: its header, then the pieces its walk reaches, which in the
// ready state are its airspace section (and the index of an airport section, if it has one).
Fetch_File_Result Read_One_File(Program_State& st, Bgl_Buffers& buffers, const std::string& path) {
  Fetch_File_Result result{path, Fetch_File_Outcome::unreadable, Walk_Stop::none};
  // Only a regular file is read (the open refuses a folder of the same name); a file too short
  // to hold the signature is skipped like any other without it.
  const Bgl_Walk walk = Read_And_Scan_Bgl_File(st, buffers, Bgl_Read::pieces, Fs_Path(path), path,
                                               Read_Airspace_Section);
  if (walk.read != Read_Status::ok) return result;
  if (!walk.has_signature) {
    result.outcome = Fetch_File_Outcome::no_signature;
    return result;
  }
  result.outcome = Fetch_File_Outcome::read;
  result.stop = walk.stop;
  return result;
}

}  // namespace

bool Find_Fetch_Airport(Program_State& st, std::string_view item) {
  return Find_Fetch_Airport_Where(st, [item](const std::string& text) { return text == item; });
}

bool Find_Fetch_Airport_Where(Program_State& st, const Item_Match& matches) {
  // Every entry is compared and the last match wins, so of two identical items the later one
  // is fetched.
  const Airport_Entry* match = nullptr;
  const int32_t count = st.airport_count;
  for (int32_t i = 0; i < count && static_cast<size_t>(i) < st.airports.size(); ++i) {
    const Airport_Entry& entry = st.airports[static_cast<size_t>(i)];
    if (matches(Airport_Item_Text(entry))) match = &entry;
  }
  if (match == nullptr) return false;
  st.cur_airport = *match;
  return true;
}

void Release_Airport_List(Program_State& st) {
  Release_To_Spare(st.airports);
}

void Clear_Airspaces(Program_State& st) {
  st.airspaces.clear();
  st.airspace_count = 0;
}

std::vector<Fetch_File_Result> Read_Airspace_Files(Program_State& st,
                                                   const Fetch_Progress& progress) {
  // The walk appends to airspaces only, never to this list, in the ready state; a copy keeps
  // the loop safe even if it were called in another state.
  const int32_t total = st.airspace_file_count;
  const std::vector<std::string> files = st.airspace_files;
  std::vector<Fetch_File_Result> results;
  Bgl_Buffers buffers;
  // From a cold disk the files come sooner with several read ahead at once.
  std::optional<Read_Ahead> read_ahead;
  if (files.size() > kReadAhead) read_ahead.emplace(files, kReadersAhead, kReadAhead);
  if (progress) progress(0, total);
  for (int32_t i = 0; i < total; ++i) {
    const auto index = static_cast<size_t>(i);
    if (read_ahead) read_ahead->Reached(index);
    if (index < files.size()) {
      results.push_back(Read_One_File(st, buffers, files[index]));
    } else {
      results.push_back({std::string(), Fetch_File_Outcome::unreadable, Walk_Stop::none});
    }
    if (progress) progress(i + 1, total);
  }
  return results;
}

void Release_Airspace_File_List(Program_State& st) {
  Release_To_Spare(st.airspace_files);
}

const char* Airspace_Class(const Airspace_Entry& entry) {
  if (!entry.freq_text.empty() && !entry.com_name.empty()) return CLASS_ARTCC;
  const char* label = CLASS_B;
  if (entry.alt_low <= kClassCCeiling && entry.alt_high <= kClassCCeiling) label = CLASS_C;
  if (entry.alt_low <= kClassDCeiling && entry.alt_high <= kClassDCeiling) label = CLASS_D;
  return label;
}

void Classify_Airspaces(Program_State& st) {
  const int32_t count = st.airspace_count;
  for (int32_t i = 0; i < count && static_cast<size_t>(i) < st.airspaces.size(); ++i) {
    Airspace_Entry& entry = st.airspaces[static_cast<size_t>(i)];
    entry.class_label = Airspace_Class(entry);
  }
}

bool Add_Tracon_Airspace(Program_State& st) {
  const Airport_Entry& apt = st.cur_airport;
  if (apt.freq9.empty() && apt.freq8.empty()) return false;
  std::string freq_text;
  if (!apt.freq9.empty()) freq_text += apt.freq9 + kMhzSuffix;
  if (!apt.freq8.empty()) freq_text += apt.freq8 + kMhzSuffix;

  Airspace_Entry& entry = Append_Airspace(st);
  entry.class_label = CLASS_TRACON;
  entry.alt_low = 0;
  entry.alt_high = TRACON_ALT_HIGH;
  entry.freq_text = freq_text;
  Boundary_Point& center = Append_Point(entry);
  center.kind = PT_CENTER;
  center.lat = apt.lat;
  center.lon = apt.lon;
  Boundary_Point& circle = Append_Point(entry);
  circle.kind = PT_CIRCLE;
  circle.radius = TRACON_RADIUS;
  return true;
}

std::vector<Fetch_File_Result> Fetch_Airspaces(Program_State& st, const Fetch_Progress& progress) {
  Release_Airport_List(st);
  Clear_Airspaces(st);
  std::vector<Fetch_File_Result> files = Read_Airspace_Files(st, progress);
  Release_Airspace_File_List(st);
  Classify_Airspaces(st);
  Add_Tracon_Airspace(st);
  return files;
}

Fetch_Result Fetch_Airport(Program_State& st, std::string_view item,
                           const Fetch_Progress& progress) {
  Fetch_Result result;
  result.found = Find_Fetch_Airport(st, item);
  result.files = Fetch_Airspaces(st, progress);
  return result;
}

}  // namespace orv
