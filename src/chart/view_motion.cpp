#include "chart/view_motion.h"

namespace orv {

Geo_Pos Px_To_Geo(const Chart_View& view, double x, double y) {
  Geo_Pos pos{view.view_left, view.view_top};
  if (view.win_w_px <= 0 || view.win_h_px <= 0) return pos;
  pos.lon = view.view_left + x / view.win_w_px * (view.view_right - view.view_left);
  pos.lat = view.view_top - y / view.win_h_px * (view.view_top - view.view_bottom);
  return pos;
}

bool Zoom_About(Chart_View& view, bool zoom_in, double x, double y) {
  const Geo_Pos fixed = Px_To_Geo(view, x, y);
  const int16_t before = view.zoom_level;
  if (zoom_in) {
    Zoom_In(view);
  } else {
    Zoom_Out(view);
  }
  if (view.zoom_level == before) return false;
  // Moved, not re-spanned: the spans stay exactly those of the zoom level.
  const Geo_Pos now = Px_To_Geo(view, x, y);
  const double dlon = fixed.lon - now.lon;
  const double dlat = fixed.lat - now.lat;
  view.view_left += dlon;
  view.view_right += dlon;
  view.view_top += dlat;
  view.view_bottom += dlat;
  return true;
}

void Slide_View(Chart_View& view, double dx, double dy) {
  if (view.win_w_px <= 0 || view.win_h_px <= 0) return;
  const double dlon = -dx / view.win_w_px * (view.view_right - view.view_left);
  const double dlat = dy / view.win_h_px * (view.view_top - view.view_bottom);
  view.view_left += dlon;
  view.view_right += dlon;
  view.view_top += dlat;
  view.view_bottom += dlat;
}

int32_t Wheel_Notches::Add(int32_t delta) {
  if ((delta > 0 && rest < 0) || (delta < 0 && rest > 0)) rest = 0;
  // Held in 64 bits: a wheel that reports huge steps cannot overflow the sum.
  const int64_t sum = int64_t{rest} + delta;
  const int64_t notches = sum / WHEEL_NOTCH;
  rest = static_cast<int32_t>(sum - notches * WHEEL_NOTCH);
  if (notches > ZOOM_MAX) return ZOOM_MAX;
  if (notches < -ZOOM_MAX) return -ZOOM_MAX;
  return static_cast<int32_t>(notches);
}

}  // namespace orv
