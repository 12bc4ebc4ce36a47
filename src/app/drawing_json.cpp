#include "app/drawing_json.h"

#include "app/json_text.h"

namespace orv {
namespace {

Json Pen_Json(const Pen_State& pen) {
  return {{"color", Color_Text(pen.color)},
          {"width", pen.width},
          {"style", pen.style == Line_Style::dash ? "dash" : "solid"},
          {"fill", Color_Text(pen.fill)},
          {"fill_style", pen.fill_style == Fill_Style::solid ? "solid" : "transparent"}};
}

Json Points_Json(std::span<const Px> points) {
  Json list = Json::array();
  for (const Px& p : points) list.push_back(Json::array({p.x, p.y}));
  return list;
}

const char* Op_Name(Draw_Op op) {
  switch (op) {
    case Draw_Op::clear:
      return "clear";
    case Draw_Op::line:
      return "line";
    case Draw_Op::ellipse:
      return "ellipse";
    case Draw_Op::arc:
      return "arc";
    case Draw_Op::text:
      return "text";
    case Draw_Op::polygon:
      return "polygon";
  }
  return "";
}

Json Call_Json(const Draw_Call& c) {
  Json call = {{"op", Op_Name(c.op)}};
  if (c.op == Draw_Op::clear) return call;
  if (c.op == Draw_Op::polygon) {
    call["points"] = Points_Json(c.points);
  } else if (c.op == Draw_Op::text) {
    call["x"] = c.a.x;
    call["y"] = c.a.y;
    call["text"] = Json_1252(c.text);
    if (c.style) {
      call["size"] = c.style->size_px;
      call["angle"] = c.style->angle_deg;
      call["box"] = Points_Json(c.box.corner);
    }
  } else {
    call["x1"] = c.a.x;
    call["y1"] = c.a.y;
    call["x2"] = c.b.x;
    call["y2"] = c.b.y;
    if (c.op == Draw_Op::arc) {
      call["xs"] = c.start.x;
      call["ys"] = c.start.y;
      call["xe"] = c.end.x;
      call["ye"] = c.end.y;
    }
  }
  call["pen"] = Pen_Json(c.pen);
  return call;
}

}  // namespace

// One call a line, so that two recordings compare line by line.
std::string Drawing_Commands_Json(const std::vector<Draw_Call>& calls) {
  std::string out = "[";
  for (size_t i = 0; i < calls.size(); ++i) {
    out += i == 0 ? "\n" : ",\n";
    out += Json_Text(Call_Json(calls[i]));
  }
  out += "\n]\n";
  return out;
}

}  // namespace orv
