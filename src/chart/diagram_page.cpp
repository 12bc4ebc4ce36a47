#include "chart/diagram_page.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_layers.h"
#include "chart/diagram_painter.h"

namespace orv {

namespace {

constexpr int32_t kRoundScales[] = {1000,  2000,  2500,   5000,   7500,   10000,  12500,
                                    15000, 20000, 25000,  30000,  40000,  50000,  75000,
                                    100000, 150000, 200000, 250000, 500000, 1000000};

// A page's texts are this much larger than the screen's, to be read on a kneeboard: a
// taxiway's sign of 10 screen pixels prints at 9.4 points.
constexpr double PAGE_TEXT_GROWTH = 1.25;

struct Extent {
  double lat0 = 1e9, lat1 = -1e9, lon0 = 1e9, lon1 = -1e9;
  void Add(double lat, double lon) {
    lat0 = std::min(lat0, lat);
    lat1 = std::max(lat1, lat);
    lon0 = std::min(lon0, lon);
    lon1 = std::max(lon1, lon);
  }
  bool Empty() const { return lat0 > lat1; }
};

Extent Extent_Of(const Airport_Entry& a) {
  Extent e;
  for (size_t i = 0; i < Used_Length(a.runways, a.runway_count); ++i) {
    e.Add(a.runways[i].end1_lat, a.runways[i].end1_lon);
    e.Add(a.runways[i].end2_lat, a.runways[i].end2_lon);
  }
  for (size_t i = 0; i < Used_Length(a.parkings, a.parking_count); ++i) {
    e.Add(a.parkings[i].lat, a.parkings[i].lon);
  }
  for (size_t i = 0; i < Used_Length(a.taxi_points, a.taxi_point_count); ++i) {
    e.Add(a.taxi_points[i].lat, a.taxi_points[i].lon);
  }
  if (e.Empty()) e.Add(a.lat, a.lon);
  return e;
}

}  // namespace

Paper_Size Size_Of(Paper paper) {
  switch (paper) {
    case Paper::letter:
      return {215.9, 279.4};
    case Paper::a5:
      return {148.0, 210.0};
    case Paper::a4:
      break;
  }
  return {210.0, 297.0};
}

bool Paper_From_Name(std::string_view name, Paper& paper) {
  if (name == "a4") {
    paper = Paper::a4;
  } else if (name == "letter") {
    paper = Paper::letter;
  } else if (name == "a5") {
    paper = Paper::a5;
  } else {
    return false;
  }
  return true;
}

Diagram_Page Page_Layout(const Airport_Entry& airport, int32_t width, int32_t height, double dpi) {
  Diagram_Page page;
  const double margin = dpi * 10.0 / 25.4;
  page.options.inset = {margin, margin, width - margin, height - margin};
  page.options.text_scale = dpi / 96.0 * PAGE_TEXT_GROWTH;
  page.options.zoom_level = ZOOM_MAX;
  const Extent e = Extent_Of(airport);
  Diagram_Frame unit;
  unit.lat0 = (e.lat0 + e.lat1) / 2.0;
  unit.lon0 = (e.lon0 + e.lon1) / 2.0;
  unit.px_per_degree = FEET_PER_DEGREE;  // one pixel a foot
  const Pt a = Diagram_Project(unit, e.lat0, e.lon0);
  const Pt b = Diagram_Project(unit, e.lat1, e.lon1);
  // The airport's size in feet, with room for the labels round its edge and the furniture.
  const double w_ft = std::abs(b.x - a.x) + 1500.0;
  const double h_ft = std::abs(b.y - a.y) + 1500.0;
  const double map_w = (width - 2.0 * margin) * 0.9;
  const double map_h = (height - 2.0 * margin) * 0.78;
  page.scale = kRoundScales[std::size(kRoundScales) - 1];
  for (const int32_t scale : kRoundScales) {
    const double px_per_ft = dpi * 12.0 / scale;
    if (w_ft * px_per_ft <= map_w && h_ft * px_per_ft <= map_h) {
      page.scale = scale;
      break;
    }
  }
  page.frame = unit;
  page.frame.px_per_degree = dpi * 12.0 / page.scale * FEET_PER_DEGREE;
  page.frame.width = std::max(width, 1);
  page.frame.height = std::max(height, 1);
  page.options.scale_text = "1:" + std::to_string(page.scale);
  return page;
}

void Draw_Diagram_Page(Canvas& canvas, const Program_State& state, int32_t width, int32_t height,
                       double dpi, bool night, bool aircraft) {
  Diagram_Page page = Page_Layout(state.cur_airport, width, height, dpi);
  page.options.aircraft = aircraft;
  Paint_Diagram(canvas, Build_Diagram(state, page.frame, page.options, canvas), night);
}

}  // namespace orv
