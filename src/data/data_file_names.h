// The names of the program's three data files in the working folder.
#pragma once

#include <array>
#include <filesystem>

namespace orv {

inline constexpr const char* SETTINGS_FILE = "orv_config.cfg";
inline constexpr const char* DATABASE_FILE = "all_fs_airports.dat";
inline constexpr const char* AIRSPACE_LIST_FILE = "world_airspaces.lst";

// The three data files in the order they are checked and deleted.
inline constexpr std::array<const char*, 3> DATA_FILES = {SETTINGS_FILE, DATABASE_FILE,
                                                          AIRSPACE_LIST_FILE};

// Where the data file `name` is in the folder `work_dir`: the file found there under any letter
// case (as on the simulator's own file system), else the exact name. The start-up check, the
// loads, the saves and the deletions all go through it, so a file one of them finds is the
// file the others use.
std::filesystem::path Data_File_Path(const std::filesystem::path& work_dir, const char* name);

}  // namespace orv
