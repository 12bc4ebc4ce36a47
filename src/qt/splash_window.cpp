#include "qt/splash_window.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "qt/message_box.h"
#include "qt/table_widgets.h"

namespace orv {
namespace {

constexpr int kPictureWidth = SPLASH_PICTURE_W;
constexpr int kPictureHeight = SPLASH_PICTURE_H;
const QColor kChartGreen(0, 192, 0);

// A runway as a long dark strip with its centre line, rotated about its midpoint.
void Draw_Runway(QPainter& p, QPointF centre, double angle_deg, double length, double width) {
  p.save();
  p.translate(centre);
  p.rotate(angle_deg);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(70, 70, 70));
  p.drawRect(QRectF(-length / 2, -width / 2, length, width));
  QPen centre_line(Qt::white, 1.2, Qt::DashLine);
  p.setPen(centre_line);
  p.drawLine(QPointF(-length / 2 + 14, 0), QPointF(length / 2 - 14, 0));
  p.restore();
}

// Sixteen-point rose: a ring of ticks every 10 degrees and the four cardinal letters.
void Draw_Compass_Rose(QPainter& p, QPointF c, double r) {
  p.save();
  p.setPen(QPen(kChartGreen, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, r, r);
  for (int deg = 0; deg < 360; deg += 10) {
    const double a = deg * 3.14159265358979 / 180.0;
    const double inner = (deg % 30 == 0) ? r - 8 : r - 4;
    p.drawLine(QPointF(c.x() + inner * std::sin(a), c.y() - inner * std::cos(a)),
               QPointF(c.x() + r * std::sin(a), c.y() - r * std::cos(a)));
  }
  p.setBrush(kChartGreen);
  QPainterPath north;
  north.moveTo(c.x(), c.y() - r + 10);
  north.lineTo(c.x() - 5, c.y());
  north.lineTo(c.x() + 5, c.y());
  north.closeSubpath();
  p.drawPath(north);
  QFont f(QStringLiteral("Sans Serif"), 7, QFont::Bold);
  p.setFont(f);
  p.drawText(QRectF(c.x() - 6, c.y() - r - 14, 12, 12), Qt::AlignCenter, QStringLiteral("N"));
  p.drawText(QRectF(c.x() - 6, c.y() + r + 2, 12, 12), Qt::AlignCenter, QStringLiteral("S"));
  p.drawText(QRectF(c.x() + r + 2, c.y() - 6, 12, 12), Qt::AlignCenter, QStringLiteral("E"));
  p.drawText(QRectF(c.x() - r - 14, c.y() - 6, 12, 12), Qt::AlignCenter, QStringLiteral("W"));
  p.restore();
}

}  // namespace

QPixmap Draw_Splash_Picture() {
  QPixmap pic(kPictureWidth, kPictureHeight);
  pic.fill(Qt::white);
  QPainter p(&pic);
  p.setRenderHint(QPainter::Antialiasing);

  // Grid of a chart sheet.
  p.setPen(QPen(QColor(220, 235, 220), 1));
  for (int x = 0; x < kPictureWidth; x += 25) p.drawLine(x, 0, x, kPictureHeight);
  for (int y = 0; y < kPictureHeight; y += 25) p.drawLine(0, y, kPictureWidth, y);

  // Taxiways joining the two runways, then the runways over them.
  p.setPen(QPen(QColor(230, 200, 60), 5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(95, 150), QPointF(150, 170));
  p.drawLine(QPointF(150, 170), QPointF(205, 150));
  p.drawLine(QPointF(190, 95), QPointF(215, 150));
  Draw_Runway(p, QPointF(145, 120), -35, 190, 13);
  Draw_Runway(p, QPointF(155, 140), 20, 150, 10);
  p.setPen(QPen(Qt::black));
  p.setFont(QFont(QStringLiteral("Sans Serif"), 7, QFont::Bold));
  p.drawText(QPointF(50, 190), QStringLiteral("16R"));
  p.drawText(QPointF(224, 58), QStringLiteral("34L"));

  // Airspace ring around the field.
  p.setPen(QPen(QColor(0, 0, 200), 1.5, Qt::DashLine));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(145, 125), 120, 100);

  Draw_Compass_Rose(p, QPointF(340, 70), 38);

  p.setPen(QPen(QColor(0, 110, 0)));
  p.setFont(QFont(QStringLiteral("Sans Serif"), 24, QFont::Bold));
  p.drawText(QRectF(240, 170, 150, 40), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("ORVANE"));
  p.setFont(QFont(QStringLiteral("Sans Serif"), 9));
  p.drawText(QRectF(200, 208, 190, 20), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Airport charts for FS2002"));
  p.setPen(QPen(kChartGreen, 2));
  p.drawRect(QRectF(1, 1, kPictureWidth - 2, kPictureHeight - 2));
  return pic;
}

Splash_Window::Splash_Window(Program_State& st, Program_Windows& windows, QWidget* parent)
    : QWidget(parent), behaviour_(st, *this, windows) {
  setObjectName(Ui_Text(SPLASH_WINDOW.name));
  setWindowTitle(Ui_Text(SPLASH_WINDOW.caption));
  setAttribute(Qt::WA_DeleteOnClose);

  const Table_Widgets w(SPLASH_WINDOW, this);
  auto* picture = w.Get<QLabel>("Picture1");
  picture->setPixmap(Draw_Splash_Picture());
  auto* label1 = w.Get<QLabel>("Label1");
  QFont f = label1->font();
  f.setBold(true);
  label1->setFont(f);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(picture);
  layout->addWidget(label1);

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setSingleShot(true);
  timer1_->setInterval(SPLASH_DELAY_MS);
  connect(timer1_, &QTimer::timeout, this, &Splash_Window::Splash_Time_Over);
  behaviour_.Load();
}

void Splash_Window::Show_Message(Message_Icon icon, const std::string& text) {
  orv::Show_Message(this, icon, Ui_Text(text));
}

void Splash_Window::Close() {
  close();
}

void Splash_Window::Enable_Timer1(bool on) {
  if (on) {
    timer1_->start();
  } else {
    timer1_->stop();
  }
}

}  // namespace orv
