#include "win32/selection_form.h"

namespace orv::win32 {

// Not built yet.
HWND Open_Selection_Form(Program_State&, Program_Windows&, Selection_Engine, Tick_Clock) {
  return nullptr;
}

}  // namespace orv::win32
