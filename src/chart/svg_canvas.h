// A canvas that builds an SVG document of the chart: a white page of the window's size in
// pixels, with the drawing calls as SVG shapes in the order made.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/canvas.h"

namespace orv {

class Svg_Canvas final : public Canvas {
 public:
  Svg_Canvas(int32_t width_px, int32_t height_px);

  // The whole document, UTF-8.
  std::string Document() const;

 protected:
  void Do_Clear() override;
  void Do_Line(Px from, Px to) override;
  void Do_Ellipse(Px c1, Px c2) override;
  void Do_Arc(Px c1, Px c2, Px start, Px end) override;
  void Do_Text(Px at, std::string_view text) override;
  void Do_Polygon(std::span<const Px> points) override;
  void Do_Styled_Text(Px at, std::string_view text, const Text_Style& style,
                      const Text_Box& box) override;

 private:
  std::string Stroke() const;

  int32_t width_px_;
  int32_t height_px_;
  std::vector<std::string> shapes_;
};

}  // namespace orv
