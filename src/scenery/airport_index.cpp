#include "scenery/airport_index.h"

#include "startup/program_state.h"

namespace orv {

void Read_Airport_Section(Program_State&, Bgl_Reader&, int64_t, Section_Head&) {}

}  // namespace orv
