// The chart canvas over a GDI device context: the chart window paints through it into its
// off-screen bitmap. Lines go through MoveToEx and LineTo, shapes through Ellipse and Arc, text
// through TextOutW, with the window's pen, fill and text settings: transparent text background,
// top-left alignment and the window's font. The diagram's sized text is GDI's own turned and
// smoothed font, each letter placed by the widths that measured it; its smooth lines, circles
// and polygon outlines go through GDI+, as GDI cannot smooth them (Wine's GDI+ draws them
// without smoothing).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/canvas.h"
#include "chart/drawing_limits.h"
#include "win32/win32_ui.h"

namespace Gdiplus {
class Graphics;
}

namespace orv::win32 {

class Gdi_Canvas final : public Canvas {
 public:
  // `area` is the rectangle Clear paints white: the whole surface the chart is drawn on. The
  // device context gets its settings back when the canvas goes.
  Gdi_Canvas(HDC dc, const RECT& area);
  ~Gdi_Canvas() override;
  Gdi_Canvas(const Gdi_Canvas&) = delete;
  Gdi_Canvas& operator=(const Gdi_Canvas&) = delete;

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
  // The GDI+ surface over the same device context, made when first needed; null when GDI+
  // cannot start.
  Gdiplus::Graphics* Plus() const;
  // Where each letter of a sized text ends, measured in its style's font.
  std::vector<int> Letter_Ends(const std::wstring& shown, const Text_Style& style) const;
  // The surface as a rectangle of pixels, edges included.
  Px_Rect Area() const;
  void Use_Pen();
  void Use_Brush(bool with_fill);
  int32_t Pen_Width() const;
  void Segment(Px from, Px to);
  void Outline(const Px_Rect& box, double from, double turn);
  void Fill_Large(const Px_Rect& box);

  HDC dc_;
  RECT area_;
  int saved_ = 0;
  HPEN pen_ = nullptr;
  Pen_State pen_made_;  // what pen_ was made for
  HBRUSH brush_ = nullptr;
  Rgb brush_made_;
  mutable std::unique_ptr<Gdiplus::Graphics> plus_;
};

}  // namespace orv::win32
