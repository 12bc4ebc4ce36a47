// The chart's drawing calls as JSON: an array with one object per call, in the order made, with
// pixel coordinates as passed and the pen and fill state in force at that call.
#pragma once

#include <string>
#include <vector>

#include "chart/recording_canvas.h"

namespace orv {

std::string Drawing_Commands_Json(const std::vector<Draw_Call>& calls);

}  // namespace orv
