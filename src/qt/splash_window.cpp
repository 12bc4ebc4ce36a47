#include "qt/splash_window.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include "behaviour/splash_picture.h"
#include "qt/message_box.h"
#include "qt/qpainter_canvas.h"
#include "qt/table_widgets.h"

namespace orv {

QPixmap Splash_Pixmap() {
  QPixmap pic(SPLASH_PICTURE_W, SPLASH_PICTURE_H);
  pic.fill(Qt::white);
  QPainter p(&pic);
  Qpainter_Canvas canvas(p, QRect(0, 0, SPLASH_PICTURE_W, SPLASH_PICTURE_H));
  canvas.Set_Antialiasing(true);
  Draw_Splash_Picture(canvas, 1.0);
  return pic;
}

Splash_Window::Splash_Window(Program_State& st, Program_Windows& windows, QWidget* parent)
    : QWidget(parent), behaviour_(st, *this, windows) {
  setObjectName(Ui_Text(SPLASH_WINDOW.name));
  setWindowTitle(Ui_Text(SPLASH_WINDOW.caption));
  setAttribute(Qt::WA_DeleteOnClose);

  const Table_Widgets w(SPLASH_WINDOW, this);
  auto* picture = w.Get<QLabel>("Picture1");
  picture->setPixmap(Splash_Pixmap());
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
