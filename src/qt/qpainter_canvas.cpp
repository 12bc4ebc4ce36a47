#include "qt/qpainter_canvas.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "chart/drawing_limits.h"
#include "core/text_1252.h"

namespace orv {
namespace {

QColor To_Color(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

QPointF To_Point(Px p) {
  return QPointF(static_cast<double>(p.x), static_cast<double>(p.y));
}

// The box with corners c1 and c2 in any order. Doubles: the sides of a box between far-apart
// 32-bit corners do not fit an int.
QRectF Box(Px c1, Px c2) {
  const double left = std::min<double>(c1.x, c2.x);
  const double top = std::min<double>(c1.y, c2.y);
  const double right = std::max<double>(c1.x, c2.x);
  const double bottom = std::max<double>(c1.y, c2.y);
  return QRectF(left, top, right - left, bottom - top);
}

// The angle, in radians counter-clockwise from three o'clock, that Qt uses for the point where
// the ray out of the box centre through p meets the inscribed ellipse. Qt measures angles on the
// circle that is then stretched to the box, so the ray's own angle is turned into that one.
double Ellipse_Angle(const QRectF& box, Px p) {
  const QPointF c = box.center();
  const double dx = static_cast<double>(p.x) - c.x();
  const double dy_up = c.y() - static_cast<double>(p.y);
  const double a = box.width() / 2.0;
  const double b = box.height() / 2.0;
  if (a <= 0.0 || b <= 0.0) return std::atan2(dy_up, dx);
  return std::atan2(a * dy_up, b * dx);
}

}  // namespace

Qt_Arc_Angles Arc_Angles(Px c1, Px c2, Px start, Px end) {
  const QRectF box = Box(c1, c2);
  constexpr double turn = 2.0 * std::numbers::pi;
  const double from = Ellipse_Angle(box, start);
  double span = Ellipse_Angle(box, end) - from;
  while (span <= 0.0) span += turn;
  while (span > turn) span -= turn;
  constexpr double sixteenths_per_radian = 180.0 * 16.0 / std::numbers::pi;
  int start_16 = static_cast<int>(std::lround(from * sixteenths_per_radian));
  if (start_16 < 0) start_16 += 360 * 16;
  int span_16 = static_cast<int>(std::lround(span * sixteenths_per_radian));
  if (span_16 <= 0) span_16 = 360 * 16;  // rounding folded a whole turn to nothing
  return {start_16, span_16};
}

Qpainter_Canvas::Qpainter_Canvas(QPainter& painter, const QRect& area)
    : painter_(painter), area_(area) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBackgroundMode(Qt::TransparentMode);
}

void Qpainter_Canvas::Use_Pen(bool with_fill) {
  painter_.setRenderHint(QPainter::Antialiasing, Antialiasing());
  const Pen_State& pen = Pen();
  QPen qpen(To_Color(pen.color));
  qpen.setWidth(std::max<int32_t>(pen.width, 1));
  qpen.setStyle(pen.style == Line_Style::dash ? Qt::DashLine : Qt::SolidLine);
  // Smooth dashes end flat, as the other canvases draw them, and are drawn much faster so.
  qpen.setCapStyle(Antialiasing() && pen.style == Line_Style::dash ? Qt::FlatCap : Qt::RoundCap);
  qpen.setJoinStyle(Qt::RoundJoin);
  painter_.setPen(qpen);
  if (with_fill && pen.fill_style == Fill_Style::solid) {
    painter_.setBrush(QBrush(To_Color(pen.fill)));
  } else {
    painter_.setBrush(Qt::NoBrush);
  }
}

void Qpainter_Canvas::Do_Clear() {
  painter_.fillRect(area_, Qt::white);
}

void Qpainter_Canvas::Do_Line(Px from, Px to) {
  Use_Pen(false);
  if (Antialiasing()) {
    // A smooth line is cut near the surface first: the painter lays out a dashed one dash by
    // dash along its whole length. Its pattern is a dash of 4 widths and a gap of 2.
    const int64_t width = std::max<int32_t>(Pen().width, 1);
    const Px_Rect area{area_.left(), area_.top(), area_.right(), area_.bottom()};
    const double period = Pen().style == Line_Style::dash ? 6.0 * static_cast<double>(width) : 0.0;
    const auto cut = Clip_Segment(from, to, Grow(area, 2 * width + 8), period);
    if (!cut) return;
    from = cut->from;
    to = cut->to;
  }
  painter_.drawLine(To_Point(from), To_Point(to));
}

void Qpainter_Canvas::Do_Ellipse(Px c1, Px c2) {
  Use_Pen(true);
  if (const double grow = Same_Edge_Growth(); grow > 0.0) {
    painter_.setPen(Qt::NoPen);
    painter_.drawEllipse(Box(c1, c2).adjusted(-grow, -grow, grow, grow));
    return;
  }
  painter_.drawEllipse(Box(c1, c2));
}

// A smooth shape outlined in its own fill colour is the same as its inside grown by half the
// line width, which the painter fills much faster than it strokes the outline: that half
// width, or 0 for a shape that needs its outline.
double Qpainter_Canvas::Same_Edge_Growth() const {
  const Pen_State& pen = Pen();
  if (!Antialiasing() || pen.fill_style != Fill_Style::solid || pen.color != pen.fill) return 0.0;
  return std::max<int32_t>(pen.width, 1) / 2.0;
}

void Qpainter_Canvas::Do_Arc(Px c1, Px c2, Px start, Px end) {
  Use_Pen(false);
  const Qt_Arc_Angles angles = Arc_Angles(c1, c2, start, end);
  painter_.drawArc(Box(c1, c2), angles.start_16, angles.span_16);
}

void Qpainter_Canvas::Do_Text(Px at, std::string_view text) {
  painter_.setRenderHint(QPainter::Antialiasing, Antialiasing());
  const std::string utf8 = Utf8_From_1252(text);
  const QString shown = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  painter_.setPen(To_Color(Pen().color));
  const int ascent = QFontMetrics(painter_.font()).ascent();
  painter_.drawText(QPointF(static_cast<double>(at.x), static_cast<double>(at.y) + ascent), shown);
}

namespace {

// The rectangle of four corners in order whose sides run along the axes; nothing otherwise.
std::optional<QRectF> Upright_Rectangle(const std::vector<Px_F>& p) {
  if (p.size() != 4) return std::nullopt;
  const bool across_first =
      p[0].y == p[1].y && p[1].x == p[2].x && p[2].y == p[3].y && p[3].x == p[0].x;
  const bool down_first =
      p[0].x == p[1].x && p[1].y == p[2].y && p[2].x == p[3].x && p[3].y == p[0].y;
  if (!across_first && !down_first) return std::nullopt;
  return QRectF(QPointF(p[0].x, p[0].y), QPointF(p[2].x, p[2].y)).normalized();
}

// A rectangle given by its corners in order, as a line along its middle and its width.
struct Band_Line {
  QPointF from;
  QPointF to;
  double width = 0.0;
};

// The band of four corners p0..p3 whose sides p0-p3 and p1-p2 are its ends: opposite sides
// equal and square to each other, to within the pixel the corners were rounded to.
std::optional<Band_Line> Band_Of(std::span<const Px> p) {
  if (p.size() != 4) return std::nullopt;
  const auto d = [&p](size_t i, size_t j) {
    return QPointF(static_cast<double>(p[j].x) - p[i].x, static_cast<double>(p[j].y) - p[i].y);
  };
  const QPointF side = d(0, 1), end0 = d(0, 3), end1 = d(1, 2);
  const double ux = side.x(), uy = side.y(), vx = end0.x(), vy = end0.y(), wx = end1.x(),
               wy = end1.y();
  const double u = std::hypot(ux, uy), v = std::hypot(vx, vy);
  if (u < 1.0 || v < 1.0) return std::nullopt;
  if (std::abs(wx - vx) > 1.5 || std::abs(wy - vy) > 1.5) return std::nullopt;
  if (std::abs(ux * vx + uy * vy) > 2.0 * (u + v)) return std::nullopt;
  const auto mid = [](Px a, Px b) {
    return QPointF((static_cast<double>(a.x) + b.x) / 2.0, (static_cast<double>(a.y) + b.y) / 2.0);
  };
  return Band_Line{mid(p[0], p[3]), mid(p[1], p[2]), (v + std::hypot(wx, wy)) / 2.0};
}

}  // namespace

void Qpainter_Canvas::Do_Polygon(std::span<const Px> whole) {
  const Px_Rect area{area_.left(), area_.top(), area_.right(), area_.bottom()};
  const std::vector<Px_F> points =
      Polygon_Within(whole, Grow(area, 2 * int64_t{std::max<int32_t>(Pen().width, 1)} + 8));
  if (points.size() < 2) return;
  Use_Pen(true);
  QPen pen = painter_.pen();
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
  // An upright rectangle (the background, a panel, a label's plate) goes through the painter's
  // much quicker rectangle; the pixels are those of the same polygon.
  const double grow = Same_Edge_Growth();
  if (const auto box = Upright_Rectangle(points)) {
    if (grow > 0.0) {
      painter_.fillRect(box->adjusted(-grow, -grow, grow, grow), painter_.brush().color());
    } else {
      painter_.drawRect(*box);
    }
    return;
  }
  // A turned rectangle (a runway, a taxiway band) is filled as one wide line with flat ends,
  // which the painter smooths many times faster than a polygon and to the same pixels.
  const std::optional<Band_Line> band =
      Pen().fill_style == Fill_Style::solid ? Band_Of(whole) : std::nullopt;
  QPolygonF polygon;
  for (const Px_F& p : points) polygon << QPointF(p.x, p.y);
  if (band) {
    QPen fill(painter_.brush().color());
    fill.setWidthF(band->width + 2.0 * grow);
    fill.setCapStyle(Qt::FlatCap);
    painter_.setPen(fill);
    const QPointF along = band->to - band->from;
    const double length = std::hypot(along.x(), along.y());
    const QPointF reach = length > 0.0 ? along * (grow / length) : QPointF();
    painter_.drawLine(band->from - reach, band->to + reach);
    if (grow > 0.0) return;
    painter_.setPen(pen);
    painter_.setBrush(Qt::NoBrush);
  }
  painter_.drawPolygon(polygon);
}

namespace {

QFont Sized_Font(const QFont& base, const Text_Style& style) {
  QFont font(base);
  font.setFamily(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, style.size_px));
  font.setBold(style.bold);
  return font;
}

QString Shown(std::string_view text) {
  const std::string utf8 = Utf8_From_1252(text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

Qpainter_Canvas::Face& Qpainter_Canvas::Face_Of(const Text_Style& style) const {
  for (Face& f : faces_) {
    if (f.size_px == style.size_px && f.bold == style.bold) return f;
  }
  const QFont font = Sized_Font(painter_.font(), style);
  faces_.push_back(Face{style.size_px, style.bold, font, QFontMetricsF(font), {}});
  return faces_.back();
}

// Each text is measured once per face: the diagram measures every label where it may go.
Text_Size Qpainter_Canvas::Text_Extent(std::string_view text, const Text_Style& style) const {
  Face& face = Face_Of(style);
  auto [at, added] = face.widths.try_emplace(std::string(text), 0.0);
  if (added) at->second = face.metrics.horizontalAdvance(Shown(text));
  return {at->second, static_cast<double>(style.size_px)};
}

// The text is laid out from its box's top-left corner, turned about it; its height is its size
// in pixels, the ascent of the face scaled to it.
void Qpainter_Canvas::Do_Styled_Text(Px, std::string_view text, const Text_Style& style,
                                     const Text_Box& box) {
  painter_.setRenderHint(QPainter::Antialiasing, Antialiasing());
  painter_.setRenderHint(QPainter::TextAntialiasing, Antialiasing());
  const Face& face = Face_Of(style);
  const double baseline = (style.size_px + face.metrics.ascent() - face.metrics.descent()) / 2.0;
  const QFont old_font = painter_.font();
  painter_.setFont(face.font);
  painter_.setPen(To_Color(Pen().color));
  if (style.angle_deg == 0.0) {
    painter_.drawText(To_Point(box.corner[0]) + QPointF(0.0, baseline), Shown(text));
  } else {
    const QTransform old_transform = painter_.transform();
    painter_.translate(To_Point(box.corner[0]));
    painter_.rotate(-style.angle_deg);
    painter_.drawText(QPointF(0.0, baseline), Shown(text));
    painter_.setTransform(old_transform);
  }
  painter_.setFont(old_font);
}

}  // namespace orv
