// Paints a diagram picture on a canvas in the day or the night palette, anti-aliased. It keeps
// no state: every colour comes from the palette, every position from the picture.
#pragma once

#include "chart/canvas.h"
#include "chart/diagram_geometry.h"

namespace orv {

Rgb Ink_Color(Ink ink, bool night);

// Clears the canvas, paints the background and every layer in order.
void Paint_Diagram(Canvas& canvas, const Diagram_Picture& picture, bool night);

// The diagram of a chart view, as the chart window draws it on a surface of width x height
// pixels: the picture built and painted in one go. `scale` is the surface's pixels per design
// pixel: the window's controls it keeps clear of and its texts grow with it.
void Draw_Diagram(Canvas& canvas, const Program_State& state, const Chart_View& view,
                  int32_t width, int32_t height, bool night, bool aircraft, double scale = 1.0);

}  // namespace orv
