// The airspace subsystem's part of the selection window: the airspace reader for the build's
// walk and the two halves of the airport fetch, handed to the window's behaviour by the program.
#pragma once

#include "scenery/selection_behaviour.h"

namespace orv {

Selection_Engine Airspace_Selection_Engine();

}  // namespace orv
