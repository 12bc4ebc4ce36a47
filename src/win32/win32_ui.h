// The pieces every Win32 window of the program is made of: one window class whose messages go to
// a Form object, named child controls placed in pixels, UTF-8 texts shown through the wide
// functions, window timers, the program's message boxes and its end. Tests find controls by the
// names the program gives them (Form3, Combo1, Command3...), as they would in the Qt windows.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "behaviour/program_windows.h"
#include "behaviour/window_table.h"

namespace orv::win32 {

// Design sizes are given in twips; a pixel is 15 of them.
constexpr int Twips_Px(int twips) {
  return twips / 15;
}

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// A window's or control's text, in UTF-8.
std::string Text_Of(HWND window);
void Set_Text(HWND window, std::string_view utf8);

// The name a window or control was given, or "" for one of someone else's.
std::string Name_Of(HWND window);
// The first window among `parent`'s descendants with the name, or null.
HWND Find_Named(HWND parent, std::string_view name);
// The first top-level window of this thread with the name, or null.
HWND Find_Form(std::string_view name);

// The command identifier of the item with the caption in the form's menu bar, or 0.
UINT Menu_Item_Id(HWND form, std::string_view caption);

// The dots per inch of the monitor `window` is on (96 is 100 %); of the system for null.
int Dpi_Of(HWND window);
// A length of the design (laid out at 96 dots per inch) at `dpi`.
int Scaled(int design, int dpi);

// The font every window and control uses, at the system's dots per inch or at `dpi`.
HFONT Ui_Font();
HFONT Ui_Font(int dpi);

struct Place {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

// A child control of `parent` of the system class `cls` (L"BUTTON", L"EDIT", WC_COMBOBOXW...),
// with the name, text, style (WS_CHILD | WS_VISIBLE are added) and command identifier.
HWND Add_Control(HWND parent, const wchar_t* cls, const char* name, std::string_view text,
                 DWORD style, Place at, int id = 0, DWORD ex_style = 0);

// The command identifiers of a table's controls and menu items: above every identifier a dialog
// key produces (IDOK for Enter, IDCANCEL for Esc), so no key stands for a control.
inline constexpr int TABLE_CONTROL_ID = 1000;
inline constexpr int TABLE_MENU_ID = 2000;

// Creates the controls of `table` on `form` in table order, which is their tab order: each with
// the system class and style of its kind, its name, caption and design rectangle scaled to the
// form's dots per inch, and the identifier TABLE_CONTROL_ID + its row. Returns them by row (null
// where one could not be made). The form keeps the table: it lays the controls out again when
// it moves to a monitor of another scale, and gives the table's first control the focus.
std::vector<HWND> Build_Controls(HWND form, const Window_Table& table);

// The menu bar of `table`, every menu and item named; an item's identifier is TABLE_MENU_ID +
// its row. Null when the table has no menus.
HMENU Build_Menu_Bar(const Window_Table& table);

// The name of the control or menu item a command identifier stands for; Enter (IDOK) stands for
// the table's default button. Empty for any other identifier.
std::string_view Command_Name(const Window_Table& table, int id);

// A window of the program. The object lives as long as its window: it is deleted when the
// window is destroyed, so a view opened with `new` needs no owner. A window's own events may
// close it (NEXT STEP, GET AIRPORT, a failed load): the unload runs at once, as for the close
// box, but the window, and with it the behaviour whose handler may still be running, is
// destroyed only when the outermost of its messages has returned.
class Form {
 public:
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Hwnd() const { return hwnd_; }

  // The number of the program's windows that exist: the program ends when the last one goes.
  static int Open_Count();

 protected:
  Form() = default;
  virtual ~Form();

  // Creates the top-level window with a client area of client_w by client_h pixels (menu bar
  // not included), hidden; `name` is a string literal. When the system cannot create it,
  // Hwnd() stays null and the form is the caller's to delete.
  // The client size is the design's, scaled to the system's dots per inch. An `owner` keeps the
  // window above it, minimised with it and off the taskbar.
  void Create(const char* name, std::string_view caption, DWORD style, DWORD ex_style, int client_w,
              int client_h, HMENU menu = nullptr, HWND owner = nullptr);
  void Show();

  // WM_COMMAND from a control or a menu item.
  virtual void Command(int /*id*/, int /*code*/, HWND /*control*/) {}
  virtual void Timer(UINT_PTR /*id*/) {}
  // WM_CLOSE: true lets the window be destroyed. It is not asked again while it runs, nor once
  // it has agreed.
  virtual bool Closing() { return true; }
  // Anything else; the default is the system's handling.
  virtual LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  void Start_Timer(UINT_PTR id, UINT ms);
  void Stop_Timer(UINT_PTR id);

 private:
  static LRESULT CALLBACK Window_Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle_Message(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  bool creating_ = false;  // inside Create: a failed creation must not delete the form
  int depth_ = 0;          // messages of this window being handled, nested
  bool asking_ = false;    // Closing() is running
  bool closing_ = false;   // the close was agreed; the window goes when depth_ is back to 0
  HWND last_focus_ = nullptr;  // the control that had the focus when the window was left

  void Activated(bool active);
  void Dpi_Changed(int dpi, const RECT& suggested);
};

// Makes a form with `new` and opens it (its Open()): its window, or null, and no form left, when
// the system could not create the window.
template <class Made_Form, class... Args>
HWND Open_New_Form(Args&&... args) {
  auto* form = new Made_Form(std::forward<Args>(args)...);
  if (!form->Hwnd()) {
    delete form;
    return nullptr;
  }
  form->Open();
  return form->Hwnd();
}

// Asks a form to close, as its close box does: its unload runs, and it may refuse.
void Close_Form(HWND form);

// A modal message box titled "Orvane Message" with the icon; returns once it is dismissed.
void Show_Message_Box(HWND owner, Message_Icon icon, std::string_view text);
// With a hook set, messages go to it and no box is shown. An empty hook restores the boxes.
using Message_Hook = std::function<void(Message_Icon icon, const std::string& text)>;
void Set_Message_Hook(Message_Hook hook);

// Ends the program: its message loop stops. A hook set by a test is called instead.
void End_Program();
void Set_End_Hook(std::function<void()> hook);

// One message of the loop: the dialog keys (Tab, Enter, Esc) go to the window's controls, Enter
// in a folder list to the list, everything else to its window.
void Dispatch_Message(MSG& msg);

// The window that is active now, when it is one of the program's own, or null: the owner of a
// window it opens.
HWND Active_Form();

// Runs the program's message loop until the program ends or its last window has gone; keyboard
// navigation (Tab, Enter) works in every window.
int Run_Message_Loop();

}  // namespace orv::win32
