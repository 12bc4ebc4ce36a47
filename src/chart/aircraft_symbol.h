// The user's aircraft on the chart: a filled green dot, a line to the point 500 feet ahead along
// its heading, and the text "Your Plane".
#pragma once

#include "chart/canvas.h"
#include "chart/chart_projection.h"
#include "core/program_state.h"

namespace orv {

// Draws the aircraft at state.acft_lat, acft_lon with heading acft_hdg, only while the
// simulator link is connected. The dot's radius is one percent of the window width. The pen
// width is 1 afterwards.
void Draw_Aircraft(Canvas& canvas, const Program_State& state, const Chart_View& view,
                   bool sim_connected);

}  // namespace orv
