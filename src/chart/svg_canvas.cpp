#include "chart/svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/text_1252.h"

namespace orv {

namespace {

// The labels use the window's small user-interface font; its ascent puts the baseline this
// far below the top of the text.
constexpr int FONT_SIZE_PX = 11;
constexpr int FONT_ASCENT_PX = 9;

// A number with at most three decimals and no trailing zeros.
std::string Num(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", v);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

// Text for an XML element body: markup characters escaped, and control characters, which XML
// cannot hold at all, shown as U+FFFD.
std::string Xml_Text(std::string_view utf8) {
  std::string out;
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (u < 0x20 && c != '\t') {
      out += "\xEF\xBF\xBD";
    } else {
      out += c;
    }
  }
  return out;
}

struct Ellipse_Geometry {
  double cx = 0.0;
  double cy = 0.0;
  double rx = 0.0;
  double ry = 0.0;
};

Ellipse_Geometry Inscribed(Px c1, Px c2) {
  Ellipse_Geometry e;
  e.cx = (static_cast<double>(c1.x) + c2.x) / 2.0;
  e.cy = (static_cast<double>(c1.y) + c2.y) / 2.0;
  e.rx = std::fabs(static_cast<double>(c2.x) - c1.x) / 2.0;
  e.ry = std::fabs(static_cast<double>(c2.y) - c1.y) / 2.0;
  return e;
}

// The angle, counter-clockwise on the screen from the positive x axis, of the point where the
// ray from the centre through p meets the ellipse, in the ellipse's own parameter.
double Ray_Angle(const Ellipse_Geometry& e, Px p) {
  const double dx = (p.x - e.cx) / e.rx;
  const double dy = (e.cy - p.y) / e.ry;
  if (dx == 0.0 && dy == 0.0) return 0.0;
  return std::atan2(dy, dx);
}

}  // namespace

Svg_Canvas::Svg_Canvas(int32_t width_px, int32_t height_px)
    : width_px_(std::max(width_px, 1)), height_px_(std::max(height_px, 1)) {}

std::string Svg_Canvas::Document() const {
  const std::string w = std::to_string(width_px_);
  const std::string h = std::to_string(height_px_);
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  doc += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
  doc += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
  for (const std::string& shape : shapes_) doc += shape + "\n";
  doc += "</svg>\n";
  return doc;
}

std::string Svg_Canvas::Stroke() const {
  const Pen_State& pen = Pen();
  // A width below 1 still draws one pixel wide, as the window does.
  std::string s = " stroke=\"" + Color_Text(pen.color) + "\" stroke-width=\"" +
                  std::to_string(std::max(pen.width, 1)) + "\"";
  if (pen.style == Line_Style::dash) {
    s += " stroke-dasharray=\"18 6\"";
  } else {
    s += " stroke-linecap=\"round\" stroke-linejoin=\"round\"";
  }
  return s;
}

void Svg_Canvas::Do_Clear() {
  shapes_.clear();
}

void Svg_Canvas::Do_Line(Px from, Px to) {
  shapes_.push_back("<line x1=\"" + std::to_string(from.x) + "\" y1=\"" + std::to_string(from.y) +
                    "\" x2=\"" + std::to_string(to.x) + "\" y2=\"" + std::to_string(to.y) + "\"" +
                    Stroke() + "/>");
}

void Svg_Canvas::Do_Ellipse(Px c1, Px c2) {
  const Ellipse_Geometry e = Inscribed(c1, c2);
  const std::string fill =
      Pen().fill_style == Fill_Style::solid ? Color_Text(Pen().fill) : std::string("none");
  shapes_.push_back("<ellipse cx=\"" + Num(e.cx) + "\" cy=\"" + Num(e.cy) + "\" rx=\"" + Num(e.rx) +
                    "\" ry=\"" + Num(e.ry) + "\" fill=\"" + fill + "\"" + Stroke() + "/>");
}

void Svg_Canvas::Do_Arc(Px c1, Px c2, Px start, Px end) {
  const Ellipse_Geometry e = Inscribed(c1, c2);
  if (e.rx == 0.0 || e.ry == 0.0) return;  // a flat box has no curve to draw
  const double a_start = Ray_Angle(e, start);
  const double a_end = Ray_Angle(e, end);
  // The counter-clockwise turn from start to end, in (0, 2 pi]: the same ray twice is the
  // whole ellipse.
  const double full = 2.0 * std::acos(-1.0);
  double turn = std::fmod(a_end - a_start, full);
  if (turn <= 0.0) turn += full;
  if (turn >= full) {
    shapes_.push_back("<ellipse cx=\"" + Num(e.cx) + "\" cy=\"" + Num(e.cy) + "\" rx=\"" +
                      Num(e.rx) + "\" ry=\"" + Num(e.ry) + "\" fill=\"none\"" + Stroke() + "/>");
    return;
  }
  const double xs = e.cx + e.rx * std::cos(a_start);
  const double ys = e.cy - e.ry * std::sin(a_start);
  const double xe = e.cx + e.rx * std::cos(a_end);
  const double ye = e.cy - e.ry * std::sin(a_end);
  // Counter-clockwise on a screen whose y axis points down is SVG's negative sweep.
  const char* large = turn > full / 2.0 ? "1" : "0";
  shapes_.push_back("<path d=\"M " + Num(xs) + " " + Num(ys) + " A " + Num(e.rx) + " " + Num(e.ry) +
                    " 0 " + large + " 0 " + Num(xe) + " " + Num(ye) + "\" fill=\"none\"" +
                    Stroke() + "/>");
}

void Svg_Canvas::Do_Text(Px at, std::string_view text) {
  shapes_.push_back("<text x=\"" + std::to_string(at.x) + "\" y=\"" +
                    std::to_string(int64_t{at.y} + FONT_ASCENT_PX) +
                    "\" font-family=\"sans-serif\" font-size=\"" + std::to_string(FONT_SIZE_PX) +
                    "\" fill=\"" + Color_Text(Pen().color) + "\" xml:space=\"preserve\">" +
                    Xml_Text(Utf8_From_1252(text)) + "</text>");
}

void Svg_Canvas::Do_Polygon(std::span<const Px> points) {
  std::string list;
  for (const Px& p : points) {
    if (!list.empty()) list += ' ';
    list += std::to_string(p.x) + "," + std::to_string(p.y);
  }
  const std::string fill =
      Pen().fill_style == Fill_Style::solid ? Color_Text(Pen().fill) : std::string("none");
  std::string stroke = " stroke=\"" + Color_Text(Pen().color) + "\" stroke-width=\"" +
                       std::to_string(std::max(Pen().width, 1)) + "\" stroke-linejoin=\"round\"";
  shapes_.push_back("<polygon points=\"" + list + "\" fill=\"" + fill + "\"" + stroke +
                    (Antialiasing() ? "" : " shape-rendering=\"crispEdges\"") + "/>");
}

// The text is written at its box's top-left corner, turned about it, with its baseline the
// ascent below the top.
void Svg_Canvas::Do_Styled_Text(Px, std::string_view text, const Text_Style& style,
                                const Text_Box& box) {
  const Px at = box.corner[0];
  const double ascent = style.size_px * 0.8;
  shapes_.push_back("<text x=\"0\" y=\"" + Num(ascent) + "\" transform=\"translate(" +
                    std::to_string(at.x) + " " + std::to_string(at.y) + ") rotate(" +
                    Num(-style.angle_deg) + ")\" font-family=\"sans-serif\" font-size=\"" +
                    std::to_string(style.size_px) + "\"" +
                    (style.bold ? " font-weight=\"bold\"" : "") + " fill=\"" +
                    Color_Text(Pen().color) + "\" xml:space=\"preserve\">" +
                    Xml_Text(Utf8_From_1252(text)) + "</text>");
}

}  // namespace orv
