#include "scenery/scenery_cfg.h"

#include <optional>
#include <system_error>
#include <unordered_map>

#include "core/file_system.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "core/wine_prefix.h"

namespace orv {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// Lines of a text ending at CR LF, a lone LF or a lone CR.
std::vector<std::string> Split_Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// A header line starts with "[" and holds a "]"; its text ends at the first "]".
std::optional<std::string> Header_Text(const std::string& line) {
  if (line.empty() || line[0] != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string::npos) return std::nullopt;
  return line.substr(0, close + 1);
}

// Where each header text first occurs anywhere in the whole text. A header text starts with
// "[" and holds no "]" before its last character, so an occurrence is exactly a "[" and what
// follows it up to the first "]". One pass over the text instead of a search per header, which
// a library of thousands of areas would make slow.
std::unordered_map<std::string_view, size_t> First_Occurrences(
    std::string_view whole, const std::vector<std::string>& headers) {
  std::unordered_map<std::string_view, size_t> first;
  for (const std::string& h : headers) first.emplace(h, std::string_view::npos);
  for (size_t p = whole.find('['); p != std::string_view::npos; p = whole.find('[', p + 1)) {
    const size_t q = whole.find(']', p);
    if (q == std::string_view::npos) break;
    const auto it = first.find(whole.substr(p, q - p + 1));
    if (it != first.end() && it->second == std::string_view::npos) it->second = p;
  }
  return first;
}

// All lines joined by CR LF; empty lines before the first non-empty one are dropped.
std::string Join_Lines(const std::vector<std::string>& lines) {
  std::string whole;
  for (const std::string& line : lines) {
    if (whole.empty()) {
      whole = line;
    } else {
      whole += kCrLf;
      whole += line;
    }
  }
  return whole;
}

std::string Trim_Spaces(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool Ends_With(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void Fill_Area(Scenery_Area& area, std::string_view section) {
  area.title = Key_Value(section, "Title");
  area.texture_id = Key_Value(section, "Texture_ID");
  area.active = Key_Value(section, "Active");
  area.layer = Key_Value(section, "Layer");
  area.required = Key_Value(section, "Required");
  area.remote = Key_Value(section, "Remote");
  area.local = Key_Value(section, "Local");
}

// The scenery folder an area names: trimmed, separators made native, with "scenery"
// appended unless it already ends there.
std::string Scenery_Folder_Of(std::string_view local) {
  std::string path = Trim_Spaces(local);
  for (char& c : path) {
    if (c == '/' || c == '\\') c = NATIVE_SEPARATOR;
  }
  const std::string lower = Lower_Ascii(path);
  const std::string tail = std::string(1, NATIVE_SEPARATOR) + "scenery";
  if (!Ends_With(lower, tail) && lower != "scenery") path += tail;
  return path;
}

// Replaces a drive's description in the path by its letter and colon.
std::string Apply_Drive_List(std::string path, std::span<const std::string> drives) {
  for (const std::string& entry : drives) {
    if (entry.size() <= 3) continue;
    const std::string d = Lower_Ascii(entry.substr(3));
    std::string lower = Lower_Ascii(path);
    if (lower.find(d) == std::string::npos) continue;
    std::string replaced;
    size_t from = 0;
    for (size_t at = lower.find(d); at != std::string::npos; at = lower.find(d, from)) {
      replaced += lower.substr(from, at - from);
      replaced += entry.substr(0, 2);
      from = at + d.size();
    }
    replaced += lower.substr(from);
    path = replaced;
  }
  return path;
}

// A relative folder as seen from the working folder; the program's working folder is the
// current one, so there it stays relative.
std::string In_Work_Dir(const std::filesystem::path& work_dir, const std::string& folder) {
  if (std::filesystem::path(folder).has_root_path()) return folder;
  if (work_dir.empty() || work_dir == ".") return folder;
  return Join_Path(work_dir.string(), folder);
}

}  // namespace

std::string Key_Value(std::string_view section, std::string_view key) {
  const std::string t = std::string(section) + std::string(kCrLf);
  const std::string lt = Lower_1252(t);
  const std::string k = Lower_1252(std::string(key) + "=");
  const size_t found = lt.find(k);
  if (found == std::string::npos) return {};
  const size_t s = found + k.size();
  const size_t e = lt.find(kCrLf, s);
  std::string value = t.substr(s, e - s);
  return value;
}

int32_t Read_Scenery_Cfg_Text(Program_State& st, std::string_view text) {
  const std::vector<std::string> lines = Split_Lines(text);
  std::vector<std::string> headers;
  for (const std::string& line : lines) {
    if (std::optional<std::string> h = Header_Text(line)) headers.push_back(std::move(*h));
  }
  const std::string whole = Join_Lines(lines);
  const std::unordered_map<std::string_view, size_t> first = First_Occurrences(whole, headers);
  int32_t refused = 0;
  for (size_t k = 0; k < headers.size(); ++k) {
    if (Lower_1252(headers[k]).find("[area.") == std::string::npos) continue;
    if (st.area_count >= MAX_AREAS) {
      ++refused;
      continue;
    }
    const size_t start = first.at(headers[k]);
    const size_t end = k + 1 < headers.size() ? first.at(headers[k + 1]) : whole.size();
    // A following header that first occurs before this one cannot bound the section.
    if (start == std::string::npos || end == std::string::npos || end < start) continue;
    Fill_Area(Append_With_Spare(st.areas, st.area_count), whole.substr(start, end - start));
  }
  return refused;
}

File_Status Read_Scenery_Cfg(Program_State& st, const std::filesystem::path& path,
                             int32_t* areas_refused) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return File_Status::missing;
  const std::optional<std::vector<uint8_t>> bytes = Read_Whole_File(path);
  if (!bytes) return File_Status::unreadable;
  const int32_t refused = Read_Scenery_Cfg_Text(
      st, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (areas_refused != nullptr) *areas_refused = refused;
  return File_Status::ok;
}

void Resolve_Area_Paths(Program_State& st) {
#ifdef _WIN32
  Resolve_Area_Paths(st, Drive_List());
#else
  // Inside a Wine prefix the drives are the prefix's own: letters without labels, which leave
  // every path as it stands.
  const std::optional<std::string> prefix = Wine_Prefix_Of(st.fs_path);
  Resolve_Area_Paths(st, prefix ? Prefix_Drives(*prefix) : Drive_List());
#endif
}

void Resolve_Area_Paths(Program_State& st, std::span<const std::string> drives) {
#ifndef _WIN32
  // Add-on installers name their folders by drive letter; under Wine those letters are links in
  // the prefix that holds the simulator.
  const std::optional<std::string> prefix = Wine_Prefix_Of(st.fs_path);
#endif
  for (int i = 0; i < st.area_count; ++i) {
    Scenery_Area& area = st.areas[static_cast<size_t>(i)];
    if (area.local.empty()) continue;
    const std::string folder = Apply_Drive_List(Scenery_Folder_Of(area.local), drives);
    std::optional<std::string> found;
#ifndef _WIN32
    if (prefix) found = Resolve_In_Prefix(*prefix, folder);
#endif
    if (!found) found = Resolve_Path_Ci(In_Work_Dir(st.work_dir, folder));
    if (!found) found = Resolve_Path_Ci(Join_Path(st.fs_path, folder));
#ifdef _WIN32
    if (found) found = Lower_1252(*found);
#endif
    area.local = found.value_or(std::string());
  }
}

}  // namespace orv
