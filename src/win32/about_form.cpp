#include "win32/about_form.h"

namespace orv::win32 {

// Not built yet.
HWND Open_About_Form(Window_Closed) {
  return nullptr;
}

}  // namespace orv::win32
