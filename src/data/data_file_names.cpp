#include "data/data_file_names.h"

#include <optional>
#include <string>

#include "core/file_system.h"

namespace orv {

std::filesystem::path Data_File_Path(const std::filesystem::path& work_dir, const char* name) {
  const std::optional<std::string> found = Find_File_Ci(work_dir.string(), name);
  return work_dir / (found ? *found : std::string(name));
}

}  // namespace orv
