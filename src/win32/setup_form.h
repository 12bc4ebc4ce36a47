// The setup wizard (Form2, "Settings") on Windows: the simulator choice, the drive list, the
// folder list, the path box and "NEXT STEP --->".
#pragma once

#include "win32/win32_ui.h"

namespace orv {
struct Program_State;
class Program_Windows;
}  // namespace orv

namespace orv::win32 {

HWND Open_Setup_Form(Program_State& st, Program_Windows& windows);

}  // namespace orv::win32
