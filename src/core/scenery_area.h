// One scenery area of the simulator's scenery library, and whether an input file could be used.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

struct Scenery_Area {
  std::string title;
  std::string texture_id;
  std::string active;
  std::string layer;
  std::string required;
  std::string remote;
  std::string local;

  bool operator==(const Scenery_Area&) const = default;
};

// Whether an input file could be used.
enum class File_Status : uint8_t { ok, missing, unreadable };

}  // namespace orv
