// The airspace section of a scenery file: containers of groups of boundary records.
#pragma once

#include <cstdint>
#include <string_view>

#include "scenery/bgl_image.h"

namespace orv {

struct Program_State;

// Walks the airspace section at file offset `section`. While the database is built it only
// records `scan_file` in st.airspace_files; during an airport fetch it appends the airspaces
// whose box contains st.cur_airport to st.airspaces.
void Read_Airspace_Section(Program_State& st, Bgl_Reader& rd, int64_t section, Section_Head& head,
                           std::string_view scan_file);

}  // namespace orv
