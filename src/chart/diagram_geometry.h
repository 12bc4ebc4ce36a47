// The airport diagram as paint data: every surface, line, circle and label of the picture in
// surface pixels, computed from the chosen airport and a diagram frame. The painter
// (diagram_painter.h) only turns this into canvas calls with the palette's colours; it keeps
// no state of its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/canvas.h"
#include "chart/diagram_frame.h"
#include "chart/label_placement.h"
#include "core/program_state.h"

namespace orv {

// What a shape is, for the palette to colour.
enum class Ink : uint8_t {
  background,
  runway,
  centre_line,
  taxiway,
  gate,
  parking,
  parking_edge,
  ils,
  text,
  box_fill,
  box_edge,
  taxiway_sign,
  airspace_b,
  airspace_c,
  aircraft,
};

struct Diagram_Polygon {
  Ink fill = Ink::runway;
  Ink edge = Ink::runway;
  std::vector<Pt> points;
};

struct Diagram_Disc {
  Ink fill = Ink::gate;
  Ink edge = Ink::gate;
  Pt centre;
  double r = 0.0;
  bool filled = true;  // an outline only when false, at edge_width
  double edge_width = 1.0;
};

struct Diagram_Line {
  Ink ink = Ink::centre_line;
  double width = 1.0;
  bool dashed = false;
  Pt a;
  Pt b;
};

struct Diagram_Label {
  std::string text;  // Windows-1252
  Pt at;
  Text_Style style;
  Ink ink = Ink::text;
  std::optional<Ink> plate;  // a filled box behind the text
};

// One layer: its polygons, then discs, then lines, then labels.
struct Diagram_Layer {
  std::vector<Diagram_Polygon> polygons;
  std::vector<Diagram_Disc> discs;
  std::vector<Diagram_Line> lines;
  std::vector<Diagram_Label> labels;
};

// Drawn in the order of the fields.
struct Diagram_Picture {
  int32_t width = 1;
  int32_t height = 1;
  Diagram_Layer airspace;
  Diagram_Layer taxiways;
  Diagram_Layer runways;
  Diagram_Layer parkings;
  Diagram_Layer ils;
  Diagram_Layer labels;
  Diagram_Layer furniture;  // title block, frequency box, north arrow, scale bar
  Diagram_Layer aircraft;
  std::vector<Box> label_boxes;  // every placed label's box, furniture included
};

// Where the furniture goes and how large the texts are.
struct Diagram_Options {
  Box inset{8, 30, 263, 180};         // the part of the surface free of the window's own controls
  double text_scale = 1.0;            // 1 on the screen; the page's dots per screen pixel on paper
  int16_t zoom_level = ZOOM_AT_LOAD;  // which layers appear, as on the classic chart
  bool aircraft = false;              // draw the aircraft (the link is connected)
  std::string scale_text;             // a page's "1:10000", shown under the scale bar
  std::vector<Box> keep_clear;        // the window's own controls over the surface: no label there
};

// The ground width of every taxiway band, and the least it is drawn with.
inline constexpr double TAXIWAY_WIDTH_FT = 75.0;
inline constexpr double TAXIWAY_MIN_PX = 1.5;
// Runways longer than this have their stored ends this far inside the surface's ends.
inline constexpr double RUNWAY_INSET_MIN_LENGTH_M = 300.0;
inline constexpr double RUNWAY_INSET_M = 30.0;

// A runway's surface: the corners of its full length at its width, the stored ends, and the
// ends of the full length. Corners run end 1 left, end 2 left, end 2 right, end 1 right.
struct Runway_Surface {
  Pt corner[4];
  Pt end1;
  Pt end2;
  Pt full1;
  Pt full2;
  Pt along;  // unit vector from end 1 to end 2 on the surface
};
std::optional<Runway_Surface> Runway_Geometry(const Diagram_Frame& frame, const Runway_Rec& w);

double Taxiway_Band_Px(const Diagram_Frame& frame);

// An ILS's localizer feather: from the antenna at `tip`, len pixels out against the course
// along `out` to `outer`, its outer edge `side` either way of the centre line.
struct Ils_Feather {
  Pt tip;
  Pt out;
  Pt outer;
  Pt side;
  double len = 0.0;
};
Ils_Feather Feather_Of(const Program_State& state, const Diagram_Frame& frame, const Ils_Rec& ils,
                       double text_scale);

// One line of the frequency box: the kind as a pilot reads it and the frequency.
struct Frequency_Line {
  const char* kind;
  std::string freq;
};
// The kept frequencies in the order a pilot calls them: ATIS (type 1), clearance (7), ground
// (5), tower (6), departure (9), approach (8), centre (10). Empty ones are left out.
std::vector<Frequency_Line> Frequency_Box_Lines(const Airport_Entry& airport);

// A parking place's short label: "A12" for GATE A 12, "12" for PARKING 12, "N3" for N PARKING 3.
std::string Short_Parking_Label(std::string_view label);
bool Is_Gate(std::string_view label);

// The highest runway elevation in feet; 0 without runways.
int32_t Field_Elevation_Ft(const Airport_Entry& airport);

// "N47°26.9' W122°18.6'" in Windows-1252.
std::string Degrees_Minutes_Text(double lat, double lon);

// The whole picture. `measure` gives the text extents the labels are placed with.
Diagram_Picture Build_Diagram(const Program_State& state, const Diagram_Frame& frame,
                              const Diagram_Options& options, const Canvas& measure);

}  // namespace orv
