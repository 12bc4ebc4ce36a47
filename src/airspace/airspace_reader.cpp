#include "airspace/airspace_reader.h"

#include "startup/program_state.h"

namespace orv {

void Read_Airspace_Section(Program_State&, Bgl_Reader&, int64_t, Section_Head&, std::string_view) {}

}  // namespace orv
