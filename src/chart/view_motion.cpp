#include "chart/view_motion.h"

#include <cmath>

#include "chart/diagram_frame.h"

namespace orv {

Geo_Pos Px_To_Geo(const Chart_View& view, double x, double y) {
  Geo_Pos pos{view.view_left, view.view_top};
  if (view.win_w_px <= 0 || view.win_h_px <= 0) return pos;
  pos.lon = view.view_left + x / view.win_w_px * (view.view_right - view.view_left);
  pos.lat = view.view_top - y / view.win_h_px * (view.view_top - view.view_bottom);
  return pos;
}

namespace {

// One zoom step as the buttons take it; false at the zoom limits, where nothing changes.
bool Zoom_Step(Chart_View& view, bool zoom_in) {
  const int16_t before = view.zoom_level;
  if (zoom_in) {
    Zoom_In(view);
  } else {
    Zoom_Out(view);
  }
  return view.zoom_level != before;
}

}  // namespace

bool Zoom_About(Chart_View& view, bool zoom_in, double x, double y) {
  const Geo_Pos fixed = Px_To_Geo(view, x, y);
  if (!Zoom_Step(view, zoom_in)) return false;
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

namespace {

// Moves the view until `place` is drawn at pixel (x, y) of the diagram. The scale about a centre
// depends on its latitude, so a few steps settle it to a fraction of a pixel.
void Settle_Diagram(Chart_View& view, Geo_Pos place, double x, double y, int32_t width,
                    int32_t height) {
  for (int step = 0; step < 8; ++step) {
    const Diagram_Frame frame = Frame_Of_View(view, width, height);
    const Pt now = Diagram_Project(frame, place.lat, place.lon);
    if (std::fabs(now.x - x) < 0.01 && std::fabs(now.y - y) < 0.01) return;
    const Geo_Pos centre =
        Diagram_Unproject(frame, width / 2.0 + (now.x - x), height / 2.0 + (now.y - y));
    Recenter_View(view, centre.lon, centre.lat);
  }
}

}  // namespace

bool Zoom_About_Diagram(Chart_View& view, bool zoom_in, double x, double y, int32_t width,
                        int32_t height) {
  if (width <= 0 || height <= 0) return Zoom_About(view, zoom_in, x, y);
  const Geo_Pos fixed = Diagram_Unproject(Frame_Of_View(view, width, height), x, y);
  if (!Zoom_Step(view, zoom_in)) return false;
  Settle_Diagram(view, fixed, x, y, width, height);
  return true;
}

void Slide_Diagram(Chart_View& view, double dx, double dy, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return Slide_View(view, dx, dy);
  // The place drawn at the middle goes dx, dy along.
  const Geo_Pos middle =
      Diagram_Unproject(Frame_Of_View(view, width, height), width / 2.0, height / 2.0);
  Settle_Diagram(view, middle, width / 2.0 + dx, height / 2.0 + dy, width, height);
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
