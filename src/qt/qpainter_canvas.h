// The chart canvas over a QPainter: the chart window paints through it, and the command-line
// tool draws PNG pictures with it into a QImage. Lines, outlines and text are drawn without
// antialiasing, one pixel to a pixel, in the window's own colours, unless smooth edges are
// asked for (the diagram asks).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRect>
#include <string>
#include <unordered_map>
#include <vector>

#include "chart/canvas.h"

class QPainter;

namespace orv {

class Qpainter_Canvas final : public Canvas {
 public:
  // `area` is the rectangle Clear paints white: the whole surface the chart is drawn on.
  Qpainter_Canvas(QPainter& painter, const QRect& area);

 protected:
  void Do_Clear() override;
  void Do_Line(Px from, Px to) override;
  void Do_Ellipse(Px c1, Px c2) override;
  void Do_Arc(Px c1, Px c2, Px start, Px end) override;
  void Do_Text(Px at, std::string_view text) override;
  void Do_Polygon(std::span<const Px> points) override;
  void Do_Styled_Text(Px at, std::string_view text, const Text_Style& style,
                      const Text_Box& box) override;

 public:
  Text_Size Text_Extent(std::string_view text, const Text_Style& style) const override;

 private:
  // A sized text's face and its measures, made once per size and weight for the canvas: a
  // diagram measures and draws hundreds of texts in a few faces.
  struct Face {
    int32_t size_px = 0;
    bool bold = false;
    QFont font;
    QFontMetricsF metrics;
    std::unordered_map<std::string, double> widths;  // the texts measured so far
  };
  Face& Face_Of(const Text_Style& style) const;
  void Use_Pen(bool with_fill);
  double Same_Edge_Growth() const;

  QPainter& painter_;
  QRect area_;
  mutable std::vector<Face> faces_;
};

// The start and the span of an arc in Qt's sixteenths of a degree, counter-clockwise from three
// o'clock on the ellipse inscribed in the box c1..c2: from the ray out of the box centre through
// `start` to the ray through `end`, counter-clockwise on the screen. The span is positive; the
// same ray twice gives the whole ellipse (a span of 5760).
struct Qt_Arc_Angles {
  int start_16 = 0;
  int span_16 = 0;
};
Qt_Arc_Angles Arc_Angles(Px c1, Px c2, Px start, Px end);

}  // namespace orv
