#include "qt/qt_windows.h"

#include <utility>

#include "qt/about_window.h"
#include "qt/chart_window.h"
#include "qt/message_box.h"
#include "qt/nearest_window.h"
#include "qt/preferences_window.h"
#include "qt/selection_window.h"
#include "qt/setup_window.h"
#include "qt/splash_window.h"

namespace orv {
namespace {

template <class W>
W* Shown(W* w) {
  w->show();
  return w;
}

template <class W>
void Bring_Forward(W* w) {
  w->raise();
  w->activateWindow();
}

}  // namespace

Qt_Windows::Qt_Windows(Program_State& st, Link_Maker make_link, Tick_Clock clock)
    : st_(st), make_link_(std::move(make_link)), clock_(std::move(clock)) {}

Splash_Window* Qt_Windows::Open_Splash() {
  return Shown(new Splash_Window(st_, *this));
}

Setup_Window* Qt_Windows::Open_Setup() {
  return Shown(new Setup_Window(st_, *this));
}

Selection_Window* Qt_Windows::Open_Selection() {
  return Shown(new Selection_Window(st_, *this, clock_));
}

Chart_Window* Qt_Windows::Open_Chart() {
  auto* w = new Chart_Window(st_, *this, make_link_());
  if (!w->Load()) {
    w->deleteLater();
    return nullptr;
  }
  return Shown(w);
}

void Qt_Windows::Show_Preferences(Window_Closed closed) {
  prefs_policy_.Show(std::move(closed),
                     {.is_open = [this] { return prefs_ && prefs_->isVisible(); },
                      .bring_forward = [this] { Bring_Forward(prefs_.data()); },
                      .open =
                          [this](Window_Closed on_close) {
                            prefs_ = Show_Preferences_Window(st_, std::move(on_close));
                            return !prefs_.isNull();
                          }});
}

void Qt_Windows::Show_About(Window_Closed closed) {
  about_policy_.Show(std::move(closed),
                     {.is_open = [this] { return about_ && about_->isVisible(); },
                      .bring_forward = [this] { Bring_Forward(about_.data()); },
                      .open =
                          [this](Window_Closed on_close) {
                            about_ = Show_About_Window(std::move(on_close));
                            return !about_.isNull();
                          }});
}

void Qt_Windows::Show_Nearest(Nearest_Request request) {
  if (nearest_) nearest_->close();
  nearest_ = Show_Nearest_Window(std::move(request));
}

Nearest_Window* Qt_Windows::Nearest() const {
  return nearest_.data();
}

Preferences_Window* Qt_Windows::Preferences() const {
  return prefs_.data();
}

About_Window* Qt_Windows::About() const {
  return about_.data();
}

void Qt_Windows::End_Program() {
  orv::End_Program();
}

}  // namespace orv
