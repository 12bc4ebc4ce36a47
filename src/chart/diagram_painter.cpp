#include "chart/diagram_painter.h"

#include <cmath>

namespace orv {

namespace {

struct Palette_Row {
  Rgb day;
  Rgb night;
};

// In the order of Ink.
constexpr Palette_Row kPalette[] = {
    {{255, 255, 255}, {12, 16, 22}},   // background
    {{64, 64, 68}, {150, 156, 166}},   // runway
    {{255, 255, 255}, {12, 16, 22}},   // centre line
    {{196, 198, 202}, {52, 58, 66}},   // taxiway
    {{150, 104, 64}, {120, 84, 48}},   // gate
    {{255, 255, 255}, {30, 36, 44}},   // parking
    {{96, 96, 100}, {120, 128, 138}},  // parking edge
    {{160, 0, 160}, {200, 110, 200}},  // ils
    {{0, 0, 0}, {220, 224, 230}},      // text
    {{255, 255, 255}, {22, 27, 34}},   // box fill
    {{0, 0, 0}, {140, 148, 158}},      // box edge
    {{255, 214, 0}, {170, 140, 0}},    // taxiway sign
    {{0, 0, 192}, {110, 140, 255}},    // airspace B
    {{192, 0, 192}, {230, 110, 230}},  // airspace C
    {{220, 0, 0}, {80, 255, 80}},      // aircraft
};

void Set_Shape(Canvas& canvas, Ink fill, Ink edge, bool night) {
  canvas.Set_Fill_Color(Ink_Color(fill, night));
  canvas.Set_Fill_Style(Fill_Style::solid);
  canvas.Set_Fore_Color(Ink_Color(edge, night));
  canvas.Set_Line_Width(1);
  canvas.Set_Line_Style(Line_Style::solid);
}

void Paint_Layer(Canvas& canvas, const Diagram_Layer& layer, bool night) {
  std::vector<Px> points;
  for (const Diagram_Polygon& p : layer.polygons) {
    Set_Shape(canvas, p.fill, p.edge, night);
    points.clear();
    for (const Pt& q : p.points) points.push_back(To_Px(q));
    canvas.Polygon(points);
  }
  for (const Diagram_Disc& d : layer.discs) {
    Set_Shape(canvas, d.fill, d.edge, night);
    if (!d.filled) {
      canvas.Set_Fill_Style(Fill_Style::transparent);
      canvas.Set_Line_Width(static_cast<int32_t>(std::lround(d.edge_width)));
    }
    const int32_t r = std::max(1, static_cast<int32_t>(std::lround(d.r)));
    const Px c = To_Px(d.centre);
    canvas.Ellipse({c.x - r, c.y - r}, {c.x + r, c.y + r});
  }
  for (const Diagram_Line& l : layer.lines) {
    canvas.Set_Fore_Color(Ink_Color(l.ink, night));
    canvas.Set_Fill_Style(Fill_Style::transparent);
    canvas.Set_Line_Width(std::max(1, static_cast<int32_t>(std::lround(l.width))));
    canvas.Set_Line_Style(l.dashed ? Line_Style::dash : Line_Style::solid);
    canvas.Move_To(To_Px(l.a));
    canvas.Line_To(To_Px(l.b));
  }
  canvas.Set_Line_Style(Line_Style::solid);
  canvas.Set_Line_Width(1);
  for (const Diagram_Label& l : layer.labels) {
    const Px at = To_Px(l.at);
    if (l.plate) {
      const Text_Box box = Box_Of_Text(at, canvas.Text_Extent(l.text, l.style), l.style);
      const Px pad{2, 1};
      const Px plate[4] = {{box.corner[0].x - pad.x, box.corner[0].y - pad.y},
                           {box.corner[1].x + pad.x, box.corner[1].y - pad.y},
                           {box.corner[2].x + pad.x, box.corner[2].y + pad.y},
                           {box.corner[3].x - pad.x, box.corner[3].y + pad.y}};
      Set_Shape(canvas, *l.plate, Ink::text, night);
      canvas.Polygon(plate);
    }
    canvas.Set_Fore_Color(Ink_Color(l.plate ? Ink::box_edge : l.ink, l.plate ? false : night));
    canvas.Text(at, l.text, l.style);
  }
}

}  // namespace

Rgb Ink_Color(Ink ink, bool night) {
  const Palette_Row& row = kPalette[static_cast<size_t>(ink)];
  return night ? row.night : row.day;
}

void Paint_Diagram(Canvas& canvas, const Diagram_Picture& picture, bool night) {
  canvas.Clear();
  canvas.Set_Antialiasing(true);
  const Px page[4] = {
      {0, 0}, {picture.width, 0}, {picture.width, picture.height}, {0, picture.height}};
  Set_Shape(canvas, Ink::background, Ink::background, night);
  canvas.Polygon(page);
  for (const Diagram_Layer* layer :
       {&picture.airspace, &picture.taxiways, &picture.runways, &picture.parkings, &picture.ils,
        &picture.labels, &picture.furniture, &picture.aircraft}) {
    Paint_Layer(canvas, *layer, night);
  }
  canvas.Set_Antialiasing(false);
  canvas.Set_Fore_Color(RGB_CHART_GREEN);
  canvas.Set_Fill_Color(RGB_BLACK);
  canvas.Set_Fill_Style(Fill_Style::transparent);
}

void Draw_Diagram(Canvas& canvas, const Program_State& state, const Chart_View& view, int32_t width,
                  int32_t height, bool night, bool aircraft, double scale,
                  std::span<const Box> keep_clear) {
  const Diagram_Frame frame = Frame_Of_View(view, width, height);
  Diagram_Options options;
  options.inset = {8.0 * scale, 30.0 * scale, width - 8.0 * scale, height - 40.0 * scale};
  options.text_scale = scale;
  options.keep_clear.assign(keep_clear.begin(), keep_clear.end());
  options.zoom_level = view.zoom_level;
  options.aircraft = aircraft;
  Paint_Diagram(canvas, Build_Diagram(state, frame, options, canvas), night);
}

}  // namespace orv
