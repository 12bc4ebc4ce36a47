// Keeping the chart's drawing calls within what a drawing device can take. The layers give
// pixel coordinates anywhere in 32 bits and clip nothing; a device's own line and ellipse code
// may fail, crawl or allocate without limit far from its surface. These routines cut a line to
// a rectangle around the surface and turn a large ellipse or arc into short polylines near it,
// so that what shows on the surface stays the same.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "chart/canvas.h"

namespace orv {

// A rectangle of pixels, edges included, in wider whole numbers.
struct Px_Rect {
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;
};

// The rectangle with corners c1 and c2, in any order.
Px_Rect Rect_Of(Px c1, Px c2);
Px_Rect Grow(const Px_Rect& r, int64_t by);
bool Overlaps(const Px_Rect& a, const Px_Rect& b);

struct Px_Segment {
  Px from;
  Px to;
};

// The part of the line from..to inside `rect`: the line itself when it lies wholly inside,
// nothing when it misses. A cut end is rounded to the nearest pixel. With a dash period (the
// length of one dash and one gap), a cut start moves back to a whole number of periods from
// `from`, so the dashes stay where the uncut line has them.
std::optional<Px_Segment> Clip_Segment(Px from, Px to, const Px_Rect& rect,
                                       double dash_period = 0.0);

// The ellipse inscribed in a rectangle: its centre and half-axes in pixels.
struct Ellipse_Shape {
  double cx = 0.0;
  double cy = 0.0;
  double a = 0.0;  // half the width
  double b = 0.0;  // half the height
};
Ellipse_Shape Ellipse_In(const Px_Rect& box);

// The ellipse's own angle, in radians counter-clockwise on the screen from three o'clock, of
// the point where the ray out of its centre through p meets the outline.
double Ray_Angle(const Ellipse_Shape& e, Px p);

// The counter-clockwise turn from angle `from` to angle `to`, in (0, 2 pi]: the same angle
// twice is the whole turn.
double Ccw_Turn(double from, double to);

// The outline from angle `from` counter-clockwise over `turn` radians, as polylines whose every
// segment touches `near`; other parts of the outline are left out. Neighbouring points are so
// close that the polyline strays from the curve by at most a quarter pixel.
std::vector<std::vector<Px>> Outline_Near(const Ellipse_Shape& e, double from, double turn,
                                          const Px_Rect& near);

// The inside of the ellipse cut to `rect`, as a polygon; empty when they do not meet.
std::vector<Px> Filled_Within(const Ellipse_Shape& e, const Px_Rect& rect);

// A point between pixels.
struct Px_F {
  double x = 0.0;
  double y = 0.0;
};

// The part of a closed polygon inside `rect`, as a polygon (a smoothing painter fills one that
// reaches far off its surface very slowly); the points themselves when all lie inside, fewer
// than three when nothing is left. Cut corners keep their fractions, so that the edges that
// show run exactly where the whole polygon has them.
std::vector<Px_F> Polygon_Within(std::span<const Px> points, const Px_Rect& rect);

}  // namespace orv
