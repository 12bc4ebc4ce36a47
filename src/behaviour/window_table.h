// Each window's controls and menus, described once without a toolkit: the Qt and the Win32
// views build them from these tables (one builder each) and find them by name, as the tests and
// the Windows driver do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orv {

enum class Control_Kind : uint8_t {
  frame,           // a group box around other controls
  label,           // one line of text
  centered_label,  // one line of text, centred
  button,
  check_box,
  radio_button,
  edit,          // one line the pilot types
  status_box,    // one line the program writes and the pilot may select but not change
  page_text,     // several lines the pilot reads and scrolls
  airport_list,  // the airport list: typed into, and dropped down
  drive_list,    // a drop-down list to choose from
  folder_list,   // the wizard's folder list
  progress_bar,
  picture,
  item_list,  // a list of lines to choose one from
};

// A rectangle of the window's client area at design, in pixels.
struct Design_Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

struct Control_Row {
  const char* name;  // "Command1"
  Control_Kind kind;
  const char* caption;  // UTF-8, "" for none
  Design_Rect rect;
  bool tab_stop = false;  // the tab order is the order of the table's tab stops
  bool group = false;     // starts a group: of option buttons, and of the arrow keys
};

// A menu of the menu bar (parent null), or an item of the menu named parent.
struct Menu_Row {
  const char* name;
  const char* caption;
  const char* parent = nullptr;
};

struct Window_Table {
  const char* name;     // "Form2"
  const char* caption;  // at design; a window may change it when it loads
  Design_Rect client;   // the client area at design (w and h)
  std::span<const Control_Row> controls;
  std::span<const Menu_Row> menus = {};
  const char* default_button = nullptr;  // pressed by Enter
  const char* first_focus = nullptr;     // takes the focus when the window opens

  // The position of the control or menu row of that name; controls.size() (menus.size()) when
  // there is none.
  size_t Index_Of(std::string_view control) const {
    size_t i = 0;
    while (i < controls.size() && control != controls[i].name) ++i;
    return i;
  }
  size_t Menu_Index_Of(std::string_view menu) const {
    size_t i = 0;
    while (i < menus.size() && menu != menus[i].name) ++i;
    return i;
  }
  // The row of that name; a blank label row when there is none.
  const Control_Row& Control(std::string_view control) const {
    static constexpr Control_Row kNone{"", Control_Kind::label, "", {}};
    const size_t i = Index_Of(control);
    return i < controls.size() ? controls[i] : kNone;
  }
};

}  // namespace orv
