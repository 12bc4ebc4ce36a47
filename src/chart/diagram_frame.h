// The diagram's view of the Earth: a Mercator mapping about the view's centre, scaled so that
// one degree of latitude at the centre is as many pixels as the classic chart gives it. It is
// conformal (a metre is the same number of pixels in every direction), north up, and for an
// airport's few kilometres its scale is the same all over the picture to a part in ten
// thousand.
#pragma once

#include <cstdint>

#include "chart/chart_projection.h"

namespace orv {

// One degree of latitude in feet: sixty nautical miles of 6080 feet, as the chart measures.
inline constexpr double FEET_PER_DEGREE = 60.0 * 6080.0;
inline constexpr double FEET_PER_METRE = 1.0 / 0.3048;

// A point of the drawing surface, in pixels with fractions.
struct Pt {
  double x = 0.0;
  double y = 0.0;
};

struct Diagram_Frame {
  double lat0 = 0.0;  // the view's centre, drawn at the surface's middle
  double lon0 = 0.0;
  double px_per_degree = 1.0;  // pixels for one degree of latitude at the centre
  int32_t width = 1;           // the drawing surface in pixels
  int32_t height = 1;

  double Px_Per_Foot() const { return px_per_degree / FEET_PER_DEGREE; }
};

// The frame of a chart view drawn on a surface of width x height pixels: centred on the view's
// centre, with the classic chart's pixels per degree of latitude (win_h_px over the view's
// latitude span).
Diagram_Frame Frame_Of_View(const Chart_View& view, int32_t width, int32_t height);

Pt Diagram_Project(const Diagram_Frame& frame, double lat, double lon);

// The position under a surface pixel: the inverse of Diagram_Project.
Geo_Pos Diagram_Unproject(const Diagram_Frame& frame, double x, double y);

// A surface point rounded to the nearest pixel (far-off points are held at +-2^30).
Px To_Px(Pt p);

}  // namespace orv
