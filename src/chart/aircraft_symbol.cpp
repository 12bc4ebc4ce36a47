#include "chart/aircraft_symbol.h"

#include "chart/chart_layers.h"

namespace orv {

void Draw_Aircraft(Canvas& canvas, const Program_State& state, const Chart_View& view,
                   bool sim_connected) {
  if (!sim_connected) return;
  const auto p = Geo_To_Px(view, state.acft_lat, state.acft_lon);
  const Geo_Point ahead = Point_At_Ft(state.acft_lat, state.acft_lon, state.acft_hdg, 500);
  const auto ph = Geo_To_Px(view, ahead.lat, ahead.lon);
  const int64_t r = Pct_Width_Px(view, 1);
  canvas.Set_Fore_Color(RGB_CHART_GREEN);
  canvas.Set_Fill_Color(RGB_CHART_GREEN);
  canvas.Set_Fill_Style(Fill_Style::solid);
  if (p) Draw_Dot(canvas, *p, r);
  Draw_Line(canvas, p, ph);
  if (p) canvas.Text_Out(*p, "Your Plane");
  canvas.Set_Line_Width(1);
}

}  // namespace orv
