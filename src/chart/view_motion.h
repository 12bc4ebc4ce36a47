// Moving the chart's view as a moving map does: zooming about a pixel of the window so that the
// place drawn there stays there, sliding the view by a number of pixels, and adding up the small
// steps of fine wheels into whole notches. The zoom levels are those of the zoom buttons.
#pragma once

#include <cstdint>

#include "chart/chart_projection.h"

namespace orv {

// The wheel's units: one notch of an ordinary wheel is 120 of them.
inline constexpr int32_t WHEEL_NOTCH = 120;

// The geographic position drawn at window pixel (x, y): the inverse of Geo_To_Px, before
// rounding. A view without size gives its top-left corner.
Geo_Pos Px_To_Geo(const Chart_View& view, double x, double y);

// One zoom step in (or out) about pixel (x, y): the spans change as Zoom_In (Zoom_Out) changes
// them, then the view moves so that the position drawn at (x, y) is drawn there again. At the
// zoom limits nothing changes. Returns whether the view changed.
bool Zoom_About(Chart_View& view, bool zoom_in, double x, double y);

// Moves the view so that everything drawn moves dx pixels right and dy pixels down.
void Slide_View(Chart_View& view, double dx, double dy);

// The same two for the diagram, drawn on a surface of width x height pixels about the view's
// centre in its own conformal mapping.
bool Zoom_About_Diagram(Chart_View& view, bool zoom_in, double x, double y, int32_t width,
                        int32_t height);
void Slide_Diagram(Chart_View& view, double dx, double dy, int32_t width, int32_t height);

// Adds a wheel's movement, in WHEEL_NOTCH units a notch, and gives the whole notches made so
// far: positive away from the pilot, negative towards. What is left of a notch waits for the
// next movement in the same direction; a turn the other way starts afresh.
struct Wheel_Notches {
  int32_t rest = 0;
  int32_t Add(int32_t delta);
};

}  // namespace orv
