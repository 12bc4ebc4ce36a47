#include "startup/setup_check.h"

#include <filesystem>

#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/settings_file.h"

namespace orv {
namespace {

bool Is_Separator(char c) {
  return c == '/' || c == '\\';
}

bool Is_Drive_Letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The drive part of a drive list entry: its letter and colon, or "/".
std::string_view Drive_Of(std::string_view entry) {
  return entry.substr(0, entry.find(' '));
}

bool Starts_With_Ci(std::string_view text, std::string_view start) {
  return !start.empty() && start.size() <= text.size() &&
         Lower_Ascii(text.substr(0, start.size())) == Lower_Ascii(start);
}

// A path as UTF-8 text, on every platform.
std::string Utf8_Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// `folder` made absolute and plain, "C:" taken as that drive's root.
std::filesystem::path Listed_Path(std::string_view folder) {
  std::string text(folder);
  if (text.size() == 2 && Is_Drive_Letter(text[0]) && text[1] == ':') {
    text.push_back(NATIVE_SEPARATOR);
  }
  const std::filesystem::path given = Fs_Path_From_Utf8(text);
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(given, ec);
  return (ec ? given : absolute).lexically_normal();
}

}  // namespace

Folder_List Folder_List_Of(std::string_view folder) {
  Folder_List list;
  if (folder.empty()) return list;
  const std::filesystem::path path = Listed_Path(folder);
  std::filesystem::path walked = path.root_path();
  int depth = 0;
  if (!walked.empty()) list.lines.push_back({Utf8_Of(walked), Utf8_Of(walked), depth, true});
  for (const std::filesystem::path& part : path.relative_path()) {
    if (part.empty() || part == ".") continue;
    walked /= part;
    if (!list.lines.empty()) ++depth;
    list.lines.push_back({Utf8_Of(walked), Utf8_Of(part), depth, true});
  }
  if (list.lines.empty()) return list;
  list.current = list.lines.size() - 1;
  for (const std::string& name : List_Subfolders(list.lines.back().path)) {
    list.lines.push_back({Utf8_Of(walked / Fs_Path_From_Utf8(name)), name, depth + 1, false});
  }
  return list;
}

std::optional<std::string> Wizard_Stored_Path(std::string_view text) {
  const std::optional<std::string> native = Native_Path_From_Utf8(text);
  if (!native) return std::nullopt;
  return Wizard_Path_Text(*native);
}

Wizard_Start Wizard_Start_Place(std::span<const std::string> drives,
                                std::string_view working_folder) {
  Wizard_Start start;
  for (size_t i = 0; i < drives.size(); ++i) {
    if (Starts_With_Ci(working_folder, Drive_Of(drives[i]))) {
      start.drive = i;
      break;
    }
  }
  start.text = Wizard_Path_Text(Utf8_From_Native_Path(working_folder));
  return start;
}

std::string Wizard_Drive_Text(std::string_view entry) {
  return Wizard_Path_Text(Utf8_From_Native_Path(Drive_Current_Folder(Drive_Of(entry))));
}

std::string Wizard_Path_Text(std::string_view text) {
  if (text.size() == 3 && Is_Drive_Letter(text[0]) && text[1] == ':' && Is_Separator(text[2])) {
    return std::string(text.substr(0, 2));
  }
  return std::string(text);
}

bool Is_Sim_Folder(std::string_view folder) {
  if (folder.empty()) return false;
  // The executable is looked for as folder & separator & name, so a drive root "C:" means its
  // root folder, not the drive's current folder.
  std::string with_separator(folder);
  if (!Is_Separator(with_separator.back())) with_separator.push_back(NATIVE_SEPARATOR);
  const std::optional<std::string> resolved = Resolve_Path_Ci(with_separator);
  if (!resolved) return false;
  return Find_File_Ci(*resolved, SIM_EXECUTABLE).has_value();
}

Write_Result Write_Wizard_Settings(Program_State& st, std::string_view folder) {
  st.cfg = Config_Rec{};
  st.cfg.banner = BANNER;
  st.cfg.cfg_valid = 1;
  st.cfg.sim_version = 1;
  st.cfg.fs_path = std::string(folder);
  st.sim_version = 1;
  st.fs_path = std::string(folder);
  return Save_Settings(st);
}

}  // namespace orv
