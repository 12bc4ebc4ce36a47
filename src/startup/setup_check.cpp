#include "startup/setup_check.h"

#include "core/program_state.h"
#include "core/settings_file.h"

namespace orv {
namespace {

bool Is_Separator(char c) {
  return c == '/' || c == '\\';
}

bool Is_Drive_Letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

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
