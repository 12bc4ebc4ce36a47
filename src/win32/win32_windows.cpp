#include "win32/win32_windows.h"

#include <utility>

#include "win32/about_form.h"
#include "win32/chart_form.h"
#include "win32/nearest_form.h"
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

// The close of a form that also forgets its handle, which the system may hand out again.
Window_Closed Forgetting(HWND& form, Window_Closed on_close) {
  return [&form, on_close = std::move(on_close)] {
    form = nullptr;
    on_close();
  };
}

}  // namespace

Win32_Windows::Win32_Windows(Program_State& st, Link_Maker make_link, Tick_Clock clock)
    : st_(st), make_link_(std::move(make_link)), clock_(std::move(clock)) {}

HWND Win32_Windows::Open_Splash() {
  return Open_Splash_Form(st_, *this);
}

HWND Win32_Windows::Open_Setup() {
  return Open_Setup_Form(st_, *this);
}

HWND Win32_Windows::Open_Selection() {
  return Open_Selection_Form(st_, *this, clock_);
}

HWND Win32_Windows::Open_Chart() {
  return Open_Chart_Form(st_, *this, make_link_());
}

void Win32_Windows::Show_Preferences(Window_Closed closed) {
  prefs_policy_.Show(std::move(closed), {.is_open = [this] { return Is_Open(prefs_); },
                                         .bring_forward = [this] { Bring_Forward(prefs_); },
                                         .open =
                                             [this](Window_Closed on_close) {
                                               prefs_ = Open_Preferences_Form(
                                                   st_, Forgetting(prefs_, std::move(on_close)));
                                               return prefs_ != nullptr;
                                             }});
}

void Win32_Windows::Show_About(Window_Closed closed) {
  about_policy_.Show(std::move(closed),
                     {.is_open = [this] { return Is_Open(about_); },
                      .bring_forward = [this] { Bring_Forward(about_); },
                      .open =
                          [this](Window_Closed on_close) {
                            about_ = Open_About_Form(Forgetting(about_, std::move(on_close)));
                            return about_ != nullptr;
                          }});
}

void Win32_Windows::Show_Nearest(Nearest_Request request) {
  if (Is_Open(nearest_)) Close_Form(nearest_);
  Window_Closed closed = std::move(request.closed);
  request.closed = Forgetting(nearest_, [closed] {
    if (closed) closed();
  });
  Window_Closed on_close = request.closed;
  nearest_ = Open_Nearest_Form(std::move(request));
  // A window that could not be made tells its opener at once, which waits for no close.
  if (!nearest_) on_close();
}

HWND Win32_Windows::Nearest() const {
  return Is_Open(nearest_) ? nearest_ : nullptr;
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
