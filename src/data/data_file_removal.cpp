#include "data/data_file_removal.h"

#include <filesystem>
#include <system_error>

#include "core/program_state.h"

namespace orv {

void Remove_Data_Files(const Program_State& st) {
  for (const char* name : DATA_FILES) {
    std::error_code ignored;
    std::filesystem::remove(Data_File_Path(st.work_dir, name), ignored);
  }
}

}  // namespace orv
