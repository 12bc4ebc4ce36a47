#include "chart/chart_hit_test.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>

#include "chart/chart_layers.h"
#include "chart/diagram_geometry.h"
#include "chart/nearest_airports.h"

namespace orv {

namespace {

constexpr double FT_PER_DEGREE = 60.0 * 6080.0;
// An ILS counts as on a runway when it lies this near its extended centre line.
constexpr double ILS_ALONG_MARGIN_FT = 3000.0;
constexpr double ILS_ACROSS_FT = 1000.0;

struct Point {
  double x = 0.0;
  double y = 0.0;
};

// How one chart style puts the records on the surface, for the hit test: the pixel of a
// position, how near a gate's centre counts as on it, the ILS feather as a triangle, a
// runway's surface as a four-cornered shape (none: the runway is hit on the ground), and how
// near a taxiway's line counts as on it.
struct Triangle {
  Point a;
  Point b;
  Point c;
};
struct Hit_Map {
  std::function<std::optional<Point>(double lat, double lon)> pixel;
  std::function<double(const Parking_Rec&)> gate_reach;
  std::function<std::optional<Triangle>(const Ils_Rec&)> feather;
  std::function<std::optional<std::array<Point, 4>>(const Runway_Rec&)> runway_surface;
  double taxiway_reach = HIT_TOLERANCE_PX;
};

// The pixel of a position before rounding, as Geo_To_Px computes it.
std::optional<Point> Pixel_Of(const Chart_View& view, double lat, double lon) {
  const double span_x = view.view_right - view.view_left;
  const double span_y = view.view_top - view.view_bottom;
  if (span_x == 0.0 || span_y == 0.0) return std::nullopt;
  return Point{(lon - view.view_left) / span_x * view.win_w_px,
               (view.view_top - lat) / span_y * view.win_h_px};
}

double Distance_To_Segment(Point p, Point a, Point b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
  t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool Near_Segment(const Hit_Map& map, Point p, double lat1, double lon1, double lat2, double lon2,
                  double reach) {
  const auto a = map.pixel(lat1, lon1);
  const auto b = map.pixel(lat2, lon2);
  return a && b && Distance_To_Segment(p, *a, *b) <= reach;
}

double Cross(Point o, Point a, Point b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool In_Triangle(Point p, Point a, Point b, Point c) {
  const double d1 = Cross(p, a, b);
  const double d2 = Cross(p, b, c);
  const double d3 = Cross(p, c, a);
  const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
  const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

std::optional<size_t> Hit_Gate(const Program_State& st, const Hit_Map& map, Point p,
                               const Geo_Pos& at) {
  const Airport_Entry& a = st.cur_airport;
  for (size_t i = 0; i < Used_Length(a.parkings, a.parking_count); ++i) {
    const Parking_Rec& g = a.parkings[i];
    const auto c = map.pixel(g.lat, g.lon);
    if (c && std::hypot(p.x - c->x, p.y - c->y) <= map.gate_reach(g)) return i;
    if (Distance_Nm(g.lat, g.lon, at.lat, at.lon) * 6080.0 <= g.radius_ft) return i;
  }
  return std::nullopt;
}

std::optional<size_t> Hit_Ils(const Program_State& st, const Hit_Map& map, Point p) {
  const Airport_Entry& a = st.cur_airport;
  for (size_t n = 0; n < Used_Length(a.ils, a.ils_count); ++n) {
    const auto t = map.feather(a.ils[n]);
    if (!t) continue;
    if (In_Triangle(p, t->a, t->b, t->c) ||
        std::hypot(p.x - t->a.x, p.y - t->a.y) <= HIT_TOLERANCE_PX)
      return n;
  }
  return std::nullopt;
}

std::optional<size_t> Hit_Runway(const Program_State& st, const Hit_Map& map, Point p,
                                 const Geo_Pos& at) {
  const Airport_Entry& a = st.cur_airport;
  for (size_t n = 0; n < Used_Length(a.runways, a.runway_count); ++n) {
    const Runway_Rec& w = a.runways[n];
    const auto q = map.runway_surface(w);
    const bool on =
        q ? In_Triangle(p, (*q)[0], (*q)[1], (*q)[2]) || In_Triangle(p, (*q)[0], (*q)[2], (*q)[3])
          : On_Runway_Surface(w, at.lat, at.lon);
    if (on ||
        Near_Segment(map, p, w.end1_lat, w.end1_lon, w.end2_lat, w.end2_lon, HIT_TOLERANCE_PX))
      return n;
  }
  return std::nullopt;
}

const Taxi_Point* Point_At(const Airport_Entry& a, int32_t i) {
  if (i < 0 || static_cast<size_t>(i) >= Used_Length(a.taxi_points, a.taxi_point_count))
    return nullptr;
  return &a.taxi_points[static_cast<size_t>(i)];
}

bool Named(const Taxi_Path& s) {
  return s.kind == PATH_TAXIWAY && !s.label.empty() && s.label != " ";
}

std::optional<size_t> Hit_Taxiway(const Program_State& st, const Hit_Map& map, Point p) {
  const Airport_Entry& a = st.cur_airport;
  for (size_t n = 0; n < Used_Length(a.taxi_paths, a.taxi_path_count); ++n) {
    const Taxi_Path& s = a.taxi_paths[n];
    if (!Named(s)) continue;
    const Taxi_Point* from = Point_At(a, s.start_pt);
    const Taxi_Point* to = Point_At(a, s.end_pt);
    if (from && to &&
        Near_Segment(map, p, from->lat, from->lon, to->lat, to->lon, map.taxiway_reach))
      return n;
  }
  return std::nullopt;
}

// A gate first, then an ILS, a runway, a taxiway, among what the zoom level and the display
// switches show.
Chart_Hit Hit_On(const Program_State& st, const Hit_Map& map, int16_t zoom, Point p,
                 const Geo_Pos& at) {
  const bool ground = zoom >= ZOOM_GROUND_MIN;
  const bool runways = zoom >= ZOOM_RUNWAYS_MIN;
  if (ground && st.show_gates) {
    if (const auto i = Hit_Gate(st, map, p, at)) return {Hit_Kind::gate, *i};
  }
  if (runways && st.show_ils) {
    if (const auto i = Hit_Ils(st, map, p)) return {Hit_Kind::ils, *i};
  }
  if (runways) {
    if (const auto i = Hit_Runway(st, map, p, at)) return {Hit_Kind::runway, *i};
  }
  if (ground && st.show_twys) {
    if (const auto i = Hit_Taxiway(st, map, p)) return {Hit_Kind::taxiway, *i};
  }
  return {};
}

Point Point_Of(Pt p) {
  return {p.x, p.y};
}

bool Ils_On_Runway(const Ils_Rec& i, const Runway_Rec& w) {
  const Runway_Offset o = Offset_From_Runway(w, i.lat, i.lon);
  return std::fabs(o.along_ft) <= w.length_ft / 2.0 + ILS_ALONG_MARGIN_FT &&
         std::fabs(o.across_ft) <= ILS_ACROSS_FT;
}

// Built by appending: GCC 12 at -O3 reports a false overlap (-Wrestrict) in the inlined copy of
// a literal placed before a temporary string.
std::string Ils_Text(const Ils_Rec& i) {
  std::string text = "ILS ";
  text.append(i.ident).append(" ").append(i.freq).append(", course ");
  return text.append(Bearing_Text(Norm_Heading(i.mag_hdg)));
}

std::string Runway_Text(const Airport_Entry& a, const Runway_Rec& w) {
  std::string text = "Runway ";
  text.append(w.end1_name).append("/").append(w.end2_name).append("\n");
  text.append(std::to_string(w.length_ft)).append(" x ").append(std::to_string(w.width_ft));
  text.append(" ft, elevation ").append(std::to_string(w.elev_ft)).append(" ft\nHeadings ");
  text.append(Bearing_Text(Norm_Heading(w.end1_mag_hdg))).append(" / ");
  text.append(Bearing_Text(Norm_Heading(w.end2_mag_hdg))).append(" magnetic");
  for (size_t n = 0; n < Used_Length(a.ils, a.ils_count); ++n) {
    if (Ils_On_Runway(a.ils[n], w)) text.append("\n").append(Ils_Text(a.ils[n]));
  }
  return text;
}

}  // namespace

Runway_Offset Offset_From_Runway(const Runway_Rec& w, double lat, double lon) {
  const double mid_lat = (w.end1_lat + w.end2_lat) / 2.0;
  const double mid_lon = (w.end1_lon + w.end2_lon) / 2.0;
  const double shrink = std::cos(mid_lat * PI / 180.0);
  const double ux = (w.end2_lon - w.end1_lon) * shrink * FT_PER_DEGREE;
  const double uy = (w.end2_lat - w.end1_lat) * FT_PER_DEGREE;
  const double len = std::hypot(ux, uy);
  const double px = (lon - mid_lon) * shrink * FT_PER_DEGREE;
  const double py = (lat - mid_lat) * FT_PER_DEGREE;
  if (!(len > 0.0)) return {std::hypot(px, py), std::hypot(px, py)};
  return {(px * ux + py * uy) / len, (py * ux - px * uy) / len};
}

bool On_Runway_Surface(const Runway_Rec& w, double lat, double lon) {
  if (w.end1_lat == w.end2_lat && w.end1_lon == w.end2_lon) return false;
  const Runway_Offset o = Offset_From_Runway(w, lat, lon);
  return std::fabs(o.along_ft) <= w.length_ft / 2.0 && std::fabs(o.across_ft) <= w.width_ft / 2.0;
}

Chart_Hit Hit_Test(const Program_State& st, const Chart_View& view, double x, double y) {
  const double span_x = view.view_right - view.view_left;
  const double span_y = view.view_top - view.view_bottom;
  if (view.win_w_px <= 0 || view.win_h_px <= 0 || span_x == 0.0 || span_y == 0.0) return {};
  const Geo_Pos at{view.view_left + x / view.win_w_px * span_x,
                   view.view_top - y / view.win_h_px * span_y};
  Hit_Map map;
  map.pixel = [&view](double lat, double lon) { return Pixel_Of(view, lat, lon); };
  const double gate_px = static_cast<double>(Pct_Width_Px(view, 1)) + 1.0;
  map.gate_reach = [gate_px](const Parking_Rec&) { return gate_px; };
  // The feather exactly as the layer draws it.
  map.feather = [&](const Ils_Rec& i) -> std::optional<Triangle> {
    const int16_t back = Norm_Heading(Mag_To_True(st.mag_var_table, i.mag_hdg, i.lat, i.lon) - 180);
    const Geo_Point ga = Point_At_Ft(i.lat, i.lon, Norm_Heading(back - 5), 1800);
    const Geo_Point gb = Point_At_Ft(i.lat, i.lon, Norm_Heading(back + 5), 1800);
    const auto p0 = Pixel_Of(view, i.lat, i.lon);
    const auto pa = Pixel_Of(view, ga.lat, ga.lon);
    const auto pb = Pixel_Of(view, gb.lat, gb.lon);
    if (!p0 || !pa || !pb) return std::nullopt;
    return Triangle{*p0, *pa, *pb};
  };
  map.runway_surface = [](const Runway_Rec&) { return std::optional<std::array<Point, 4>>(); };
  return Hit_On(st, map, view.zoom_level, Point{x, y}, at);
}

Chart_Hit Hit_Test_Diagram(const Program_State& st, const Diagram_Frame& frame, int16_t zoom,
                           double text_scale, double x, double y) {
  const Geo_Pos at = Diagram_Unproject(frame, x, y);
  Hit_Map map;
  map.pixel = [&frame](double lat, double lon) {
    return std::optional<Point>(Point_Of(Diagram_Project(frame, lat, lon)));
  };
  const double px_ft = frame.Px_Per_Foot();
  map.gate_reach = [px_ft](const Parking_Rec& g) {
    return std::max(1.5, g.radius_ft * px_ft) + 1.0;
  };
  map.feather = [&](const Ils_Rec& i) -> std::optional<Triangle> {
    const Ils_Feather f = Feather_Of(st, frame, i, text_scale);
    return Triangle{Point_Of(f.tip), Point_Of({f.outer.x + f.side.x, f.outer.y + f.side.y}),
                    Point_Of({f.outer.x - f.side.x, f.outer.y - f.side.y})};
  };
  map.runway_surface = [&frame](const Runway_Rec& w) -> std::optional<std::array<Point, 4>> {
    const auto s = Runway_Geometry(frame, w);
    if (!s) return std::nullopt;
    return std::array<Point, 4>{Point_Of(s->corner[0]), Point_Of(s->corner[1]),
                                Point_Of(s->corner[2]), Point_Of(s->corner[3])};
  };
  map.taxiway_reach = std::max(HIT_TOLERANCE_PX, Taxiway_Band_Px(frame) / 2.0);
  return Hit_On(st, map, zoom, Point{x, y}, at);
}

std::string Hit_Text(const Program_State& st, const Chart_Hit& hit) {
  const Airport_Entry& a = st.cur_airport;
  switch (hit.kind) {
    case Hit_Kind::none:
      return "";
    case Hit_Kind::gate: {
      if (hit.index >= a.parkings.size()) return "";
      const Parking_Rec& g = a.parkings[hit.index];
      std::string text = g.label;
      return text.append("\nRadius ").append(std::to_string(g.radius_ft)).append(" ft");
    }
    case Hit_Kind::ils:
      return hit.index < a.ils.size() ? Ils_Text(a.ils[hit.index]) : "";
    case Hit_Kind::runway:
      return hit.index < a.runways.size() ? Runway_Text(a, a.runways[hit.index]) : "";
    case Hit_Kind::taxiway:
      if (hit.index >= a.taxi_paths.size()) return "";
      return std::string("Taxiway ").append(a.taxi_paths[hit.index].label);
  }
  return "";
}

std::string From_Aircraft_Text(const Program_State& st, double lat, double lon) {
  const double d = Distance_Nm(st.acft_lat, st.acft_lon, lat, lon);
  const double t = Bearing_True(st.acft_lat, st.acft_lon, lat, lon);
  std::string text = "From aircraft: ";
  text.append(Distance_Text(d)).append(", ");
  return text.append(Bearing_Text(Bearing_Mag(st.mag_var_table, t, st.acft_lat, st.acft_lon)));
}

}  // namespace orv
