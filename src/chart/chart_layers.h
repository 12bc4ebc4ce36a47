// The chart's drawing layers: airspace, gates and parking places, taxiways, runways and ILS,
// drawn in that order for the chosen airport. Which layers appear depends on the zoom level and
// the display switches. The caller clears the canvas first; the aircraft comes after.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "chart/canvas.h"
#include "chart/chart_projection.h"
#include "core/program_state.h"

namespace orv {

inline constexpr Rgb RGB_GATE{128, 64, 64};
inline constexpr Rgb RGB_TAXIWAY{192, 192, 192};
inline constexpr Rgb RGB_ILS{255, 255, 0};

// The zoom levels at which the layers switch: airspace up to 12, runways and ILS from 9,
// gates and taxiways from 13.
inline constexpr int16_t ZOOM_AIRSPACE_MAX = 12;
inline constexpr int16_t ZOOM_RUNWAYS_MIN = 9;
inline constexpr int16_t ZOOM_GROUND_MIN = 13;

// All layers, with the pen reset between groups so the result does not depend on what was
// drawn before. Draw_Airspaces may store a corrected circle radius back into the airspaces,
// hence the state is not const. The pen ends solid, width 1, green, fill black, transparent.
void Draw_Chart(Canvas& canvas, Program_State& state, const Chart_View& view);

// One layer each; Draw_Chart decides whether they are drawn.
void Draw_Gates(Canvas& canvas, const Program_State& state, const Chart_View& view);
void Draw_Taxiways(Canvas& canvas, const Program_State& state, const Chart_View& view);
void Draw_Runways(Canvas& canvas, const Program_State& state, const Chart_View& view);
void Draw_Ils(Canvas& canvas, const Program_State& state, const Chart_View& view);

// One redraw of the chart window: clear, the layers, then the aircraft when the simulator link
// is connected.
void Redraw_Chart(Canvas& canvas, Program_State& state, const Chart_View& view, bool sim_connected);

// A line between two pixels, skipped when either could not be computed. Returns whether it was
// drawn.
bool Draw_Line(Canvas& canvas, std::optional<Px> from, std::optional<Px> to);

// The filled circle of radius r around a pixel, given by its bounding corners (x - r, y + r)
// and (x + r, y - r); skipped when a corner does not fit 32 bits.
void Draw_Dot(Canvas& canvas, Px centre, int64_t r);

// A list's used length: its count, but never past its end and never negative.
template <typename T, typename Count>
size_t Used_Length(const std::vector<T>& list, Count count) {
  if (count <= 0) return 0;
  const auto n = static_cast<size_t>(count);
  return n < list.size() ? n : list.size();
}

}  // namespace orv
