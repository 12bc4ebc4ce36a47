// The chart window (Form4) on Windows: the chart drawn with GDI off-screen and then shown, the
// altimeter label, the zoom and centre buttons, the menus and the once-a-second timer. The
// window answers WM_PRINTCLIENT by drawing the chart into the given device context.
#pragma once

#include "simlink/link_client.h"
#include "win32/win32_ui.h"

namespace orv {
struct Program_State;
class Program_Windows;
}  // namespace orv

namespace orv::win32 {

// Loads and shows the chart of cur_airport; null when its load failed (the program is ending).
HWND Open_Chart_Form(Program_State& st, Program_Windows& windows, Link_State link);

}  // namespace orv::win32
