// The nearest airports window (Form7) on Windows: the heading, the list box and its buttons,
// above the chart. Enter and a double click open the chart of the line chosen, Esc cancels.
#pragma once

#include "behaviour/program_windows.h"
#include "win32/win32_ui.h"

namespace orv::win32 {

// Opens the window, modeless; null when it could not be made.
HWND Open_Nearest_Form(Nearest_Request request);

}  // namespace orv::win32
