// A canvas that keeps every drawing call, with the pen state in force at that call, in the order
// made. The tests assert on it and the command-line tool writes it out as its list of drawing
// commands.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/canvas.h"

namespace orv {

enum class Draw_Op : uint8_t { clear, line, ellipse, arc, text, polygon };

// One call. Which fields mean something depends on op:
//   line:    a = from (the pen position), b = to
//   ellipse: a, b = the bounding corners as passed
//   arc:     a, b = the bounding corners, start and end = the points fixing the rays
//   text:    a = top-left corner (the anchor of a sized text), text = the bytes as passed;
//            a sized text also has its style and box
//   polygon: points
// clear uses none of them. pen is the state in force at the call, antialias whether smooth
// edges were asked for.
struct Draw_Call {
  Draw_Op op = Draw_Op::clear;
  Px a;
  Px b;
  Px start;
  Px end;
  std::string text;
  Pen_State pen;
  std::vector<Px> points;
  std::optional<Text_Style> style;
  Text_Box box{};
  bool antialias = false;

  bool operator==(const Draw_Call&) const = default;
};

class Recording_Canvas final : public Canvas {
 public:
  const std::vector<Draw_Call>& Calls() const { return calls_; }
  void Forget() { calls_.clear(); }

 protected:
  void Do_Clear() override;
  void Do_Line(Px from, Px to) override;
  void Do_Ellipse(Px c1, Px c2) override;
  void Do_Arc(Px c1, Px c2, Px start, Px end) override;
  void Do_Text(Px at, std::string_view text) override;
  void Do_Polygon(std::span<const Px> points) override;
  void Do_Styled_Text(Px at, std::string_view text, const Text_Style& style,
                      const Text_Box& box) override;

 private:
  Draw_Call& Record(Draw_Op op);

  std::vector<Draw_Call> calls_;
};

}  // namespace orv
