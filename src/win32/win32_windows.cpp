#include "win32/win32_windows.h"

#include <utility>

#include "win32/about_form.h"
#include "win32/chart_form.h"
#include "win32/preferences_form.h"
#include "win32/selection_form.h"
#include "win32/setup_form.h"
#include "win32/splash_form.h"

namespace orv::win32 {
namespace {

bool Is_Open(HWND form) {
  return form && IsWindow(form);
}

void Bring_Forward(HWND form) {
  ShowWindow(form, SW_SHOWNORMAL);
  SetForegroundWindow(form);
}

}  // namespace

Win32_Windows::Win32_Windows(Program_State& st, Selection_Engine engine, Link_Maker make_link,
                             Tick_Clock clock)
    : st_(st),
      engine_(std::move(engine)),
      make_link_(std::move(make_link)),
      clock_(std::move(clock)) {}

HWND Win32_Windows::Open_Splash() {
  return Open_Splash_Form(st_, *this);
}

HWND Win32_Windows::Open_Setup() {
  return Open_Setup_Form(st_, *this);
}

HWND Win32_Windows::Open_Selection() {
  return Open_Selection_Form(st_, *this, engine_, clock_);
}

HWND Win32_Windows::Open_Chart() {
  return Open_Chart_Form(st_, *this, make_link_());
}

void Win32_Windows::Show_Preferences(Window_Closed closed) {
  prefs_closed_ = std::move(closed);
  if (Is_Open(prefs_)) {
    Bring_Forward(prefs_);
    return;
  }
  Window_Closed told = [this] {
    prefs_ = nullptr;
    if (Window_Closed opener = std::exchange(prefs_closed_, {})) opener();
  };
  prefs_ = Open_Preferences_Form(st_, told);
  // No window to close later: the opener is told now, so it does not wait for ever.
  if (!prefs_) told();
}

void Win32_Windows::Show_About(Window_Closed closed) {
  about_closed_ = std::move(closed);
  if (Is_Open(about_)) {
    Bring_Forward(about_);
    return;
  }
  Window_Closed told = [this] {
    about_ = nullptr;
    if (Window_Closed opener = std::exchange(about_closed_, {})) opener();
  };
  about_ = Open_About_Form(told);
  if (!about_) told();
}

HWND Win32_Windows::Preferences() const {
  return Is_Open(prefs_) ? prefs_ : nullptr;
}

HWND Win32_Windows::About() const {
  return Is_Open(about_) ? about_ : nullptr;
}

void Win32_Windows::End_Program() {
  win32::End_Program();
}

}  // namespace orv::win32
