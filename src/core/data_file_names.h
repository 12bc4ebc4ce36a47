// The names of the program's three data files in the working folder.
#pragma once

#include <array>

namespace orv {

inline constexpr const char* SETTINGS_FILE = "orv_config.cfg";
inline constexpr const char* DATABASE_FILE = "all_fs_airports.dat";
inline constexpr const char* AIRSPACE_LIST_FILE = "world_airspaces.lst";

// The three data files in the order they are checked and deleted.
inline constexpr std::array<const char*, 3> DATA_FILES = {SETTINGS_FILE, DATABASE_FILE,
                                                          AIRSPACE_LIST_FILE};

}  // namespace orv
