// What lies under a pixel of the chart: a gate or parking place, an ILS, a runway or a named
// taxiway, among what the chart draws at its zoom level and display switches; and the text of a
// tooltip about it. A runway is hit on its surface on the ground (its length and width about
// the middle of its ends) and near its drawn line; the other things near what is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "chart/chart_projection.h"
#include "chart/diagram_frame.h"
#include "core/program_state.h"

namespace orv {

// How near to a drawn line or point the pointer counts as on it, in pixels.
inline constexpr double HIT_TOLERANCE_PX = 3.0;

enum class Hit_Kind : uint8_t { none, gate, ils, runway, taxiway };

struct Chart_Hit {
  Hit_Kind kind = Hit_Kind::none;
  size_t index = 0;  // into parkings, ils, runways or taxi_paths

  bool operator==(const Chart_Hit&) const = default;
};

// Ground distance along and across a runway, in feet, of a position relative to the middle of
// the runway's ends: along is positive towards end 2. Flat locally, one nautical mile of 6080
// feet per minute of arc, longitude shortened by the cosine of the latitude.
struct Runway_Offset {
  double along_ft = 0.0;
  double across_ft = 0.0;
};
Runway_Offset Offset_From_Runway(const Runway_Rec& runway, double lat, double lon);

// Whether the position lies on the runway's surface: within half its length along and half its
// width across. A runway whose ends coincide has no surface.
bool On_Runway_Surface(const Runway_Rec& runway, double lat, double lon);

// What is drawn under window pixel (x, y): a gate first, then an ILS, a runway, a taxiway.
Chart_Hit Hit_Test(const Program_State& state, const Chart_View& view, double x, double y);

// The same over the diagram drawn in `frame` at the zoom level, its texts at text_scale: a gate
// within its circle, an ILS on its feather, a runway on its surface, a taxiway on its band.
Chart_Hit Hit_Test_Diagram(const Program_State& state, const Diagram_Frame& frame, int16_t zoom,
                           double text_scale, double x, double y);

// The tooltip of a hit, lines joined by "\n", Windows-1252; "" for none. A runway gives its
// designators, length x width, elevation, both magnetic headings and each ILS on it; an ILS its
// ident, frequency and course; a gate its label and radius; a taxiway its name.
std::string Hit_Text(const Program_State& state, const Chart_Hit& hit);

// "From aircraft: 12.3 nm, 045°": distance and magnetic bearing from the aircraft to (lat, lon).
std::string From_Aircraft_Text(const Program_State& state, double lat, double lon);

}  // namespace orv
