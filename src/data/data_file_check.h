// The start-up decision: a normal run when all three data files are in the working folder,
// a first run (wizard and database build) otherwise. A partial set is never used.
#pragma once

#include "data/data_file_names.h"
#include "data/data_file_removal.h"

namespace orv {

struct Program_State;

enum class Start_Decision {
  first_run,         // some file was missing: the ones present were deleted; run the wizard
  normal_run,        // all present and the settings loaded: open the airport list
  damaged_settings,  // all present but the settings file is damaged: the three files were
                     // removed; tell the user, then run the wizard
};

// Checks the working folder (st.work_dir), deletes a partial set, sets first_run and, on a
// normal run, loads the settings.
Start_Decision Check_Data_Files(Program_State& st);

}  // namespace orv
