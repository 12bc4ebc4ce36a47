#include "data/data_file_check.h"

#include <optional>
#include <string>
#include <system_error>

#include "core/file_system.h"
#include "core/program_state.h"
#include "data/settings_file.h"

namespace orv {

Start_Decision Check_Data_Files(Program_State& st) {
  bool all_present = true;
  for (const char* name : DATA_FILES) {
    all_present = all_present && Find_File_Ci(st.work_dir.string(), name).has_value();
  }
  if (!all_present) {
    Remove_Data_Files(st);
    st.first_run = true;
    return Start_Decision::first_run;
  }
  st.first_run = false;
  if (Load_Settings(st, Data_File_Path(st.work_dir, SETTINGS_FILE)) != Settings_Status::ok) {
    Remove_Data_Files(st);
    st.first_run = true;
    return Start_Decision::damaged_settings;
  }
  return Start_Decision::normal_run;
}

}  // namespace orv
