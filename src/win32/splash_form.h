// The splash window (Form1) on Windows: the picture, the version label and the one-shot timer.
// A fixed-size window in the middle of the screen.
#pragma once

#include "win32/win32_ui.h"

namespace orv {
struct Program_State;
class Program_Windows;
}  // namespace orv

namespace orv::win32 {

// The identifier of the splash window's one-shot Timer1.
inline constexpr UINT_PTR SPLASH_TIMER1 = 1;

// Opens and shows the splash window; its timer starts at once.
HWND Open_Splash_Form(Program_State& st, Program_Windows& windows);

}  // namespace orv::win32
