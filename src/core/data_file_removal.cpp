#include "core/data_file_removal.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "core/file_system.h"
#include "core/program_state.h"

namespace orv {

void Remove_Data_Files(const Program_State& st) {
  for (const char* name : DATA_FILES) {
    if (const std::optional<std::string> found = Find_File_Ci(st.work_dir.string(), name)) {
      std::error_code ignored;
      std::filesystem::remove(st.work_dir / *found, ignored);
    }
  }
}

}  // namespace orv
