// The About window (Form6, "About Orvane v1.2") on Windows.
#pragma once

#include "win32/win32_ui.h"

namespace orv::win32 {

// Opens and shows the window; `closed` is called once it has closed, however it closed. Null,
// and `closed` never called, when the system could not make the window.
HWND Open_About_Form(Window_Closed closed);

}  // namespace orv::win32
