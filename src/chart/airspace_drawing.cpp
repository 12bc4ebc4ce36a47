#include "chart/airspace_drawing.h"

#include <cmath>
#include <optional>

#include "chart/chart_layers.h"

namespace orv {

namespace {

struct Lat_Lon {
  double lat = 0.0;
  double lon = 0.0;
};

// The half-diagonal of the square box around a circle of radius r nautical miles: the
// distance from the centre to its north-west and south-east corners. Empty when it does not
// fit the chart's whole-number range.
std::optional<int32_t> Corner_Distance(double r) {
  const double diagonal = Round_Half_Even(std::sqrt(r * r + r * r));
  if (!(diagonal <= 32767.0)) return std::nullopt;
  return static_cast<int32_t>(diagonal);
}

// The pixel corners of the box from the north-west corner r1 from the centre to the
// south-east corner r2 from it.
struct Box_Px {
  std::optional<Px> c1;
  std::optional<Px> c2;
};
Box_Px Box_Around(const Chart_View& view, Lat_Lon centre, int32_t r1, int32_t r2) {
  const Geo_Point nw = Point_At_Nm(centre.lat, centre.lon, 315, r1);
  const Geo_Point se = Point_At_Nm(centre.lat, centre.lon, 135, r2);
  return Box_Px{Geo_To_Px(view, nw.lat, nw.lon), Geo_To_Px(view, se.lat, se.lon)};
}

// The pen position as the path sees it: placed, or lost because the point it was moved to has
// no pixel. A line from a lost position is not drawn; it only places the pen.
class Path_Pen {
 public:
  explicit Path_Pen(Canvas& canvas) : canvas_(canvas) {}

  void Move(std::optional<Px> to) {
    placed_ = to.has_value();
    if (to) canvas_.Move_To(*to);
  }

  void Line(std::optional<Px> to) {
    if (to && placed_) {
      canvas_.Line_To(*to);
    } else {
      Move(to);
    }
  }

 private:
  Canvas& canvas_;
  bool placed_ = true;
};

bool Is_Hidden_Class(const std::string& label) {
  return label == CLASS_TRACON || label == CLASS_D || label == CLASS_ARTCC;
}

void Set_Class_Pen(Canvas& canvas, const std::string& label) {
  const Rgb* color = nullptr;
  if (label == CLASS_B) color = &RGB_CLASS_B;
  if (label == CLASS_C) color = &RGB_CLASS_C;
  if (color != nullptr) {
    canvas.Set_Fore_Color(*color);
    canvas.Set_Line_Width(1);
    canvas.Set_Line_Style(Line_Style::dash);
    canvas.Set_Fill_Color(*color);
  }
  canvas.Set_Fill_Style(Fill_Style::transparent);
}

void Draw_Circle(Canvas& canvas, const Chart_View& view, Lat_Lon centre, Boundary_Point& p) {
  if (p.radius <= 0) p.radius = 1;
  const auto r = Corner_Distance(static_cast<double>(p.radius));
  if (!r) return;
  const Box_Px box = Box_Around(view, centre, *r, *r);
  if (box.c1 && box.c2) canvas.Ellipse(*box.c1, *box.c2);
}

// The arc about the centre from the previous point to p, clockwise or counter-clockwise on the
// map. The screen shows north up and east right, so the map's sense is the screen's.
void Draw_Arc(Canvas& canvas, const Chart_View& view, Lat_Lon centre, Lat_Lon last,
              const Boundary_Point& p) {
  const int16_t d1 = Dist_Nm(centre.lat, centre.lon, last.lat, last.lon);
  const int16_t d2 = Dist_Nm(centre.lat, centre.lon, p.lat, p.lon);
  const auto r1 = Corner_Distance(d1);
  const auto r2 = Corner_Distance(d2);
  if (!r1 || !r2) return;
  const Box_Px box = Box_Around(view, centre, *r1, *r2);
  const auto pl = Geo_To_Px(view, last.lat, last.lon);
  const auto pp = Geo_To_Px(view, p.lat, p.lon);
  if (!box.c1 || !box.c2 || !pl || !pp) return;
  // Arcs run counter-clockwise from their start ray, so a clockwise arc starts at its end.
  if (p.kind == PT_ARC_CCW) {
    canvas.Arc(*box.c1, *box.c2, *pl, *pp);
  } else {
    canvas.Arc(*box.c1, *box.c2, *pp, *pl);
  }
}

}  // namespace

void Draw_Airspaces(Canvas& canvas, Program_State& state, const Chart_View& view) {
  Lat_Lon centre;
  Path_Pen pen(canvas);
  for (size_t n = 0; n < Used_Length(state.airspaces, state.airspace_count); ++n) {
    Airspace_Entry& a = state.airspaces[n];
    Lat_Lon last;
    if (Is_Hidden_Class(a.class_label)) continue;
    Set_Class_Pen(canvas, a.class_label);
    for (size_t i = 0; i < Used_Length(a.points, a.point_count); ++i) {
      Boundary_Point& p = a.points[i];
      const Lat_Lon here{p.lat, p.lon};
      switch (p.kind) {
        case PT_START:
          pen.Move(Geo_To_Px(view, p.lat, p.lon));
          last = here;
          break;
        case PT_CENTER:
          centre = here;
          break;
        case PT_CIRCLE:
          Draw_Circle(canvas, view, centre, p);
          break;
        case PT_ARC_CW:
        case PT_ARC_CCW:
          Draw_Arc(canvas, view, centre, last, p);
          pen.Move(Geo_To_Px(view, p.lat, p.lon));
          last = here;
          break;
        case PT_LINE:
          pen.Line(Geo_To_Px(view, p.lat, p.lon));
          last = here;
          break;
        default:
          break;
      }
    }
  }
  canvas.Set_Fore_Color(RGB_CHART_GREEN);
  canvas.Set_Fill_Color(RGB_BLACK);
  canvas.Set_Fill_Style(Fill_Style::transparent);
  canvas.Set_Line_Width(2);
  canvas.Set_Line_Style(Line_Style::solid);
}

}  // namespace orv
