// The airport selection window (Form3, "Choosing an airport") on Windows: the airport list that
// narrows as the pilot types, GET AIRPORT, CLOSE_PROGRAM, the status box, the progress bar, the
// About menu and the build's two timers.
#pragma once

#include "behaviour/selection_behaviour.h"
#include "win32/win32_ui.h"

namespace orv::win32 {

// The window's timers, by the identifiers their WM_TIMER messages carry.
inline constexpr UINT_PTR READ_SCENERIES_PATHS_TIMER = 1;
inline constexpr UINT_PTR SCAN_BGLS_TIMER = 2;

HWND Open_Selection_Form(Program_State& st, Program_Windows& windows, Tick_Clock clock);

}  // namespace orv::win32
