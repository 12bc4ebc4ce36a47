// The splash window (Form1) in Qt: the picture, the version and the one-shot timer, whose tick
// the splash behaviour turns into the setup wizard or the airport list.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "behaviour/splash_behaviour.h"

class QTimer;

namespace orv {

// The splash artwork, drawn at start-up: a small airport chart with two runways, a compass rose
// and the program's name.
QPixmap Splash_Pixmap();

class Splash_Window : public QWidget, public Splash_View {
  Q_OBJECT

 public:
  Splash_Window(Program_State& st, Program_Windows& windows, QWidget* parent = nullptr);

  QTimer* Timer1() const { return timer1_; }

  void Show_Message(Message_Icon icon, const std::string& text) override;
  void Close() override;
  void Enable_Timer1(bool on) override;

 public Q_SLOTS:
  void Splash_Time_Over() { behaviour_.Splash_Time_Over(); }

 private:
  Splash_Behaviour behaviour_;
  QTimer* timer1_ = nullptr;
};

}  // namespace orv
