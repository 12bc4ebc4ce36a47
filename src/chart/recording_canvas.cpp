#include "chart/recording_canvas.h"

namespace orv {

Draw_Call& Recording_Canvas::Record(Draw_Op op) {
  Draw_Call& call = calls_.emplace_back();
  call.op = op;
  call.pen = Pen();
  call.antialias = Antialiasing();
  return call;
}

void Recording_Canvas::Do_Clear() {
  Record(Draw_Op::clear);
}

void Recording_Canvas::Do_Line(Px from, Px to) {
  Draw_Call& call = Record(Draw_Op::line);
  call.a = from;
  call.b = to;
}

void Recording_Canvas::Do_Ellipse(Px c1, Px c2) {
  Draw_Call& call = Record(Draw_Op::ellipse);
  call.a = c1;
  call.b = c2;
}

void Recording_Canvas::Do_Arc(Px c1, Px c2, Px start, Px end) {
  Draw_Call& call = Record(Draw_Op::arc);
  call.a = c1;
  call.b = c2;
  call.start = start;
  call.end = end;
}

void Recording_Canvas::Do_Text(Px at, std::string_view text) {
  Draw_Call& call = Record(Draw_Op::text);
  call.a = at;
  call.text = text;
}

void Recording_Canvas::Do_Polygon(std::span<const Px> points) {
  Draw_Call& call = Record(Draw_Op::polygon);
  call.points.assign(points.begin(), points.end());
}

void Recording_Canvas::Do_Styled_Text(Px at, std::string_view text, const Text_Style& style,
                                      const Text_Box& box) {
  Draw_Call& call = Record(Draw_Op::text);
  call.a = at;
  call.text = text;
  call.style = style;
  call.box = box;
}

}  // namespace orv
