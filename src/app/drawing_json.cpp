#include "app/drawing_json.h"

#include "app/json_out.h"

namespace orv {
namespace {

void Pen_Json(Json_Out& js, const Pen_State& pen) {
  js.Begin_Object();
  js.Member("color", Color_Text(pen.color).c_str()).Member("width", pen.width);
  js.Member("style", pen.style == Line_Style::dash ? "dash" : "solid");
  js.Member("fill", Color_Text(pen.fill).c_str());
  js.Member("fill_style", pen.fill_style == Fill_Style::solid ? "solid" : "transparent");
  js.End_Object();
}

std::string Call_Json(const Draw_Call& c) {
  Json_Out js;
  js.Begin_Object();
  switch (c.op) {
    case Draw_Op::clear:
      js.Member("op", "clear").End_Object();
      return js.text();
    case Draw_Op::line:
    case Draw_Op::ellipse:
    case Draw_Op::arc:
      js.Member("op", c.op == Draw_Op::line      ? "line"
                      : c.op == Draw_Op::ellipse ? "ellipse"
                                                 : "arc");
      js.Member("x1", c.a.x).Member("y1", c.a.y).Member("x2", c.b.x).Member("y2", c.b.y);
      if (c.op == Draw_Op::arc) {
        js.Member("xs", c.start.x).Member("ys", c.start.y);
        js.Member("xe", c.end.x).Member("ye", c.end.y);
      }
      break;
    case Draw_Op::text:
      js.Member("op", "text").Member("x", c.a.x).Member("y", c.a.y);
      js.Member_1252("text", c.text);
      break;
  }
  js.Key("pen");
  Pen_Json(js, c.pen);
  js.End_Object();
  return js.text();
}

}  // namespace

std::string Drawing_Commands_Json(const std::vector<Draw_Call>& calls) {
  std::string out = "[";
  for (size_t i = 0; i < calls.size(); ++i) {
    out += i == 0 ? "\n" : ",\n";
    out += Call_Json(calls[i]);
  }
  out += "\n]\n";
  return out;
}

}  // namespace orv
