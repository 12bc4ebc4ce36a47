// The chart window (Form4) on Windows: the chart drawn with GDI off-screen and then shown, the
// altimeter label, the zoom and centre buttons, the menus and the once-a-second timer. The
// window answers WM_PRINTCLIENT by drawing the chart into the given device context.
#pragma once

#include "simlink/link_client.h"
#include "win32/win32_ui.h"

namespace orv {
class Canvas;
struct Program_State;
class Program_Windows;
}  // namespace orv

namespace orv::win32 {

// The identifier of Timer1, the once-a-second aircraft tick.
inline constexpr UINT_PTR CHART_TIMER1 = 1;

// Loads and shows the chart of cur_airport; null when its load failed (the program is ending).
HWND Open_Chart_Form(Program_State& st, Program_Windows& windows, Link_State link);

// Draws the chart of an open chart window onto any canvas, as its paint does; false when
// `form` is not a chart window.
bool Draw_Chart_Form(HWND form, Canvas& canvas);

}  // namespace orv::win32
