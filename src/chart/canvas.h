// The drawing surface of the chart: a handful of primitives in window pixels and the pen, fill
// and text state they are drawn with. The layers set the state by name and then draw, the way
// the chart window's own drawing state works. The same layer code feeds the window painter, the
// SVG and PNG output and the recording canvas of the tests.
//
// The state and the pen position live in this base class; a concrete canvas only turns each
// drawing call, with the state in force, into its own output.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orv {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;

  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb RGB_BLACK{0, 0, 0};
inline constexpr Rgb RGB_WHITE{255, 255, 255};
inline constexpr Rgb RGB_CHART_GREEN{0, 192, 0};  // the chart window's own foreground colour

enum class Line_Style : uint8_t { solid, dash };
enum class Fill_Style : uint8_t { solid, transparent };

// Foreground (line and text) colour, line width and style, fill colour and style. The
// defaults are those of a freshly opened chart window.
struct Pen_State {
  Rgb color = RGB_CHART_GREEN;
  int32_t width = 1;
  Line_Style style = Line_Style::solid;
  Rgb fill = RGB_BLACK;
  Fill_Style fill_style = Fill_Style::transparent;

  bool operator==(const Pen_State&) const = default;
};

// A window pixel. Coordinates are whatever the layers computed; nothing is clipped.
struct Px {
  int32_t x = 0;
  int32_t y = 0;

  bool operator==(const Px&) const = default;
};

// A pixel from wider whole numbers, or nothing when a coordinate does not fit 32 bits: such a
// drawing call is skipped rather than drawn at a wrapped-around position.
inline std::optional<Px> Make_Px(int64_t x, int64_t y) {
  constexpr int64_t lo = std::numeric_limits<int32_t>::min();
  constexpr int64_t hi = std::numeric_limits<int32_t>::max();
  if (x < lo || x > hi || y < lo || y > hi) return std::nullopt;
  return Px{static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

// How a sized text sits on its anchor point: which edge (or the middle) of its box lies there.
enum class H_Align : uint8_t { left, center, right };
enum class V_Align : uint8_t { top, middle, bottom };

// A text of a given height in pixels, turned counter-clockwise on the screen by angle_deg about
// its anchor.
struct Text_Style {
  int32_t size_px = 11;
  double angle_deg = 0.0;
  H_Align h_align = H_Align::left;
  V_Align v_align = V_Align::top;
  bool bold = false;

  bool operator==(const Text_Style&) const = default;
};

// The width and height in pixels a text takes up.
struct Text_Size {
  double w = 0.0;
  double h = 0.0;
};

// The four corners of a text's box, clockwise on the screen from its top-left corner (before
// turning): top-left, top-right, bottom-right, bottom-left.
struct Text_Box {
  Px corner[4];

  bool operator==(const Text_Box&) const = default;
};

// The width of a text as the diagram lays it out when a canvas has no fonts of its own: the
// average advance of a sans-serif face, a little more for bold.
Text_Size Estimated_Text_Size(std::string_view text, int32_t size_px, bool bold);

// The box of a text of that size drawn at `at` in `style`.
Text_Box Box_Of_Text(Px at, Text_Size size, const Text_Style& style);

class Canvas {
 public:
  virtual ~Canvas() = default;

  void Set_Fore_Color(Rgb color) { pen_.color = color; }
  void Set_Line_Width(int32_t width) { pen_.width = width; }
  void Set_Line_Style(Line_Style style) { pen_.style = style; }
  void Set_Fill_Color(Rgb color) { pen_.fill = color; }
  void Set_Fill_Style(Fill_Style style) { pen_.fill_style = style; }
  const Pen_State& Pen() const { return pen_; }
  Px Position() const { return position_; }

  // Clears the whole surface to its background colour; the pen returns to (0, 0). The pen,
  // fill and text state stay as they are.
  void Clear() {
    position_ = Px{};
    Do_Clear();
  }

  // Moves the pen without drawing.
  void Move_To(Px to) { position_ = to; }

  // A line from the pen position to `to`; the pen moves there.
  void Line_To(Px to) {
    Do_Line(position_, to);
    position_ = to;
  }

  // The ellipse inscribed in the box with corners c1 and c2 (in any order), outlined in the
  // foreground colour and filled as the fill state says. The pen does not move.
  void Ellipse(Px c1, Px c2) { Do_Ellipse(c1, c2); }

  // Part of the outline of the ellipse inscribed in the box c1..c2: counter-clockwise on the
  // screen from the ray out of the box centre through `start` to the ray through `end`. The
  // same ray twice gives the whole ellipse. Never filled; the pen does not move.
  void Arc(Px c1, Px c2, Px start, Px end) { Do_Arc(c1, c2, start, end); }

  // Windows-1252 text with its top-left corner at `at`, in the foreground colour, on a
  // transparent background. The pen does not move.
  void Text_Out(Px at, std::string_view text) { Do_Text(at, text); }

  // A closed polygon through the points: filled as the fill state says, outlined in the
  // foreground colour at the line width. The pen does not move.
  void Polygon(std::span<const Px> points) {
    if (points.size() >= 2) Do_Polygon(points);
  }

  // Windows-1252 text of a size, angle and alignment, anchored at `at`, in the foreground
  // colour. The pen does not move.
  void Text(Px at, std::string_view text, const Text_Style& style) {
    Do_Styled_Text(at, text, style, Box_Of_Text(at, Text_Extent(text, style), style));
  }

  // The size a text of that style takes on this canvas.
  virtual Text_Size Text_Extent(std::string_view text, const Text_Style& style) const {
    return Estimated_Text_Size(text, style.size_px, style.bold);
  }

  // Smooth edges for what is drawn from now on; off on a fresh canvas.
  void Set_Antialiasing(bool on) { antialiasing_ = on; }
  bool Antialiasing() const { return antialiasing_; }

 protected:
  virtual void Do_Clear() = 0;
  virtual void Do_Line(Px from, Px to) = 0;
  virtual void Do_Ellipse(Px c1, Px c2) = 0;
  virtual void Do_Arc(Px c1, Px c2, Px start, Px end) = 0;
  virtual void Do_Text(Px at, std::string_view text) = 0;
  // A canvas without its own polygons outlines them with lines; one without sized text writes
  // it plainly at the box's top-left corner.
  virtual void Do_Polygon(std::span<const Px> points);
  virtual void Do_Styled_Text(Px at, std::string_view text, const Text_Style& style,
                              const Text_Box& box);

 private:
  Pen_State pen_;
  Px position_;
  bool antialiasing_ = false;
};

// "#rrggbb" in lower-case hexadecimal.
inline std::string Color_Text(Rgb color) {
  constexpr char digits[] = "0123456789abcdef";
  std::string text = "#";
  for (uint8_t v : {color.r, color.g, color.b}) {
    text += digits[v >> 4];
    text += digits[v & 0x0F];
  }
  return text;
}

}  // namespace orv
