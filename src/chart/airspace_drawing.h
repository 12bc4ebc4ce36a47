// The airspace layer: the outlines (lines, arcs and circles) of the Class B and Class C
// airspaces around the chosen airport. No text is drawn.
#pragma once

#include "chart/canvas.h"
#include "chart/chart_projection.h"
#include "core/program_state.h"

namespace orv {

inline constexpr Rgb RGB_CLASS_B{0, 0, 192};
inline constexpr Rgb RGB_CLASS_C{255, 0, 255};

// Draws state.airspaces[0 .. airspace_count - 1] in list order. The centre of the arcs and
// circles carries over from one airspace to the next and starts at (0, 0); the previous point
// of a path starts at (0, 0) in every airspace. Class D, ARTCC/FIR and TRACON airspaces are
// not drawn; airspaces of any other label keep the pen left by the drawing before them. A
// circle whose radius is 0 or less is drawn, and stored back, with radius 1. A circle or arc
// whose box would be too large for the chart's 16-bit distances is skipped. The pen ends
// solid, width 2, green, fill black, transparent.
void Draw_Airspaces(Canvas& canvas, Program_State& state, const Chart_View& view);

}  // namespace orv
