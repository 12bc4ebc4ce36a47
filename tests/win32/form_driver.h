// Drives the Win32 windows the way the pilot's clicks and the system's timers would: by window
// messages, with the message boxes and the end of the program recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "win32/win32_ui.h"

namespace orv::win32::testing {

struct Recorded_Message {
  Message_Icon icon = Message_Icon::information;
  std::string text;
};

// Records every message box and every end of the program while it lives.
class Recorder {
 public:
  Recorder() {
    Set_Message_Hook([this](Message_Icon icon, const std::string& text) {
      messages.push_back({icon, text});
    });
    Set_End_Hook([this] { ++ends; });
  }
  ~Recorder() {
    Set_Message_Hook({});
    Set_End_Hook({});
  }
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  std::vector<Recorded_Message> messages;
  int ends = 0;
};

// Delivers the messages waiting for this thread's windows (not the timers': tests send those).
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The control with the name inside `form`; fails the test when there is none.
inline HWND Control(HWND form, const char* name) {
  HWND control = Find_Named(form, name);
  EXPECT_NE(control, nullptr) << "no control " << name;
  return control;
}

// A click on a button, as the pilot's.
inline void Click(HWND form, const char* name) {
  SendMessageW(Control(form, name), BM_CLICK, 0, 0);
  Pump();
}

// One tick of the form's timer with the identifier.
inline void Tick(HWND form, UINT_PTR timer) {
  SendMessageW(form, WM_TIMER, timer, 0);
  Pump();
}

// The control's place in its form's client area.
inline RECT Client_Place(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Picks the item with the caption from the form's menu bar, as the pilot's click would.
inline void Pick_Menu(HWND form, const char* caption) {
  const UINT id = Menu_Item_Id(form, caption);
  ASSERT_NE(id, 0u) << "no menu item " << caption;
  SendMessageW(form, WM_COMMAND, id, 0);
  Pump();
}

// Destroys every window of the program that is still open.
inline void Close_All_Forms() {
  for (const char* name : {"Form1", "Form2", "Form3", "Form4", "Form5", "Form6"}) {
    while (HWND form = Find_Form(name)) DestroyWindow(form);
  }
  Pump();
}

}  // namespace orv::win32::testing
