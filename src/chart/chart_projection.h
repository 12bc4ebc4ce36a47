// The chart's view of the Earth and its small geodesy. The view is a rectangle of longitude and
// latitude mapped linearly onto the window: longitude left to right, latitude bottom to top,
// each scaled on its own, with no correction for latitude. Zooming halves or doubles the view
// about its centre; re-centring moves it without changing its size.
//
// Every formula is evaluated in the order written with the 15-digit PI, so that courses, label
// positions and pixels come out the same to the last bit wherever the chart is drawn.
#pragma once

#include <cstdint>
#include <optional>

#include "chart/canvas.h"
#include "scenery/geo_math.h"
#include "scenery/magdec.h"

namespace orv {

// The view state of the chart window. win_w_px and win_h_px are the window's outer size in
// pixels; the defaults are the chart window's design size.
struct Chart_View {
  double view_left = -179.9999;
  double view_top = 89.9999;
  double view_right = 179.9999;
  double view_bottom = -89.9999;
  int16_t zoom_level = 1;
  int32_t win_w_px = 271;
  int32_t win_h_px = 228;

  bool operator==(const Chart_View&) const = default;
};

inline constexpr int16_t ZOOM_MIN = 1;
inline constexpr int16_t ZOOM_MAX = 20;
// The chart window's zoom level once it has loaded.
inline constexpr int16_t ZOOM_AT_LOAD = 9;

// The whole-world view at zoom level 1. The window size is kept.
void Reset_View(Chart_View& view);

// Halves both spans about the centre; only from zoom levels 1 to 19.
void Zoom_In(Chart_View& view);

// Doubles both spans about the centre; only from zoom levels 2 to 20.
void Zoom_Out(Chart_View& view);

// Moves the view's centre to longitude x, latitude y, keeping its spans.
void Recenter_View(Chart_View& view, double x, double y);

// The view as the chart window leaves it after loading for an airport at (lon, lat): the
// whole-world view, re-centred on the airport twice (once by the load, once by its first
// redraw), then zoomed in eight times to level 9.
void Load_View(Chart_View& view, double lon, double lat);

// The window pixel of a position: (lon - left) / (right - left) * width, and likewise for
// latitude from the top, each rounded halves to even. Nothing is clipped. Empty when a
// coordinate does not fit a signed 32-bit value (or the view has no size).
std::optional<Px> Geo_To_Px(const Chart_View& view, double lat, double lon);

// pct percent of win_w_px, rounded halves to even.
int64_t Pct_Width_Px(const Chart_View& view, int32_t pct);

// The geographic position under client pixel (px, py) of a client area client_w x client_h
// pixels: the window's own coordinate system, top-left (view_left, view_top), bottom-right
// (view_right, view_bottom). Empty for a client area with no size.
struct Geo_Pos {
  double lon = 0.0;
  double lat = 0.0;
};
std::optional<Geo_Pos> Mouse_To_Geo(const Chart_View& view, int32_t px, int32_t py,
                                    int32_t client_w, int32_t client_h);

// Great-circle distance in whole nautical miles, at most 32767.
int16_t Dist_Nm(double lat1, double lon1, double lat2, double lon2);

// Great-circle distance in whole feet (6080 to the nautical mile), at most 32767.
int16_t Dist_Ft(double lat1, double lon1, double lat2, double lon2);

// True initial course in whole degrees from point 1 to point 2, 1..360; identical points give
// 360.
int16_t Course_True(double lat1, double lon1, double lat2, double lon2);

// The point reached from (lat, lon) along a true course over dist nautical miles (a negative
// distance counts as 0); lat and lon rounded to 5 decimals.
Geo_Point Point_At_Nm(double lat, double lon, int32_t course, int32_t dist);

// The same over dist feet.
Geo_Point Point_At_Ft(double lat, double lon, int32_t course, int32_t dist);

// A magnetic heading turned true at a position, folded by Norm_Heading. Positions outside the
// variation grid use a variation of 0.
int16_t Mag_To_True(const Mag_Var_Table& table, int32_t hdg, double lat, double lon);

}  // namespace orv
