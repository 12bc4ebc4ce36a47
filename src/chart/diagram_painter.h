// Paints a diagram picture on a canvas in the day or the night palette, anti-aliased. It keeps
// no state: every colour comes from the palette, every position from the picture.
#pragma once

#include <span>

#include "chart/canvas.h"
#include "chart/diagram_geometry.h"

namespace orv {

Rgb Ink_Color(Ink ink, bool night);

// Clears the canvas, paints the background and every layer in order.
void Paint_Diagram(Canvas& canvas, const Diagram_Picture& picture, bool night);

// The diagram of a chart view, as the chart window draws it on a surface of width x height
// pixels: the picture built and painted in one go. `scale` is the surface's pixels per design
// pixel: the margins it keeps for the window's controls and its texts grow with it. No label
// goes under the boxes of `keep_clear` (the window's buttons, in surface pixels).
void Draw_Diagram(Canvas& canvas, const Program_State& state, const Chart_View& view, int32_t width,
                  int32_t height, bool night, bool aircraft, double scale = 1.0,
                  std::span<const Box> keep_clear = {});

}  // namespace orv
