#include "chart/chart_layers.h"

#include "chart/aircraft_symbol.h"
#include "chart/airspace_drawing.h"

namespace orv {

namespace {

const Taxi_Point* Taxi_Point_At(const Airport_Entry& airport, int32_t i) {
  if (i < 0 || static_cast<size_t>(i) >= Used_Length(airport.taxi_points, airport.taxi_point_count))
    return nullptr;
  return &airport.taxi_points[static_cast<size_t>(i)];
}

const Parking_Rec* Parking_At(const Airport_Entry& airport, int32_t i) {
  if (i < 0 || static_cast<size_t>(i) >= Used_Length(airport.parkings, airport.parking_count))
    return nullptr;
  return &airport.parkings[static_cast<size_t>(i)];
}

struct Segment_Ends {
  double lat_a = 0.0;
  double lon_a = 0.0;
  double lat_b = 0.0;
  double lon_b = 0.0;
};

// The two ends of a taxiway segment, or nothing for a kind that is not drawn or an index that
// names no taxiway point or parking place.
std::optional<Segment_Ends> Ends_Of(const Airport_Entry& airport, const Taxi_Path& s) {
  const Taxi_Point* a = Taxi_Point_At(airport, s.start_pt);
  if (a == nullptr) return std::nullopt;
  if (s.kind == PATH_TAXIWAY || s.kind == PATH_RUNWAY) {
    const Taxi_Point* b = Taxi_Point_At(airport, s.end_pt);
    if (b == nullptr) return std::nullopt;
    return Segment_Ends{a->lat, a->lon, b->lat, b->lon};
  }
  if (s.kind == PATH_PARKING) {
    const Parking_Rec* b = Parking_At(airport, s.end_pt);
    if (b == nullptr) return std::nullopt;
    return Segment_Ends{a->lat, a->lon, b->lat, b->lon};
  }
  return std::nullopt;
}

// The label position of a segment: the point half its length along the course from its
// first end.
std::optional<Px> Segment_Midpoint_Px(const Chart_View& view, const Segment_Ends& e) {
  const int16_t dist = Dist_Ft(e.lat_a, e.lon_a, e.lat_b, e.lon_b);
  const int16_t course = Course_True(e.lat_a, e.lon_a, e.lat_b, e.lon_b);
  const auto half = static_cast<int32_t>(Round_Half_Even(dist / 2.0));
  const Geo_Point mid = Point_At_Ft(e.lat_a, e.lon_a, course, half);
  return Geo_To_Px(view, mid.lat, mid.lon);
}

void Text_At(Canvas& canvas, std::optional<Px> at, std::string_view text) {
  if (at) canvas.Text_Out(*at, text);
}

}  // namespace

bool Draw_Line(Canvas& canvas, std::optional<Px> from, std::optional<Px> to) {
  if (!from || !to) return false;
  canvas.Move_To(*from);
  canvas.Line_To(*to);
  return true;
}

void Draw_Dot(Canvas& canvas, Px centre, int64_t r) {
  const auto c1 = Make_Px(int64_t{centre.x} - r, int64_t{centre.y} + r);
  const auto c2 = Make_Px(int64_t{centre.x} + r, int64_t{centre.y} - r);
  if (c1 && c2) canvas.Ellipse(*c1, *c2);
}

void Draw_Gates(Canvas& canvas, const Program_State& state, const Chart_View& view) {
  const Airport_Entry& airport = state.cur_airport;
  const int64_t r = Pct_Width_Px(view, 1);  // the same for every parking place
  for (size_t i = 0; i < Used_Length(airport.parkings, airport.parking_count); ++i) {
    const Parking_Rec& p = airport.parkings[i];
    canvas.Set_Fore_Color(RGB_GATE);
    canvas.Set_Fill_Color(RGB_GATE);
    canvas.Set_Fill_Style(Fill_Style::solid);
    const auto at = Geo_To_Px(view, p.lat, p.lon);
    if (at) Draw_Dot(canvas, *at, r);
    canvas.Set_Fore_Color(RGB_BLACK);
    Text_At(canvas, at, "Position: " + p.label);
  }
}

void Draw_Taxiways(Canvas& canvas, const Program_State& state, const Chart_View& view) {
  const Airport_Entry& airport = state.cur_airport;
  for (size_t i = 0; i < Used_Length(airport.taxi_paths, airport.taxi_path_count); ++i) {
    const Taxi_Path& s = airport.taxi_paths[i];
    canvas.Set_Fore_Color(RGB_TAXIWAY);
    canvas.Set_Fill_Color(RGB_BLACK);
    canvas.Set_Fill_Style(Fill_Style::transparent);
    const auto ends = Ends_Of(airport, s);
    if (!ends) continue;
    Draw_Line(canvas, Geo_To_Px(view, ends->lat_a, ends->lon_a),
              Geo_To_Px(view, ends->lat_b, ends->lon_b));
    if (state.show_twy_ids && s.kind == PATH_TAXIWAY && !s.label.empty() && s.label != " ") {
      canvas.Set_Fore_Color(RGB_BLACK);
      Text_At(canvas, Segment_Midpoint_Px(view, *ends), s.label);
    }
  }
}

void Draw_Runways(Canvas& canvas, const Program_State& state, const Chart_View& view) {
  const Airport_Entry& airport = state.cur_airport;
  for (size_t i = 0; i < Used_Length(airport.runways, airport.runway_count); ++i) {
    const Runway_Rec& w = airport.runways[i];
    canvas.Set_Fore_Color(RGB_CHART_GREEN);
    canvas.Set_Fill_Color(RGB_BLACK);
    canvas.Set_Fill_Style(Fill_Style::transparent);
    const auto p1 = Geo_To_Px(view, w.end1_lat, w.end1_lon);
    const auto p2 = Geo_To_Px(view, w.end2_lat, w.end2_lon);
    Draw_Line(canvas, p1, p2);
    canvas.Set_Fore_Color(RGB_BLACK);
    Text_At(canvas, p1, w.end1_name);
    Text_At(canvas, p2, w.end2_name);
  }
}

void Draw_Ils(Canvas& canvas, const Program_State& state, const Chart_View& view) {
  const Airport_Entry& airport = state.cur_airport;
  for (size_t n = 0; n < Used_Length(airport.ils, airport.ils_count); ++n) {
    const Ils_Rec& i = airport.ils[n];
    const int16_t true_hdg = Mag_To_True(state.mag_var_table, i.mag_hdg, i.lat, i.lon);
    const int16_t back = Norm_Heading(true_hdg - 180);
    const Geo_Point a = Point_At_Ft(i.lat, i.lon, Norm_Heading(back - 5), 1800);
    const Geo_Point b = Point_At_Ft(i.lat, i.lon, Norm_Heading(back + 5), 1800);
    const auto p0 = Geo_To_Px(view, i.lat, i.lon);
    const auto pa = Geo_To_Px(view, a.lat, a.lon);
    const auto pb = Geo_To_Px(view, b.lat, b.lon);
    canvas.Set_Fore_Color(RGB_ILS);
    canvas.Set_Fill_Color(RGB_ILS);
    canvas.Set_Fill_Style(Fill_Style::solid);
    Draw_Line(canvas, p0, pa);
    Draw_Line(canvas, pa, pb);
    Draw_Line(canvas, pb, p0);
  }
}

namespace {

// Solid, width 1, green, fill black and transparent: the pen the chart starts and ends with.
void Reset_Pen(Canvas& canvas) {
  canvas.Set_Line_Style(Line_Style::solid);
  canvas.Set_Line_Width(1);
  canvas.Set_Fore_Color(RGB_CHART_GREEN);
  canvas.Set_Fill_Color(RGB_BLACK);
  canvas.Set_Fill_Style(Fill_Style::transparent);
}

}  // namespace

void Draw_Chart(Canvas& canvas, Program_State& state, const Chart_View& view) {
  const Airport_Entry& airport = state.cur_airport;
  const int16_t zoom = view.zoom_level;
  Reset_Pen(canvas);
  canvas.Set_Line_Width(4);
  if (zoom <= ZOOM_AIRSPACE_MAX && state.show_airspace && state.airspace_count > 0) {
    Draw_Airspaces(canvas, state, view);
  }
  canvas.Set_Line_Width(2);
  canvas.Set_Line_Style(Line_Style::solid);
  if (zoom >= ZOOM_GROUND_MIN) {
    if (state.show_gates && airport.parking_count > 0) Draw_Gates(canvas, state, view);
    if (state.show_twys && airport.taxi_path_count > 0) Draw_Taxiways(canvas, state, view);
  }
  if (zoom >= ZOOM_RUNWAYS_MIN) Draw_Runways(canvas, state, view);
  Reset_Pen(canvas);
  if (zoom >= ZOOM_RUNWAYS_MIN && state.show_ils && airport.ils_count > 0) {
    Draw_Ils(canvas, state, view);
  }
  Reset_Pen(canvas);
}

void Redraw_Chart(Canvas& canvas, Program_State& state, const Chart_View& view,
                  bool sim_connected) {
  canvas.Clear();
  Draw_Chart(canvas, state, view);
  Draw_Aircraft(canvas, state, view, sim_connected);
}

}  // namespace orv
