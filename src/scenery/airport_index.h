// The airport section of a scenery file: an index of airports, each pointing to its detail.
#pragma once

#include <cstdint>

#include "scenery/bgl_image.h"

namespace orv {

struct Program_State;

// Walks the blocks of the airport section at file offset `section`. While the database is
// being built (db_ready false) every valid index record appends an airport to st.airports and
// has its detail read. On return `head` holds the head of the block where the walk stopped.
void Read_Airport_Section(Program_State& st, Bgl_Reader& rd, int64_t section, Section_Head& head);

}  // namespace orv
