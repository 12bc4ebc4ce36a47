#include "win32/chart_form.h"

namespace orv::win32 {

// Not built yet.
HWND Open_Chart_Form(Program_State&, Program_Windows&, Link_State) {
  return nullptr;
}

}  // namespace orv::win32
