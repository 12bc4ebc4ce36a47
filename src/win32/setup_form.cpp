#include "win32/setup_form.h"

namespace orv::win32 {

// Not built yet.
HWND Open_Setup_Form(Program_State&, Program_Windows&) {
  return nullptr;
}

}  // namespace orv::win32
