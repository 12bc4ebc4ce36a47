// A canvas that keeps every drawing call, with the pen state in force at that call, in the order
// made. The tests assert on it and the command-line tool writes it out as its list of drawing
// commands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/canvas.h"

namespace orv {

enum class Draw_Op : uint8_t { clear, line, ellipse, arc, text };

// One call. Which fields mean something depends on op:
//   line:    a = from (the pen position), b = to
//   ellipse: a, b = the bounding corners as passed
//   arc:     a, b = the bounding corners, start and end = the points fixing the rays
//   text:    a = top-left corner, text = the bytes as passed
// clear uses none of them. pen is the state in force at the call.
struct Draw_Call {
  Draw_Op op = Draw_Op::clear;
  Px a;
  Px b;
  Px start;
  Px end;
  std::string text;
  Pen_State pen;

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

 private:
  Draw_Call& Record(Draw_Op op);

  std::vector<Draw_Call> calls_;
};

}  // namespace orv
