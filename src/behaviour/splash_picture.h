// The splash window's picture, drawn once for both toolkits through the canvas: a chart sheet
// with two crossing runways, their taxiways, the airspace ring, a compass rose and the
// program's name.
#pragma once

namespace orv {

class Canvas;

// Draws the picture on `canvas` at `scale` times its design size (SPLASH_PICTURE_W by
// SPLASH_PICTURE_H pixels at 1), smooth or not as the canvas is set.
void Draw_Splash_Picture(Canvas& canvas, double scale);

}  // namespace orv
