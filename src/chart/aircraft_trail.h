// Where the aircraft has been: its positions of the last 30 minutes as the ticks read them,
// drawn as a thin line under the aircraft when the "Show Trail" switch is on. Positions are
// kept in degrees, so the trail survives zooming and panning.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>

#include "chart/canvas.h"
#include "chart/chart_projection.h"
#include "core/program_state.h"

namespace orv {

inline constexpr std::chrono::microseconds TRAIL_WINDOW = std::chrono::minutes(30);
inline constexpr Rgb RGB_TRAIL{192, 0, 192};

struct Trail_Point {
  std::chrono::microseconds at{0};
  double lat = 0.0;
  double lon = 0.0;
};

class Aircraft_Trail {
 public:
  // Adds the position read at time `now` and forgets what is older than the window.
  void Add(std::chrono::microseconds now, double lat, double lon);
  // Forgets the positions read more than TRAIL_WINDOW before `now`.
  void Forget_Before(std::chrono::microseconds now);
  void Clear() { points_.clear(); }
  const std::deque<Trail_Point>& Points() const { return points_; }

 private:
  std::deque<Trail_Point> points_;
};

// The trail as lines from each position to the next, 1 pixel wide in RGB_TRAIL; a step whose
// pixels could not be computed is left out. The pen ends as Draw_Chart leaves it (solid, width
// 1, green, fill black and transparent), so the aircraft draws as it does without the trail.
void Draw_Trail(Canvas& canvas, const Aircraft_Trail& trail, const Chart_View& view);

// One redraw of the chart window with the trail: clear, the layers, the trail, the aircraft.
void Redraw_Chart_With_Trail(Canvas& canvas, Program_State& state, const Chart_View& view,
                             bool sim_connected, const Aircraft_Trail& trail);

}  // namespace orv
