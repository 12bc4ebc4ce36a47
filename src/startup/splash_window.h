// The splash window (Form1): the program's first window. Its one-shot timer decides, three
// seconds after start, between the setup wizard (first run) and the airport list (normal run).
#pragma once

#include <QPixmap>
#include <QWidget>

class QTimer;

namespace orv {

struct Program_State;

inline constexpr int SPLASH_DELAY_MS = 3000;

// The splash artwork, drawn at start-up: a small airport chart with two runways, a compass rose
// and the program's name.
QPixmap Draw_Splash_Picture();

class Splash_Window : public QWidget {
  Q_OBJECT

 public:
  explicit Splash_Window(Program_State& st, QWidget* parent = nullptr);

  QTimer* Timer1() const { return timer1_; }

 public Q_SLOTS:
  // The timer's tick: runs the start-up check once and hands over to the next window.
  void Timer1_Timer();

 private:
  Program_State& st_;
  QTimer* timer1_ = nullptr;
};

// Opens the splash window with its timer running.
Splash_Window* Show_Splash_Window(Program_State& st);

}  // namespace orv
