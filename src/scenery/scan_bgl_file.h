// The header walk of one loaded scenery file: finds the airport and airspace sections and
// hands each to its reader.
#pragma once

#include <cstdint>
#include <string_view>

#include "scenery/bgl_image.h"

namespace orv {

struct Program_State;

// Reads the airspace section whose first record is at file offset `section`. The scenery
// reader only finds the section; its caller names the reader (the airspace subsystem's).
using Airspace_Section_Reader = void (*)(Program_State& st, Bgl_Reader& rd, int64_t section,
                                         Section_Head& head, std::string_view scan_file);

// Walks the header of the file in `rd` and reads its airport section, then hands its airspace
// section to `read_airspace` (none: the section is passed over). `scan_file` is the file's
// path, recorded by the airspace reader while the database is built. Returns why the walk
// ended early, or Walk_Stop::none.
Walk_Stop Scan_Bgl_File(Program_State& st, Bgl_Reader& rd, std::string_view scan_file,
                        Airspace_Section_Reader read_airspace);

// Records `scan_file` in st.airspace_files while the database is built, unless it is the file
// recorded last (a file with several airspace containers is listed once).
void Record_Airspace_File(Program_State& st, std::string_view scan_file);

}  // namespace orv
