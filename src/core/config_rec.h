// The settings record as the program holds it.
#pragma once

#include <cstdint>
#include <string>

#include "orvane_version.h"

namespace orv {

inline constexpr const char* BANNER = "Orvane v" ORVANE_VERSION;

struct Config_Rec {
  std::string banner;
  uint8_t cfg_valid = 0;
  uint8_t sim_version = 0;
  std::string fs_path;
  int32_t airport_count = 0;
  int32_t airspace_file_count = 0;

  bool operator==(const Config_Rec&) const = default;
};

}  // namespace orv
