// The preferences window (Form5, "Options") on Windows: the six display switches, the altimeter
// unit and the choice of simulator.
#pragma once

#include "win32/win32_ui.h"

namespace orv {
struct Program_State;
}  // namespace orv

namespace orv::win32 {

// Opens and shows the window; `closed` is called once it has closed, however it closed. Null,
// and `closed` never called, when the system could not make the window.
HWND Open_Preferences_Form(Program_State& st, Window_Closed closed);

}  // namespace orv::win32
