// Removing the program's data files: after a start-up check found a partial set, after a
// damaged database, after a failed write, and when the setup is abandoned.
#pragma once

#include "data/data_file_names.h"

namespace orv {

struct Program_State;

// Deletes whichever of the three data files exist in st.work_dir (names matched ignoring
// case); a failing deletion is ignored.
void Remove_Data_Files(const Program_State& st);

}  // namespace orv
