// The header walk of one loaded scenery file: finds the airport and airspace sections and
// hands each to its reader.
#pragma once

#include <string_view>

#include "scenery/bgl_image.h"

namespace orv {

struct Program_State;

// Walks the header of the file in `rd` and reads its airport section, then its airspace
// section. `scan_file` is the file's path, recorded by the airspace reader while the database
// is built. Returns why the walk ended early, or Walk_Stop::none.
Walk_Stop Scan_Bgl_File(Program_State& st, Bgl_Reader& rd, std::string_view scan_file);

}  // namespace orv
