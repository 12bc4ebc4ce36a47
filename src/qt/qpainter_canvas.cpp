#include "qt/qpainter_canvas.h"

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

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
  qpen.setCapStyle(Qt::RoundCap);
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
  painter_.drawLine(To_Point(from), To_Point(to));
}

void Qpainter_Canvas::Do_Ellipse(Px c1, Px c2) {
  Use_Pen(true);
  painter_.drawEllipse(Box(c1, c2));
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

void Qpainter_Canvas::Do_Polygon(std::span<const Px> points) {
  Use_Pen(true);
  QPolygonF polygon;
  for (const Px& p : points) polygon << To_Point(p);
  QPen pen = painter_.pen();
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
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

Text_Size Qpainter_Canvas::Text_Extent(std::string_view text, const Text_Style& style) const {
  const QFontMetricsF metrics(Sized_Font(painter_.font(), style));
  return {metrics.horizontalAdvance(Shown(text)), static_cast<double>(style.size_px)};
}

// The text is laid out from its box's top-left corner, turned about it; its height is its size
// in pixels, the ascent of the face scaled to it.
void Qpainter_Canvas::Do_Styled_Text(Px, std::string_view text, const Text_Style& style,
                                     const Text_Box& box) {
  painter_.setRenderHint(QPainter::Antialiasing, Antialiasing());
  painter_.setRenderHint(QPainter::TextAntialiasing, Antialiasing());
  const QFont font = Sized_Font(painter_.font(), style);
  const QFontMetricsF metrics(font);
  painter_.save();
  painter_.setFont(font);
  painter_.setPen(To_Color(Pen().color));
  painter_.translate(To_Point(box.corner[0]));
  painter_.rotate(-style.angle_deg);
  const double baseline = (style.size_px + metrics.ascent() - metrics.descent()) / 2.0;
  painter_.drawText(QPointF(0.0, baseline), Shown(text));
  painter_.restore();
}

}  // namespace orv
