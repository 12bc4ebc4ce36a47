// Drives the Win32 windows the way the pilot's clicks and the system's timers would: by window
// messages, with the message boxes and the end of the program recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
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

// A key pressed and released on the control that has the focus, through the program's message
// loop: the dialog keys (Tab, Enter, Esc) reach the window as the system would take them.
inline void Press_Key(HWND focus, WPARAM key) {
  for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
    MSG msg{focus, message, key, message == WM_KEYUP ? 0xC0000001 : 1, 0, {}};
    Dispatch_Message(msg);
    Pump();
  }
}

// Characters typed into the control that has the focus, one by one, through the message loop.
inline void Type_Keys(HWND focus, std::wstring_view keys) {
  for (wchar_t key : keys) {
    MSG msg{focus, WM_CHAR, key, 1, 0, {}};
    Dispatch_Message(msg);
    Pump();
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

// "name caption" of a menu entry: its name is kept in its item data.
inline std::string Menu_Entry(HMENU menu, int at) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, static_cast<UINT>(at), text, 64, MF_BYPOSITION);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  GetMenuItemInfoW(menu, static_cast<UINT>(at), TRUE, &info);
  const auto* name = reinterpret_cast<const char*>(info.dwItemData);
  return std::string(name ? name : "") + " " + Utf8(text);
}

// The form holds every control of its table, named, at its design place, with its caption, and
// the menus of the table in their order; its caption too unless its load changes it.
inline void Expect_Built(HWND form, const Window_Table& table, bool caption_as_designed = true) {
  EXPECT_EQ(Name_Of(form), table.name);
  if (caption_as_designed) {
    EXPECT_EQ(Text_Of(form), table.caption);
  }
  std::string want_menus;
  for (const Menu_Row& row : table.menus) {
    want_menus += std::string(row.parent ? " > " : "") + row.name + " " + row.caption;
  }
  std::string menus;
  HMENU bar = GetMenu(form);
  for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) {
    menus += Menu_Entry(bar, i);
    HMENU popup = GetSubMenu(bar, i);
    for (int j = 0; j < GetMenuItemCount(popup); ++j) menus += " > " + Menu_Entry(popup, j);
  }
  EXPECT_EQ(menus, want_menus);
  // The design is laid out at 96 dots per inch; a run at another scale names the one it expects.
  const int dpi = Dpi_Of(form);
  if (const char* expected = std::getenv("ORVANE_EXPECT_DPI")) {
    EXPECT_EQ(dpi, std::atoi(expected));
  }
  const auto at = [dpi](int design) { return Scaled(design, dpi); };
  for (const Control_Row& row : table.controls) {
    HWND control = Control(form, row.name);
    if (control == nullptr) continue;
    const RECT r = Client_Place(control);
    const bool drops_down =
        row.kind == Control_Kind::airport_list || row.kind == Control_Kind::drive_list;
    EXPECT_EQ(r.left, at(row.rect.x)) << row.name;
    EXPECT_EQ(r.top, at(row.rect.y)) << row.name;
    EXPECT_EQ(r.right - r.left, at(row.rect.w)) << row.name;
    if (!drops_down) {
      EXPECT_EQ(r.bottom - r.top, at(row.rect.h)) << row.name;
    }
    // What a window loads into its edit boxes and lists is its own, not the table's.
    const bool shows_caption = row.kind != Control_Kind::page_text && !drops_down &&
                               row.kind != Control_Kind::picture && row.kind != Control_Kind::edit;
    if (shows_caption) {
      EXPECT_EQ(Text_Of(control), row.caption) << row.name;
    }
  }
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
