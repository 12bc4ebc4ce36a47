#include "win32/preferences_form.h"

namespace orv::win32 {

// Not built yet.
HWND Open_Preferences_Form(Program_State&, Window_Closed) {
  return nullptr;
}

}  // namespace orv::win32
