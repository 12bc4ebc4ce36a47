#include "win32/splash_form.h"

namespace orv::win32 {

// Not built yet.
HWND Open_Splash_Form(Program_State&, Program_Windows&) {
  return nullptr;
}

}  // namespace orv::win32
