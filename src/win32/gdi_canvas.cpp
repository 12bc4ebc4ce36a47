#include "win32/gdi_canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/text_1252.h"

// GDI+'s headers use min and max, and the types of windows.h.
// clang-format off
#include <objidl.h>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
// clang-format on

namespace orv::win32 {
namespace {

// One-pixel pens are cut to the surface grown by this much: GDI takes coordinates up to 2^27,
// and the lines keep their own ends, and so their dashes, for anything the chart draws.
constexpr int64_t kThinPenReach = int64_t{1} << 26;
// Ellipses and arcs whose box is at most this many pixels across go to GDI as they are; GDI
// walks the whole outline of larger ones, and fails on very large ones, so those are drawn as
// polylines near the surface instead.
constexpr int64_t kGdiShapeMax = 8192;
// The points that fix an arc's rays are brought this near the box centre along their rays.
constexpr double kRayReach = 1 << 20;
// No pen is wider than this.
constexpr int32_t kMaxPenWidth = 1024;
// Wide dashed pens: a dash of 4 widths and a gap of 2, as the other canvases draw them.
constexpr int kDashWidths = 4;
constexpr int kGapWidths = 2;

COLORREF Colorref(Rgb c) {
  return RGB(c.r, c.g, c.b);
}

HPEN Make_Pen(Rgb color, int32_t width, Line_Style style) {
  if (width <= 1)
    return CreatePen(style == Line_Style::dash ? PS_DASH : PS_SOLID, 1, Colorref(color));
  LOGBRUSH brush{BS_SOLID, Colorref(color), 0};
  const DWORD kind = PS_GEOMETRIC | PS_ENDCAP_ROUND | PS_JOIN_ROUND;
  if (style == Line_Style::solid) return ExtCreatePen(kind | PS_SOLID, width, &brush, 0, nullptr);
  const DWORD dashes[] = {static_cast<DWORD>(kDashWidths * width),
                          static_cast<DWORD>(kGapWidths * width)};
  return ExtCreatePen(kind | PS_USERSTYLE, width, &brush, 2, dashes);
}

bool Small(const Px_Rect& box) {
  return box.right - box.left <= kGdiShapeMax && box.bottom - box.top <= kGdiShapeMax;
}

// A point on the same ray out of the box centre as p, within kRayReach of the centre.
Px Near_Ray(const Px_Rect& box, Px p) {
  const double cx = (static_cast<double>(box.left) + static_cast<double>(box.right)) / 2.0;
  const double cy = (static_cast<double>(box.top) + static_cast<double>(box.bottom)) / 2.0;
  const double dx = static_cast<double>(p.x) - cx;
  const double dy = static_cast<double>(p.y) - cy;
  const double longest = std::max(std::fabs(dx), std::fabs(dy));
  if (longest <= kRayReach) return p;
  const double k = kRayReach / longest;
  return Px{static_cast<int32_t>(std::lround(cx + dx * k)),
            static_cast<int32_t>(std::lround(cy + dy * k))};
}

std::vector<POINT> Points_Of(const std::vector<Px>& pixels) {
  std::vector<POINT> points;
  points.reserve(pixels.size());
  for (const Px& p : pixels) points.push_back(POINT{p.x, p.y});
  return points;
}

// GDI+ is started once for the process, the first time a canvas needs it, and left running.
bool Gdiplus_Ready() {
  static const bool ready = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return ready;
}

Gdiplus::Color Plus_Color(Rgb c) {
  return Gdiplus::Color(255, c.r, c.g, c.b);
}

// The face of a sized text as a GDI font, turned by the angle: unturned it measures the text,
// turned it draws the letters where that measure put them.
HFONT Make_Font(const Text_Style& style, double angle_deg = 0.0) {
  LOGFONTW face{};
  if (GetObjectW(Ui_Font(), sizeof face, &face) == 0) return nullptr;
  face.lfHeight = -std::max(1, style.size_px);
  face.lfWidth = 0;
  face.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  face.lfEscapement = face.lfOrientation = static_cast<LONG>(std::lround(angle_deg * 10.0));
  face.lfQuality = ANTIALIASED_QUALITY;
  return CreateFontIndirectW(&face);
}

}  // namespace

Gdiplus::Graphics* Gdi_Canvas::Plus() const {
  if (!plus_ && Gdiplus_Ready()) {
    plus_ = std::make_unique<Gdiplus::Graphics>(dc_);
    plus_->SetPageUnit(Gdiplus::UnitPixel);
  }
  if (plus_) {
    plus_->SetSmoothingMode(Antialiasing() ? Gdiplus::SmoothingModeAntiAlias
                                           : Gdiplus::SmoothingModeNone);
    plus_->SetTextRenderingHint(Antialiasing() ? Gdiplus::TextRenderingHintAntiAlias
                                               : Gdiplus::TextRenderingHintSingleBitPerPixel);
  }
  return plus_.get();
}

void Gdi_Canvas::Do_Polygon(std::span<const Px> points) {
  Gdiplus::Graphics* g = Plus();
  if (g == nullptr) {
    Canvas::Do_Polygon(points);
    return;
  }
  // The inside is GDI's own fill, exact on every system; GDI+ smooths the outline over it, cut
  // near the surface first.
  if (Pen().fill_style == Fill_Style::solid) {
    std::vector<POINT> inside;
    inside.reserve(points.size());
    for (const Px& p : points) inside.push_back(POINT{p.x, p.y});
    Use_Brush(true);
    SelectObject(dc_, GetStockObject(NULL_PEN));
    ::Polygon(dc_, inside.data(), static_cast<int>(inside.size()));
  }
  const std::vector<Px_F> outline =
      Polygon_Within(points, Grow(Area(), 2 * int64_t{Pen_Width()} + 8));
  if (outline.size() < 2) return;
  std::vector<Gdiplus::PointF> list;
  list.reserve(outline.size());
  for (const Px_F& p : outline) {
    list.emplace_back(static_cast<Gdiplus::REAL>(p.x), static_cast<Gdiplus::REAL>(p.y));
  }
  const Gdiplus::Pen pen(Plus_Color(Pen().color), static_cast<Gdiplus::REAL>(Pen_Width()));
  g->DrawPolygon(&pen, list.data(), static_cast<int>(list.size()));
}

// How far each letter of a sized text ends from the text's start, in the unturned font of its
// style; empty when GDI cannot measure it. These advances measure the text and also place its
// letters when it is drawn: a font whose drawn letters are not as wide as its measured ones
// (Wine draws the small sizes of a face from the bitmaps inside its font file, measured from
// its outlines) would otherwise run past the box the labels are placed by.
std::vector<int> Gdi_Canvas::Letter_Ends(const std::wstring& shown, const Text_Style& style) const {
  const int n = static_cast<int>(std::min<size_t>(shown.size(), 0x7FFF));
  HFONT font = n > 0 ? Make_Font(style) : nullptr;
  if (font == nullptr) return {};
  std::vector<int> ends(static_cast<size_t>(n));
  const HGDIOBJ old = SelectObject(dc_, font);
  SIZE extent{};
  if (!GetTextExtentExPointW(dc_, shown.c_str(), n, 0, nullptr, ends.data(), &extent)) ends.clear();
  SelectObject(dc_, old);
  DeleteObject(font);
  return ends;
}

Text_Size Gdi_Canvas::Text_Extent(std::string_view text, const Text_Style& style) const {
  const std::vector<int> ends = Letter_Ends(Wide(Utf8_From_1252(text)), style);
  if (ends.empty()) return Canvas::Text_Extent(text, style);
  return {static_cast<double>(ends.back()), static_cast<double>(style.size_px)};
}

// GDI turns and smooths text itself: the font is made turned by the angle, and its cell is
// set on the box's height from the box's top-left corner. Each letter goes where the measure
// put it.
void Gdi_Canvas::Do_Styled_Text(Px, std::string_view text, const Text_Style& style,
                                const Text_Box& box) {
  const std::wstring shown = Wide(Utf8_From_1252(text));
  std::vector<int> advances = Letter_Ends(shown, style);
  if (advances.empty()) return;
  for (size_t i = advances.size() - 1; i > 0; --i) advances[i] -= advances[i - 1];
  HFONT font = Make_Font(style, style.angle_deg);
  if (font == nullptr) return;
  const HGDIOBJ old = SelectObject(dc_, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  const double a = style.angle_deg * std::numbers::pi / 180.0;
  const double drop = (style.size_px - metrics.tmHeight) / 2.0;
  const int x = static_cast<int>(std::lround(box.corner[0].x + std::sin(a) * drop));
  const int y = static_cast<int>(std::lround(box.corner[0].y + std::cos(a) * drop));
  SetTextColor(dc_, Colorref(Pen().color));
  ExtTextOutW(dc_, x, y, 0, nullptr, shown.c_str(), static_cast<UINT>(advances.size()),
              advances.data());
  SelectObject(dc_, old);
  DeleteObject(font);
}

Gdi_Canvas::Gdi_Canvas(HDC dc, const RECT& area) : dc_(dc), area_(area) {
  saved_ = SaveDC(dc_);
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetArcDirection(dc_, AD_COUNTERCLOCKWISE);
  SelectObject(dc_, Ui_Font());
  SelectObject(dc_, GetStockObject(NULL_BRUSH));
}

Gdi_Canvas::~Gdi_Canvas() {
  RestoreDC(dc_, saved_);
  if (pen_) DeleteObject(pen_);
  if (brush_) DeleteObject(brush_);
}

Px_Rect Gdi_Canvas::Area() const {
  return {area_.left, area_.top, int64_t{area_.right} - 1, int64_t{area_.bottom} - 1};
}

int32_t Gdi_Canvas::Pen_Width() const {
  return std::clamp<int32_t>(Pen().width, 1, kMaxPenWidth);
}

void Gdi_Canvas::Use_Pen() {
  Pen_State wanted = Pen();
  wanted.width = Pen_Width();
  if (pen_ && wanted.color == pen_made_.color && wanted.width == pen_made_.width &&
      wanted.style == pen_made_.style) {
    SelectObject(dc_, pen_);
    return;
  }
  HPEN made = Make_Pen(wanted.color, wanted.width, wanted.style);
  SelectObject(dc_, made);
  if (pen_) DeleteObject(pen_);
  pen_ = made;
  pen_made_ = wanted;
}

void Gdi_Canvas::Use_Brush(bool with_fill) {
  const Pen_State& pen = Pen();
  if (!with_fill || pen.fill_style != Fill_Style::solid) {
    SelectObject(dc_, GetStockObject(NULL_BRUSH));
    return;
  }
  if (!brush_ || brush_made_ != pen.fill) {
    HBRUSH made = CreateSolidBrush(Colorref(pen.fill));
    SelectObject(dc_, made);
    if (brush_) DeleteObject(brush_);
    brush_ = made;
    brush_made_ = pen.fill;
  }
  SelectObject(dc_, brush_);
}

// A wide pen is cut close to the surface: GDI fills it as a polygon as long as the whole line,
// dash by dash.
void Gdi_Canvas::Segment(Px from, Px to) {
  const int32_t width = Pen_Width();
  const bool wide = width > 1;
  const Px_Rect reach = Grow(Area(), wide ? 2 * int64_t{width} + 16 : kThinPenReach);
  const double period =
      wide && Pen().style == Line_Style::dash ? double{kDashWidths + kGapWidths} * width : 0.0;
  const auto cut = Clip_Segment(from, to, reach, period);
  if (!cut) return;
  MoveToEx(dc_, cut->from.x, cut->from.y, nullptr);
  LineTo(dc_, cut->to.x, cut->to.y);
}

void Gdi_Canvas::Outline(const Px_Rect& box, double from, double turn) {
  const int32_t width = Pen_Width();
  for (const std::vector<Px>& run :
       Outline_Near(Ellipse_In(box), from, turn, Grow(Area(), int64_t{width} + 2))) {
    if (width > 1) {
      for (size_t i = 1; i < run.size(); ++i) Segment(run[i - 1], run[i]);
      continue;
    }
    const std::vector<POINT> points = Points_Of(run);
    Polyline(dc_, points.data(), static_cast<int>(points.size()));
  }
}

void Gdi_Canvas::Fill_Large(const Px_Rect& box) {
  const std::vector<POINT> points = Points_Of(Filled_Within(Ellipse_In(box), Grow(Area(), 2)));
  if (points.size() < 3) return;
  Use_Brush(true);
  SelectObject(dc_, GetStockObject(NULL_PEN));
  ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
  Use_Pen();
}

void Gdi_Canvas::Do_Clear() {
  FillRect(dc_, &area_, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

void Gdi_Canvas::Do_Line(Px from, Px to) {
  if (Antialiasing()) {
    if (Gdiplus::Graphics* g = Plus()) {
      Gdiplus::Pen pen(Plus_Color(Pen().color), static_cast<Gdiplus::REAL>(Pen_Width()));
      if (Pen().style == Line_Style::dash) pen.SetDashStyle(Gdiplus::DashStyleDash);
      g->DrawLine(&pen, from.x, from.y, to.x, to.y);
      return;
    }
  }
  Use_Pen();
  Segment(from, to);
}

// GDI leaves out the right and bottom edges of the box; the canvas's box holds both corners.
void Gdi_Canvas::Do_Ellipse(Px c1, Px c2) {
  const Px_Rect box = Rect_Of(c1, c2);
  if (!Overlaps(box, Grow(Area(), int64_t{Pen_Width()} + 2))) return;
  Gdiplus::Graphics* g = Antialiasing() && Small(box) ? Plus() : nullptr;
  if (g != nullptr) {
    const auto x = static_cast<Gdiplus::REAL>(box.left);
    const auto y = static_cast<Gdiplus::REAL>(box.top);
    const auto w = static_cast<Gdiplus::REAL>(box.right - box.left);
    const auto h = static_cast<Gdiplus::REAL>(box.bottom - box.top);
    if (Pen().fill_style == Fill_Style::solid) {
      const Gdiplus::SolidBrush brush(Plus_Color(Pen().fill));
      g->FillEllipse(&brush, x, y, w, h);
    }
    const Gdiplus::Pen pen(Plus_Color(Pen().color), static_cast<Gdiplus::REAL>(Pen_Width()));
    g->DrawEllipse(&pen, x, y, w, h);
    return;
  }
  Use_Pen();
  if (Small(box)) {
    Use_Brush(true);
    ::Ellipse(dc_, static_cast<int>(box.left), static_cast<int>(box.top),
              static_cast<int>(box.right + 1), static_cast<int>(box.bottom + 1));
    return;
  }
  if (Pen().fill_style == Fill_Style::solid) Fill_Large(box);
  Outline(box, 0.0, 2.0 * std::numbers::pi);
}

void Gdi_Canvas::Do_Arc(Px c1, Px c2, Px start, Px end) {
  const Px_Rect box = Rect_Of(c1, c2);
  if (!Overlaps(box, Grow(Area(), int64_t{Pen_Width()} + 2))) return;
  Use_Pen();
  if (Small(box)) {
    const Px s = Near_Ray(box, start);
    const Px e = Near_Ray(box, end);
    ::Arc(dc_, static_cast<int>(box.left), static_cast<int>(box.top),
          static_cast<int>(box.right + 1), static_cast<int>(box.bottom + 1), s.x, s.y, e.x, e.y);
    return;
  }
  const Ellipse_Shape shape = Ellipse_In(box);
  const double from = Ray_Angle(shape, start);
  Outline(box, from, Ccw_Turn(from, Ray_Angle(shape, end)));
}

void Gdi_Canvas::Do_Text(Px at, std::string_view text) {
  const std::wstring shown = Wide(Utf8_From_1252(text));
  if (shown.empty()) return;
  const int n = static_cast<int>(std::min<size_t>(shown.size(), 0x7FFF));
  SIZE extent{};
  GetTextExtentPoint32W(dc_, shown.c_str(), n, &extent);
  const Px_Rect box{at.x, at.y, int64_t{at.x} + extent.cx, int64_t{at.y} + extent.cy};
  if (!Overlaps(box, Area())) return;
  SetTextColor(dc_, Colorref(Pen().color));
  TextOutW(dc_, at.x, at.y, shown.c_str(), n);
}

}  // namespace orv::win32
