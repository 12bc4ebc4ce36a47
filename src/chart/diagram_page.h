// A printed page of the diagram: the airport fitted to the paper at a round scale (1:5000,
// 1:10000, ...), with the title block, the frequency box, the north arrow and the scale bar.
#pragma once

#include <cstdint>
#include <string_view>

#include "chart/diagram_geometry.h"

namespace orv {

enum class Paper : uint8_t { a4, letter, a5 };

// Width and height in millimetres, portrait.
struct Paper_Size {
  double w_mm = 210.0;
  double h_mm = 297.0;
};
Paper_Size Size_Of(Paper paper);
bool Paper_From_Name(std::string_view name, Paper& paper);

struct Diagram_Page {
  Diagram_Frame frame;
  Diagram_Options options;
  int32_t scale = 0;  // the denominator of the scale, 1:scale
};

// The page of width x height dots at dpi dots per inch for the airport: centred on the middle
// of everything it holds, at the largest round scale at which that fits inside the margins.
Diagram_Page Page_Layout(const Airport_Entry& airport, int32_t width, int32_t height,
                         double dpi);

// The page of the chosen airport painted on a canvas of width x height dots.
void Draw_Diagram_Page(Canvas& canvas, const Program_State& state, int32_t width, int32_t height,
                       double dpi, bool night, bool aircraft);

}  // namespace orv
