#include "chart/diagram_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>
#include <unordered_map>

#include "chart/chart_layers.h"

namespace orv {

namespace {

constexpr double DEG = PI / 180.0;

Pt Add(Pt a, Pt b) {
  return {a.x + b.x, a.y + b.y};
}
Pt Sub(Pt a, Pt b) {
  return {a.x - b.x, a.y - b.y};
}
Pt Mul(Pt a, double k) {
  return {a.x * k, a.y * k};
}
double Length(Pt a) {
  return std::hypot(a.x, a.y);
}
Pt Mid(Pt a, Pt b) {
  return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
}

// The surface direction of a true course: north up, east right.
Pt Course_Dir(double course_deg) {
  return {std::sin(course_deg * DEG), -std::cos(course_deg * DEG)};
}

// The rectangle of a band of half width h from a to b.
std::vector<Pt> Band(Pt a, Pt b, double h) {
  const Pt d = Sub(b, a);
  const double len = Length(d);
  if (len <= 0.0) return {};
  const Pt n{-d.y / len * h, d.x / len * h};
  return {Add(a, n), Add(b, n), Sub(b, n), Sub(a, n)};
}

// An angle in degrees that keeps text along a direction readable: within (-90, 90].
double Upright_Angle(Pt along) {
  double a = -std::atan2(along.y, along.x) / DEG;
  if (a > 90.0) a -= 180.0;
  if (a <= -90.0) a += 180.0;
  return a;
}

std::string Fmt(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// The whole-number text of a value.
std::string Whole(double v) {
  return Fmt("%.0f", v);
}

// Builds one picture; the label grid is shared by every layer's labels.
class Builder {
 public:
  Builder(const Program_State& st, const Diagram_Frame& f, const Diagram_Options& o,
          const Canvas& measure)
      : st_(st), a_(st.cur_airport), f_(f), o_(o), measure_(measure), grid_(48.0 * o.text_scale) {
    pic_.width = f.width;
    pic_.height = f.height;
    for (const Box& b : o.keep_clear) grid_.Add(b);
  }

  Diagram_Picture Build();

 private:
  Pt At(double lat, double lon) const { return Diagram_Project(f_, lat, lon); }
  int32_t Size(double px) const {
    return std::max(1, static_cast<int32_t>(std::lround(px * o_.text_scale)));
  }
  bool Near_Surface(Pt p, double margin) const {
    return p.x > -margin && p.y > -margin && p.x < f_.width + margin && p.y < f_.height + margin;
  }
  Box Box_Of(const Diagram_Label& l) const;
  bool Place(Diagram_Layer& layer, Diagram_Label label, bool force = false);
  Diagram_Label Label(std::string text, Pt at, double size, H_Align h = H_Align::center,
                      V_Align v = V_Align::middle, double angle = 0.0, bool bold = false) const;

  void Airspaces();
  void Airspace_Arc(Ink ink, Pt centre, Pt from, Pt to, bool clockwise);
  void Runways();
  void Threshold_Labels(const std::string& name, int16_t mag_hdg, Pt at, Pt out);
  void Taxiway_Bands();
  void Parkings();
  void Parking_Labels_Beside();
  void Ils();
  void Taxiway_Names();
  void Title_And_Frequencies();
  void North_Arrow();
  void Scale_Bar();
  void Aircraft();
  void Panel(double x0, double y0, double x1, double y1);

  const Program_State& st_;
  const Airport_Entry& a_;
  const Diagram_Frame& f_;
  const Diagram_Options& o_;
  const Canvas& measure_;
  Label_Grid grid_;
  Diagram_Picture pic_;
  struct Beside {
    Diagram_Label label;  // anchored at the circle's centre
    double r = 0.0;
  };
  std::vector<Beside> beside_;
};

Diagram_Label Builder::Label(std::string text, Pt at, double size, H_Align h, V_Align v,
                             double angle, bool bold) const {
  Diagram_Label l;
  l.text = std::move(text);
  l.at = at;
  l.style.size_px = Size(size);
  l.style.angle_deg = angle;
  l.style.h_align = h;
  l.style.v_align = v;
  l.style.bold = bold;
  return l;
}

Box Builder::Box_Of(const Diagram_Label& l) const {
  const Text_Box tb = Box_Of_Text(To_Px(l.at), measure_.Text_Extent(l.text, l.style), l.style);
  Box b{1e300, 1e300, -1e300, -1e300};
  for (const Px& c : tb.corner) {
    b.x0 = std::min(b.x0, static_cast<double>(c.x));
    b.y0 = std::min(b.y0, static_cast<double>(c.y));
    b.x1 = std::max(b.x1, static_cast<double>(c.x));
    b.y1 = std::max(b.y1, static_cast<double>(c.y));
  }
  const double pad = l.plate ? 2.0 * o_.text_scale : 0.5;
  return {b.x0 - pad, b.y0 - pad, b.x1 + pad, b.y1 + pad};
}

// A label not wholly on the surface is left out; one that would overlap a placed label too, unless
// it is furniture, which is laid out to keep clear of itself.
bool Builder::Place(Diagram_Layer& layer, Diagram_Label label, bool force) {
  const Box b = Box_Of(label);
  if (b.x0 < 0 || b.y0 < 0 || b.x1 > f_.width || b.y1 > f_.height) return false;
  if (force) {
    grid_.Add(b);
  } else if (!grid_.Place(b)) {
    return false;
  }
  pic_.label_boxes.push_back(b);
  layer.labels.push_back(std::move(label));
  return true;
}

// The arc about the centre from one point to the next, as short lines, its radius running from
// the first point's distance to the second's.
void Builder::Airspace_Arc(Ink ink, Pt centre, Pt from, Pt to, bool clockwise) {
  const double r1 = Length(Sub(from, centre));
  const double r2 = Length(Sub(to, centre));
  const double a1 = std::atan2(from.y - centre.y, from.x - centre.x);
  double turn = std::atan2(to.y - centre.y, to.x - centre.x) - a1;
  // On a screen whose y axis points down, clockwise is the growing angle.
  if (clockwise) {
    while (turn <= 0.0) turn += 2.0 * PI;
  } else {
    while (turn >= 0.0) turn -= 2.0 * PI;
  }
  const int steps = std::max(2, static_cast<int>(std::abs(turn) / (5.0 * DEG)));
  Pt last = from;
  for (int i = 1; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const double a = a1 + turn * t;
    const double r = r1 + (r2 - r1) * t;
    const Pt next{centre.x + r * std::cos(a), centre.y + r * std::sin(a)};
    pic_.airspace.lines.push_back({ink, 2.0, false, last, next});
    last = next;
  }
}

// The Class B and C airspaces as the classic chart has them, each labelled with its class and
// its ceiling over its floor.
void Builder::Airspaces() {
  Pt centre;
  for (size_t n = 0; n < Used_Length(st_.airspaces, st_.airspace_count); ++n) {
    const Airspace_Entry& sp = st_.airspaces[n];
    const bool b = sp.class_label == CLASS_B;
    if (!b && sp.class_label != CLASS_C) continue;
    const Ink ink = b ? Ink::airspace_b : Ink::airspace_c;
    std::optional<Pt> label_at;
    Pt last;
    for (size_t i = 0; i < Used_Length(sp.points, sp.point_count); ++i) {
      const Boundary_Point& p = sp.points[i];
      const Pt here = At(p.lat, p.lon);
      if (p.kind == PT_CENTER) {
        centre = here;
      } else if (p.kind == PT_START) {
        last = here;
        if (!label_at) label_at = here;
      } else if (p.kind == PT_LINE) {
        pic_.airspace.lines.push_back({ink, 2.0, false, last, here});
        last = here;
      } else if (p.kind == PT_ARC_CW || p.kind == PT_ARC_CCW) {
        Airspace_Arc(ink, centre, last, here, p.kind == PT_ARC_CW);
        last = here;
      } else if (p.kind == PT_CIRCLE) {
        const double r = std::max(1, p.radius) * 6080.0 * f_.Px_Per_Foot();
        if (r > 4.0 * (f_.width + f_.height)) continue;
        pic_.airspace.discs.push_back({ink, ink, centre, r, false, 2.0});
        if (!label_at) label_at = Pt{centre.x, centre.y - r};
      }
    }
    if (!label_at) continue;
    const std::string floor = sp.alt_low <= 0 ? std::string("SFC") : std::to_string(sp.alt_low);
    Diagram_Label l =
        Label(std::string(b ? "CLASS B " : "CLASS C ") + std::to_string(sp.alt_high) + "/" + floor,
              *label_at, 9.0, H_Align::center, V_Align::bottom, 0.0, true);
    l.ink = ink;
    Place(pic_.labels, std::move(l));
  }
}

// A runway end's designator at `at`, outside its threshold, and the magnetic heading of a
// landing there beyond it along `out`, where each keeps clear of the other labels.
void Builder::Threshold_Labels(const std::string& name, int16_t mag_hdg, Pt at, Pt out) {
  Diagram_Label designator = Label(name, at, 11.0, H_Align::center, V_Align::middle, 0.0, true);
  const Text_Size d = measure_.Text_Extent(designator.text, designator.style);
  if (!Place(pic_.labels, std::move(designator))) return;
  char text[16];
  std::snprintf(text, sizeof text, "%03d\xB0", static_cast<int>(Norm_Heading(mag_hdg)));
  Diagram_Label heading = Label(text, at, 8.0);
  const Text_Size h = measure_.Text_Extent(heading.text, heading.style);
  const double reach = std::abs(out.x) * (d.w + h.w) / 2.0 + std::abs(out.y) * (d.h + h.h) / 2.0;
  heading.at = Add(at, Mul(out, reach + 1.0 * o_.text_scale));
  Place(pic_.labels, std::move(heading));
}

void Builder::Runways() {
  for (size_t i = 0; i < Used_Length(a_.runways, a_.runway_count); ++i) {
    const Runway_Rec& w = a_.runways[i];
    const auto s = Runway_Geometry(f_, w);
    if (!s) continue;
    pic_.runways.polygons.push_back(
        {Ink::runway, Ink::runway, {s->corner[0], s->corner[1], s->corner[2], s->corner[3]}});
    const double len_px = Length(Sub(s->full2, s->full1));
    const double half = Length(Sub(s->corner[0], s->corner[3])) / 2.0;
    if (half >= 3.0 && len_px > 40.0) {
      pic_.runways.lines.push_back(
          {Ink::centre_line, std::max(1.0, half / 8.0), true, s->end1, s->end2});
    }
    const double size = 11.0;
    const double off = Size(size) * 0.9 + 2.0;
    Threshold_Labels(w.end1_name, w.end1_mag_hdg, Sub(s->full1, Mul(s->along, off)),
                     Mul(s->along, -1.0));
    Threshold_Labels(w.end2_name, w.end2_mag_hdg, Add(s->full2, Mul(s->along, off)), s->along);
    // Length and width along the runway, beside its surface.
    const std::string dims = std::to_string(w.length_ft) + " x " + std::to_string(w.width_ft);
    Diagram_Label l =
        Label(dims, {}, 9.0, H_Align::center, V_Align::middle, Upright_Angle(s->along));
    const double text_w = measure_.Text_Extent(l.text, l.style).w;
    if (text_w + 10.0 > len_px) continue;
    const Pt n{-s->along.y, s->along.x};
    l.at = Add(Mid(s->full1, s->full2), Mul(n, half + l.style.size_px * 0.8));
    if (!Place(pic_.labels, l)) {
      l.at = Sub(Mid(s->full1, s->full2), Mul(n, half + l.style.size_px * 0.8));
      Place(pic_.labels, l);
    }
  }
}

void Builder::Taxiway_Bands() {
  const double w = Taxiway_Band_Px(f_);
  std::vector<bool> joint(a_.taxi_points.size(), false);
  const size_t n_points = Used_Length(a_.taxi_points, a_.taxi_point_count);
  const size_t n_parkings = Used_Length(a_.parkings, a_.parking_count);
  for (size_t i = 0; i < Used_Length(a_.taxi_paths, a_.taxi_path_count); ++i) {
    const Taxi_Path& s = a_.taxi_paths[i];
    if (s.kind != PATH_TAXIWAY && s.kind != PATH_PARKING) continue;
    if (s.start_pt < 0 || static_cast<size_t>(s.start_pt) >= n_points || s.end_pt < 0) continue;
    const Taxi_Point& p = a_.taxi_points[static_cast<size_t>(s.start_pt)];
    Pt b;
    const auto end = static_cast<size_t>(s.end_pt);
    if (s.kind == PATH_TAXIWAY) {
      if (end >= n_points) continue;
      b = At(a_.taxi_points[end].lat, a_.taxi_points[end].lon);
    } else {
      if (end >= n_parkings) continue;
      b = At(a_.parkings[end].lat, a_.parkings[end].lon);
    }
    const Pt a = At(p.lat, p.lon);
    // Segments wholly off the surface are not drawn.
    if (std::max(a.x, b.x) < -w || std::max(a.y, b.y) < -w || std::min(a.x, b.x) > f_.width + w ||
        std::min(a.y, b.y) > f_.height + w) {
      continue;
    }
    std::vector<Pt> band = Band(a, b, w / 2.0);
    if (!band.empty()) pic_.taxiways.polygons.push_back({Ink::taxiway, Ink::taxiway, band});
    for (const size_t k :
         {static_cast<size_t>(s.start_pt), s.kind == PATH_TAXIWAY ? end : n_points}) {
      if (k >= n_points || joint[k]) continue;
      joint[k] = true;
      pic_.taxiways.discs.push_back(
          {Ink::taxiway, Ink::taxiway, At(a_.taxi_points[k].lat, a_.taxi_points[k].lon), w / 2.0});
    }
  }
}

void Builder::Parkings() {
  for (size_t i = 0; i < Used_Length(a_.parkings, a_.parking_count); ++i) {
    const Parking_Rec& p = a_.parkings[i];
    const Pt c = At(p.lat, p.lon);
    const double r = std::max(1.5, p.radius_ft * f_.Px_Per_Foot());
    if (!Near_Surface(c, r)) continue;
    const bool gate = Is_Gate(p.label);
    pic_.parkings.discs.push_back({gate ? Ink::gate : Ink::parking, Ink::parking_edge, c, r});
    Diagram_Label l = Label(Short_Parking_Label(p.label), c, 8.0);
    if (l.text.empty()) continue;
    const Text_Size size = measure_.Text_Extent(l.text, l.style);
    if (size.w <= 2.0 * r + 2.0 && size.h <= 2.0 * r + 2.0) {
      Place(pic_.labels, std::move(l));
    } else {
      beside_.push_back({std::move(l), r});
    }
  }
}

// A parking label too large for its circle goes beside it, right, left, above or below,
// wherever it keeps clear; after the taxiway names, which matter more to a pilot taxiing.
void Builder::Parking_Labels_Beside() {
  const double gap = 1.5 * o_.text_scale;
  for (Beside& b : beside_) {
    const Pt c = b.label.at;
    const double d = b.r + gap;
    const struct {
      Pt at;
      H_Align h;
      V_Align v;
    } places[] = {{{c.x + d, c.y}, H_Align::left, V_Align::middle},
                  {{c.x - d, c.y}, H_Align::right, V_Align::middle},
                  {{c.x, c.y - d}, H_Align::center, V_Align::bottom},
                  {{c.x, c.y + d}, H_Align::center, V_Align::top}};
    for (const auto& place : places) {
      Diagram_Label l = b.label;
      l.at = place.at;
      l.style.h_align = place.h;
      l.style.v_align = place.v;
      if (Place(pic_.labels, std::move(l))) break;
    }
  }
  beside_.clear();
}

void Builder::Ils() {
  for (size_t n = 0; n < Used_Length(a_.ils, a_.ils_count); ++n) {
    const Ils_Rec& i = a_.ils[n];
    const Ils_Feather f = Feather_Of(st_, f_, i, o_.text_scale);
    if (!Near_Surface(f.tip, f.len)) continue;
    const Pt t = f.tip;
    const Pt out = f.out;
    const Pt far = f.outer;
    pic_.ils.polygons.push_back({Ink::ils, Ink::ils, {t, far, Add(far, f.side)}});
    pic_.ils.polygons.push_back({Ink::background, Ink::ils, {t, far, Sub(far, f.side)}});
    char course_text[16];
    std::snprintf(course_text, sizeof course_text, "%03d\xB0", static_cast<int>(i.mag_hdg));
    Diagram_Label l = Label(i.ident + " " + i.freq + " " + course_text, {}, 9.0);
    const Text_Size size = measure_.Text_Extent(l.text, l.style);
    l.at =
        Add(far, Mul(out, std::abs(out.x) * size.w / 2.0 + std::abs(out.y) * size.h / 2.0 + 3.0));
    Place(pic_.labels, std::move(l));
  }
}

// One label for each run of connected segments of one name, another every 400 pixels of a long
// run, at the middle of its longest segments; a name that finds no free place is left out.
void Builder::Taxiway_Names() {
  std::map<std::string, std::vector<size_t>> by_name;
  const size_t n_points = Used_Length(a_.taxi_points, a_.taxi_point_count);
  for (size_t i = 0; i < Used_Length(a_.taxi_paths, a_.taxi_path_count); ++i) {
    const Taxi_Path& s = a_.taxi_paths[i];
    if (s.kind != PATH_TAXIWAY || s.label.empty() || s.label == " ") continue;
    if (s.start_pt < 0 || s.end_pt < 0 || static_cast<size_t>(s.start_pt) >= n_points ||
        static_cast<size_t>(s.end_pt) >= n_points) {
      continue;
    }
    by_name[s.label].push_back(i);
  }
  for (const auto& [name, segments] : by_name) {
    // The runs: segments joined through shared points.
    std::unordered_map<int32_t, int32_t> parent;
    const auto find = [&](int32_t x) {
      while (parent[x] != x) x = parent[x] = parent[parent[x]];
      return x;
    };
    for (const size_t i : segments) {
      for (const int32_t p : {a_.taxi_paths[i].start_pt, a_.taxi_paths[i].end_pt}) {
        parent.try_emplace(p, p);
      }
      parent[find(a_.taxi_paths[i].start_pt)] = find(a_.taxi_paths[i].end_pt);
    }
    std::map<int32_t, std::vector<size_t>> runs;
    for (const size_t i : segments) runs[find(a_.taxi_paths[i].start_pt)].push_back(i);
    for (auto& [root, run] : runs) {
      struct Piece {
        Pt mid;
        double len;
      };
      std::vector<Piece> pieces;
      double total = 0.0;
      for (const size_t i : run) {
        const Taxi_Point& p = a_.taxi_points[static_cast<size_t>(a_.taxi_paths[i].start_pt)];
        const Taxi_Point& q = a_.taxi_points[static_cast<size_t>(a_.taxi_paths[i].end_pt)];
        const Pt a = At(p.lat, p.lon);
        const Pt b = At(q.lat, q.lon);
        const double len = Length(Sub(b, a));
        total += len;
        if (Near_Surface(Mid(a, b), 0.0)) pieces.push_back({Mid(a, b), len});
      }
      std::stable_sort(pieces.begin(), pieces.end(),
                       [](const Piece& x, const Piece& y) { return x.len > y.len; });
      const double spacing = 400.0 * o_.text_scale;
      const size_t want = 1 + static_cast<size_t>(std::min(3.0, total / spacing));
      std::vector<Pt> placed;
      size_t tries = 0;
      for (const Piece& piece : pieces) {
        if (placed.size() >= want || ++tries > 24) break;
        const bool apart = std::all_of(placed.begin(), placed.end(), [&](Pt q) {
          return Length(Sub(q, piece.mid)) >= spacing * 0.75;
        });
        if (!apart) continue;
        Diagram_Label l = Label(name, piece.mid, 10.0, H_Align::center, V_Align::middle, 0.0, true);
        l.plate = Ink::taxiway_sign;
        if (Place(pic_.labels, std::move(l))) placed.push_back(piece.mid);
      }
    }
  }
}

void Builder::Panel(double x0, double y0, double x1, double y1) {
  pic_.furniture.polygons.push_back(
      {Ink::box_fill, Ink::box_edge, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}});
}

// The title block in the top-right corner of the inset, the frequency box under it.
void Builder::Title_And_Frequencies() {
  const double pad = 4.0 * o_.text_scale;
  std::vector<Diagram_Label> title;
  title.push_back(Label(a_.ident, {}, 13.0, H_Align::left, V_Align::top, 0.0, true));
  if (!a_.name.empty()) title.push_back(Label(a_.name, {}, 9.0, H_Align::left, V_Align::top));
  title.push_back(Label("ELEV " + std::to_string(Field_Elevation_Ft(a_)) + " FT", {}, 9.0,
                        H_Align::left, V_Align::top));
  title.push_back(
      Label(Degrees_Minutes_Text(a_.lat, a_.lon), {}, 9.0, H_Align::left, V_Align::top));
  std::vector<Diagram_Label> freqs;
  for (const Frequency_Line& line : Frequency_Box_Lines(a_)) {
    freqs.push_back(
        Label(std::string(line.kind) + " " + line.freq, {}, 9.0, H_Align::left, V_Align::top));
  }
  const auto stack = [&](std::vector<Diagram_Label>& lines, double top) {
    double w = 0.0;
    double h = 0.0;
    for (const Diagram_Label& l : lines) {
      const Text_Size s = measure_.Text_Extent(l.text, l.style);
      w = std::max(w, s.w);
      h += s.h + 1.0;
    }
    const double x1 = o_.inset.x1;
    const double x0 = x1 - w - 2.0 * pad;
    Panel(x0, top, x1, top + h + 2.0 * pad);
    pic_.label_boxes.push_back({x0, top, x1, top + h + 2.0 * pad});
    grid_.Add(pic_.label_boxes.back());
    double y = top + pad;
    for (Diagram_Label& l : lines) {
      l.at = {x0 + pad, y};
      y += measure_.Text_Extent(l.text, l.style).h + 1.0;
      pic_.furniture.labels.push_back(std::move(l));
    }
    return top + h + 2.0 * pad;
  };
  const double bottom = stack(title, o_.inset.y0);
  if (!freqs.empty()) stack(freqs, bottom + pad);
}

// A true-north arrow in the top-left corner of the inset, with magnetic north beside it and
// the variation at the airport under it.
void Builder::North_Arrow() {
  const double s = o_.text_scale;
  const Pt base{o_.inset.x0 + 12.0 * s, o_.inset.y0 + 34.0 * s};
  const double len = 24.0 * s;
  const Pt tip{base.x, base.y - len};
  pic_.furniture.polygons.push_back(
      {Ink::text, Ink::text, {tip, {base.x + 5.0 * s, base.y}, {base.x, base.y - 6.0 * s}}});
  pic_.furniture.polygons.push_back(
      {Ink::background, Ink::text, {tip, {base.x, base.y - 6.0 * s}, {base.x - 5.0 * s, base.y}}});
  pic_.furniture.labels.push_back(
      Label("N", {tip.x, tip.y - 1.0 * s}, 10.0, H_Align::center, V_Align::bottom, 0.0, true));
  const int32_t var = Mag_Var_Degrees(st_.mag_var_table, a_.lat, a_.lon);
  const Pt mag = Add(base, Mul(Course_Dir(var), len * 0.8));
  pic_.furniture.lines.push_back({Ink::text, 1.0 * s, true, base, mag});
  const std::string var_text =
      "VAR " + std::to_string(std::abs(var)) + "\xB0" + (var > 0 ? "E" : (var < 0 ? "W" : ""));
  pic_.furniture.labels.push_back(
      Label(var_text, {o_.inset.x0, base.y + 3.0 * s}, 8.0, H_Align::left, V_Align::top));
  const Box b{o_.inset.x0, tip.y - 12.0 * s, o_.inset.x0 + 50.0 * s, base.y + 14.0 * s};
  grid_.Add(b);
  pic_.label_boxes.push_back(b);
}

// The round length nearest below a quarter of the inset's width, in a unit of `per_px` units.
double Round_Length(double units_wanted) {
  double best = 1.0;
  for (double decade = 1.0; decade <= 1e6; decade *= 10.0) {
    for (const double m : {1.0, 2.0, 5.0}) {
      if (m * decade <= units_wanted) best = m * decade;
    }
  }
  return best;
}

// Feet over metres, bottom-left of the inset.
void Builder::Scale_Bar() {
  const double s = o_.text_scale;
  const double px_ft = f_.Px_Per_Foot();
  const double want_px = (o_.inset.x1 - o_.inset.x0) / 4.0;
  const double ft = Round_Length(want_px / px_ft);
  const double m = Round_Length(want_px / (px_ft * FEET_PER_METRE));
  const double x0 = o_.inset.x0;
  const double y_m = o_.inset.y1 - (o_.scale_text.empty() ? 4.0 : 16.0) * s;
  const double y_ft = y_m - 14.0 * s;
  const double bar = 3.0 * s;
  const auto bar_at = [&](double y, double px, std::string text) {
    pic_.furniture.polygons.push_back(
        {Ink::text, Ink::text, {{x0, y - bar}, {x0 + px, y - bar}, {x0 + px, y}, {x0, y}}});
    pic_.furniture.labels.push_back(Label(std::move(text), {x0 + px + 3.0 * s, y - bar / 2.0}, 8.0,
                                          H_Align::left, V_Align::middle));
  };
  bar_at(y_ft, ft * px_ft, Whole(ft) + " FT");
  bar_at(y_m, m * px_ft * FEET_PER_METRE, Whole(m) + " M");
  if (!o_.scale_text.empty()) {
    pic_.furniture.labels.push_back(
        Label(o_.scale_text, {x0, y_m + 3.0 * s}, 8.0, H_Align::left, V_Align::top));
  }
  const Box b{x0, y_ft - 14.0 * s, x0 + want_px + 60.0 * s, o_.inset.y1};
  grid_.Add(b);
  pic_.label_boxes.push_back(b);
}

// A small aeroplane-shaped arrow pointing along the heading.
void Builder::Aircraft() {
  const Pt c = At(st_.acft_lat, st_.acft_lon);
  const Pt d = Course_Dir(st_.acft_hdg);
  const Pt n{-d.y, d.x};
  const double s = 8.0 * o_.text_scale;
  pic_.aircraft.polygons.push_back({Ink::aircraft,
                                    Ink::box_edge,
                                    {Add(c, Mul(d, 1.5 * s)), Add(Sub(c, Mul(d, s)), Mul(n, s)),
                                     Sub(c, Mul(d, 0.4 * s)), Sub(Sub(c, Mul(d, s)), Mul(n, s))}});
}

Diagram_Picture Builder::Build() {
  const int16_t zoom = o_.zoom_level;
  Title_And_Frequencies();
  North_Arrow();
  Scale_Bar();
  const bool ground = zoom >= ZOOM_GROUND_MIN;
  if (zoom <= ZOOM_AIRSPACE_MAX && st_.show_airspace) Airspaces();
  if (ground && st_.show_twys) Taxiway_Bands();
  if (zoom >= ZOOM_RUNWAYS_MIN) Runways();
  if (zoom >= ZOOM_RUNWAYS_MIN && st_.show_ils) Ils();
  if (ground && st_.show_gates) Parkings();
  if (ground && st_.show_twys && st_.show_twy_ids) Taxiway_Names();
  Parking_Labels_Beside();
  if (o_.aircraft) Aircraft();
  return std::move(pic_);
}

}  // namespace

std::optional<Runway_Surface> Runway_Geometry(const Diagram_Frame& frame, const Runway_Rec& w) {
  Runway_Surface s;
  s.end1 = Diagram_Project(frame, w.end1_lat, w.end1_lon);
  s.end2 = Diagram_Project(frame, w.end2_lat, w.end2_lon);
  const Pt d = Sub(s.end2, s.end1);
  const double len = Length(d);
  if (!(len > 0.0)) return std::nullopt;
  s.along = Mul(d, 1.0 / len);
  const double px_ft = frame.Px_Per_Foot();
  const bool inset = w.length_ft / FEET_PER_METRE > RUNWAY_INSET_MIN_LENGTH_M;
  const double ext = inset ? RUNWAY_INSET_M * FEET_PER_METRE * px_ft : 0.0;
  s.full1 = Sub(s.end1, Mul(s.along, ext));
  s.full2 = Add(s.end2, Mul(s.along, ext));
  const double half = std::max(0.5, w.width_ft * px_ft / 2.0);
  const Pt n{-s.along.y * half, s.along.x * half};
  s.corner[0] = Add(s.full1, n);
  s.corner[1] = Add(s.full2, n);
  s.corner[2] = Sub(s.full2, n);
  s.corner[3] = Sub(s.full1, n);
  return s;
}

Ils_Feather Feather_Of(const Program_State& st, const Diagram_Frame& frame, const Ils_Rec& i,
                       double text_scale) {
  Ils_Feather f;
  f.tip = Diagram_Project(frame, i.lat, i.lon);
  f.out = Mul(Course_Dir(Mag_To_True(st.mag_var_table, i.mag_hdg, i.lat, i.lon)), -1.0);
  f.len = std::clamp(2.0 * 6080.0 * frame.Px_Per_Foot(), 40.0 * text_scale, 110.0 * text_scale);
  f.outer = Add(f.tip, Mul(f.out, f.len));
  f.side = {-f.out.y * f.len * 0.05, f.out.x * f.len * 0.05};
  return f;
}

double Taxiway_Band_Px(const Diagram_Frame& frame) {
  return std::max(TAXIWAY_MIN_PX, TAXIWAY_WIDTH_FT * frame.Px_Per_Foot());
}

std::vector<Frequency_Line> Frequency_Box_Lines(const Airport_Entry& a) {
  const Frequency_Line all[] = {{"ATIS", a.freq1}, {"CLNC", a.freq7}, {"GND", a.freq5},
                                {"TWR", a.freq6},  {"DEP", a.freq9},  {"APP", a.freq8},
                                {"CTR", a.freq10}};
  std::vector<Frequency_Line> lines;
  for (const Frequency_Line& l : all) {
    if (!l.freq.empty()) lines.push_back(l);
  }
  return lines;
}

bool Is_Gate(std::string_view label) {
  return label.substr(0, 4) == "GATE";
}

std::string Short_Parking_Label(std::string_view label) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < label.size()) {
    while (i < label.size() && label[i] == ' ') ++i;
    const size_t start = i;
    while (i < label.size() && label[i] != ' ') ++i;
    if (i > start) words.push_back(label.substr(start, i - start));
  }
  if (words.empty()) return {};
  std::string out;
  for (size_t w = 0; w + 1 < words.size(); ++w) {
    if (words[w] == "GATE" || words[w] == "PARKING" || words[w].size() > 2) continue;
    out += words[w];
  }
  return out + std::string(words.back());
}

int32_t Field_Elevation_Ft(const Airport_Entry& airport) {
  const size_t n = Used_Length(airport.runways, airport.runway_count);
  if (n == 0) return 0;
  int32_t top = airport.runways[0].elev_ft;
  for (size_t i = 1; i < n; ++i) top = std::max(top, airport.runways[i].elev_ft);
  return top;
}

std::string Degrees_Minutes_Text(double lat, double lon) {
  const auto part = [](double v, char pos, char neg, int width) {
    const double a = std::abs(v);
    double deg = std::floor(a);
    double min = std::round((a - deg) * 600.0) / 10.0;
    if (min >= 60.0) {
      min -= 60.0;
      deg += 1.0;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%c%0*d\xB0%04.1f'", v < 0 ? neg : pos, width,
                  static_cast<int>(deg), min);
    return std::string(text);
  };
  return part(lat, 'N', 'S', 2) + " " + part(lon, 'E', 'W', 3);
}

Diagram_Picture Build_Diagram(const Program_State& state, const Diagram_Frame& frame,
                              const Diagram_Options& options, const Canvas& measure) {
  return Builder(state, frame, options, measure).Build();
}

}  // namespace orv
