#include "chart/aircraft_trail.h"

#include "chart/aircraft_symbol.h"
#include "chart/chart_layers.h"

namespace orv {

void Aircraft_Trail::Add(std::chrono::microseconds now, double lat, double lon) {
  Forget_Before(now);
  points_.push_back({now, lat, lon});
}

void Aircraft_Trail::Forget_Before(std::chrono::microseconds now) {
  while (!points_.empty() && now - points_.front().at > TRAIL_WINDOW) points_.pop_front();
}

void Draw_Trail(Canvas& canvas, const Aircraft_Trail& trail, const Chart_View& view) {
  canvas.Set_Line_Style(Line_Style::solid);
  canvas.Set_Line_Width(1);
  canvas.Set_Fore_Color(RGB_TRAIL);
  std::optional<Px> from;
  for (const Trail_Point& p : trail.Points()) {
    const std::optional<Px> to = Geo_To_Px(view, p.lat, p.lon);
    // A step that moves no pixel draws nothing: a parked aircraft adds no calls.
    if (from && to && *from != *to) Draw_Line(canvas, from, to);
    if (to) from = to;
  }
  canvas.Set_Fore_Color(RGB_CHART_GREEN);
  canvas.Set_Fill_Color(RGB_BLACK);
  canvas.Set_Fill_Style(Fill_Style::transparent);
}

void Redraw_Chart_With_Trail(Canvas& canvas, Program_State& state, const Chart_View& view,
                             bool sim_connected, const Aircraft_Trail& trail) {
  canvas.Clear();
  Draw_Chart(canvas, state, view);
  Draw_Trail(canvas, trail, view);
  Draw_Aircraft(canvas, state, view, sim_connected);
}

}  // namespace orv
