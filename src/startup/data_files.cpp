#include "startup/data_files.h"

#include <optional>
#include <string>
#include <system_error>

#include "core/file_system.h"
#include "core/program_state.h"
#include "core/settings_file.h"

namespace orv {
namespace {

std::optional<std::string> Find_Data_File(const Program_State& st, const char* name) {
  return Find_File_Ci(st.work_dir.string(), name);
}

}  // namespace

Start_Decision Check_Data_Files(Program_State& st) {
  std::array<std::optional<std::string>, DATA_FILES.size()> found;
  bool all_present = true;
  for (size_t i = 0; i < DATA_FILES.size(); ++i) {
    found[i] = Find_Data_File(st, DATA_FILES[i]);
    all_present = all_present && found[i].has_value();
  }
  if (!all_present) {
    Remove_Data_Files(st);
    st.first_run = true;
    return Start_Decision::first_run;
  }
  st.first_run = false;
  if (Load_Settings(st, st.work_dir / *found[0]) != Settings_Status::ok) {
    Remove_Data_Files(st);
    st.first_run = true;
    return Start_Decision::damaged_settings;
  }
  return Start_Decision::normal_run;
}

}  // namespace orv
