#include "win32/win32_ui.h"

#include <commctrl.h>

#include <utility>
#include <vector>

namespace orv::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"OrvaneForm";
constexpr wchar_t kNameProp[] = L"Orvane.Name";
constexpr wchar_t kTableProp[] = L"Orvane.Table";
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif
constexpr UINT kIconResource = 1;

int g_open_forms = 0;
bool g_ended = false;

Message_Hook& Message_Hook_Slot() {
  static Message_Hook hook;
  return hook;
}

std::function<void()>& End_Hook_Slot() {
  static std::function<void()> hook;
  return hook;
}

void Set_Name(HWND window, const char* name) {
  SetPropW(window, kNameProp, const_cast<char*>(name));
}

// The program's window class, and with it the common controls its windows use (the progress
// bar, and the current look of the standard controls that the manifest asks for).
void Register_Form_Class(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(kIconResource));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));             // IDC_ARROW
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
  registered = true;
}

struct Name_Search {
  std::string_view name;
  HWND found = nullptr;
};

BOOL CALLBACK Match_Name(HWND window, LPARAM lp) {
  auto* search = reinterpret_cast<Name_Search*>(lp);
  if (Name_Of(window) != search->name) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK Release_If_Owned(HWND window, LPARAM owner) {
  if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner)) {
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
  }
  return TRUE;
}

// A window that is going leaves the windows it owns (the preferences, the About window) open:
// they stay as the pilot left them, on their own.
void Release_Owned(HWND owner) {
  EnumThreadWindows(GetCurrentThreadId(), Release_If_Owned, reinterpret_cast<LPARAM>(owner));
}

UINT Box_Icon(Message_Icon icon) {
  switch (icon) {
    case Message_Icon::information:
      return MB_ICONINFORMATION;
    case Message_Icon::exclamation:
      return MB_ICONEXCLAMATION;
    case Message_Icon::warning:
      return MB_ICONWARNING;
    case Message_Icon::error:
      return MB_ICONERROR;
  }
  return MB_ICONINFORMATION;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string Text_Of(HWND window) {
  const int n = GetWindowTextLengthW(window);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Utf8(text);
}

void Set_Text(HWND window, std::string_view utf8) {
  SetWindowTextW(window, Wide(utf8).c_str());
}

std::string Name_Of(HWND window) {
  const auto* name = static_cast<const char*>(GetPropW(window, kNameProp));
  return name ? std::string(name) : std::string();
}

HWND Find_Named(HWND parent, std::string_view name) {
  Name_Search search{name};
  EnumChildWindows(parent, Match_Name, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Find_Form(std::string_view name) {
  Name_Search search{name};
  EnumThreadWindows(GetCurrentThreadId(), Match_Name, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

UINT Menu_Item_Id(HWND form, std::string_view caption) {
  HMENU bar = GetMenu(form);
  for (int m = 0; bar && m < GetMenuItemCount(bar); ++m) {
    HMENU menu = GetSubMenu(bar, m);
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
      wchar_t text[128] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
      if (Utf8(text) == caption) return GetMenuItemID(menu, i);
    }
  }
  return 0;
}

namespace {

using Dpi_For_Window = UINT(WINAPI*)(HWND);

// The per-monitor functions exist from Windows 10 on; before, every window has the system's.
void* User32_Function(const char* name) {
  static HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : nullptr;
}

int System_Dpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int found = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return found > 0 ? found : 96;
  }();
  return dpi;
}

}  // namespace

int Dpi_Of(HWND window) {
  static const auto for_window =
      reinterpret_cast<Dpi_For_Window>(User32_Function("GetDpiForWindow"));
  if (window && for_window) {
    const UINT dpi = for_window(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return System_Dpi();
}

int Scaled(int design, int dpi) {
  return MulDiv(design, dpi, 96);
}

HFONT Ui_Font() {
  return Ui_Font(System_Dpi());
}

// The message font at the system's scale, made again for each scale a window asks for.
HFONT Ui_Font(int dpi) {
  static std::vector<std::pair<int, HFONT>> fonts;
  for (const auto& [made_for, font] : fonts) {
    if (made_for == dpi) return font;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  HFONT font = nullptr;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    LOGFONTW wanted = metrics.lfMessageFont;
    wanted.lfHeight = MulDiv(wanted.lfHeight, dpi, System_Dpi());
    font = CreateFontIndirectW(&wanted);
  }
  if (!font) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts.emplace_back(dpi, font);
  return font;
}

HWND Add_Control(HWND parent, const wchar_t* cls, const char* name, std::string_view text,
                 DWORD style, Place at, int id, DWORD ex_style) {
  HWND control =
      CreateWindowExW(ex_style, cls, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, at.x, at.y,
                      at.w, at.h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  if (!control) return nullptr;
  Set_Name(control, name);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Ui_Font()), FALSE);
  return control;
}

// --- Controls and menus from a window table ---

namespace {

struct Kind_Class {
  const wchar_t* cls;
  DWORD style;
  DWORD ex_style;
};

Kind_Class Class_Of(Control_Kind kind, bool is_default) {
  switch (kind) {
    case Control_Kind::frame:
      return {L"BUTTON", BS_GROUPBOX, 0};
    case Control_Kind::label:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Control_Kind::centered_label:
      return {L"STATIC", SS_CENTER | SS_NOPREFIX, 0};
    case Control_Kind::button:
      return {L"BUTTON", static_cast<DWORD>(is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case Control_Kind::check_box:
      return {L"BUTTON", BS_AUTOCHECKBOX, 0};
    case Control_Kind::radio_button:
      return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    case Control_Kind::edit:
      return {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Control_Kind::status_box:
      return {L"EDIT", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Control_Kind::page_text:
      return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case Control_Kind::airport_list:
      return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0};
    case Control_Kind::drive_list:
      return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL, 0};
    case Control_Kind::folder_list:
      return {L"LISTBOX",
              LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  LBS_WANTKEYBOARDINPUT | WS_VSCROLL,
              WS_EX_CLIENTEDGE};
    case Control_Kind::progress_bar:
      return {PROGRESS_CLASSW, PBS_SMOOTH, 0};
    case Control_Kind::picture:
      return {L"STATIC", SS_BITMAP, 0};
    case Control_Kind::item_list:
      return {L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

// A page of text to read keeps the dialog keys out of it: Enter and Esc reach the window's
// buttons even when the pilot has clicked into the text.
LRESULT CALLBACK Page_Text_Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                DWORD_PTR) {
  const LRESULT result = DefSubclassProc(window, msg, wp, lp);
  if (msg == WM_GETDLGCODE) return result & ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  return result;
}

// A menu entry keeps its name in its item data, as a control keeps its name.
void Name_Menu_Item(HMENU menu, UINT position, const char* name) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(name);
  SetMenuItemInfoW(menu, position, TRUE, &info);
}

// Multi-line texts are written with "\n"; an edit control breaks lines at CR LF.
std::string With_Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

}  // namespace

std::vector<HWND> Build_Controls(HWND form, const Window_Table& table) {
  SetPropW(form, kTableProp, const_cast<Window_Table*>(&table));
  const int dpi = Dpi_Of(form);
  std::vector<HWND> built;
  built.reserve(table.controls.size());
  for (size_t i = 0; i < table.controls.size(); ++i) {
    const Control_Row& row = table.controls[i];
    const bool is_default =
        table.default_button != nullptr && std::string_view(table.default_button) == row.name;
    const Kind_Class k = Class_Of(row.kind, is_default);
    DWORD style = k.style;
    if (row.tab_stop) style |= WS_TABSTOP;
    if (row.group) style |= WS_GROUP;
    const std::string caption =
        row.kind == Control_Kind::page_text ? With_Crlf(row.caption) : std::string(row.caption);
    HWND control = Add_Control(form, k.cls, row.name, caption, style,
                               {Scaled(row.rect.x, dpi), Scaled(row.rect.y, dpi),
                                Scaled(row.rect.w, dpi), Scaled(row.rect.h, dpi)},
                               TABLE_CONTROL_ID + static_cast<int>(i), k.ex_style);
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Ui_Font(dpi)), FALSE);
    if (control && row.kind == Control_Kind::page_text) {
      SetWindowSubclass(control, Page_Text_Proc, 0, 0);
    }
    built.push_back(control);
  }
  return built;
}

HMENU Build_Menu_Bar(const Window_Table& table) {
  if (table.menus.empty()) return nullptr;
  HMENU bar = CreateMenu();
  for (size_t i = 0; i < table.menus.size(); ++i) {
    const Menu_Row& row = table.menus[i];
    if (row.parent != nullptr) continue;
    HMENU popup = CreatePopupMenu();
    for (size_t j = 0; j < table.menus.size(); ++j) {
      const Menu_Row& item = table.menus[j];
      if (item.parent == nullptr || std::string_view(item.parent) != row.name) continue;
      AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(TABLE_MENU_ID + static_cast<int>(j)),
                  Wide(item.caption).c_str());
      Name_Menu_Item(popup, static_cast<UINT>(GetMenuItemCount(popup) - 1), item.name);
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Wide(row.caption).c_str());
    Name_Menu_Item(bar, static_cast<UINT>(GetMenuItemCount(bar) - 1), row.name);
  }
  return bar;
}

std::string_view Command_Name(const Window_Table& table, int id) {
  if (id == IDOK) return table.default_button != nullptr ? table.default_button : "";
  const int control = id - TABLE_CONTROL_ID;
  if (control >= 0 && static_cast<size_t>(control) < table.controls.size()) {
    return table.controls[static_cast<size_t>(control)].name;
  }
  const int item = id - TABLE_MENU_ID;
  if (item >= 0 && static_cast<size_t>(item) < table.menus.size()) {
    return table.menus[static_cast<size_t>(item)].name;
  }
  return {};
}

// --- Form ---

int Form::Open_Count() {
  return g_open_forms;
}

Form::~Form() = default;

void Form::Create(const char* name, std::string_view caption, DWORD style, DWORD ex_style,
                  int client_w, int client_h, HMENU menu, HWND owner) {
  Register_Form_Class(&Form::Window_Proc);
  const int dpi = System_Dpi();
  RECT outer{0, 0, Scaled(client_w, dpi), Scaled(client_h, dpi)};
  AdjustWindowRectEx(&outer, style, menu != nullptr, ex_style);
  creating_ = true;
  hwnd_ = CreateWindowExW(ex_style, kFormClass, Wide(caption).c_str(), style, CW_USEDEFAULT,
                          CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                          owner, menu, GetModuleHandleW(nullptr), this);
  creating_ = false;
  if (hwnd_) Set_Name(hwnd_, name);
}

void Form::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void Form::Start_Timer(UINT_PTR id, UINT ms) {
  SetTimer(hwnd_, id, ms, nullptr);
}

void Form::Stop_Timer(UINT_PTR id) {
  KillTimer(hwnd_, id);
}

LRESULT Form::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Form::Window_Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    ++g_open_forms;
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    RemovePropW(hwnd, kNameProp);
    RemovePropW(hwnd, kTableProp);
    --g_open_forms;
    // A window that fails while being created leaves its form to the one creating it.
    if (form->creating_) {
      form->hwnd_ = nullptr;
    } else {
      delete form;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return form->Dispatch(msg, wp, lp);
}

LRESULT Form::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  ++depth_;
  const LRESULT result = Handle_Message(msg, wp, lp);
  if (--depth_ > 0 || !closing_ || msg == WM_DESTROY) return result;
  depth_ = 1;  // the messages of the destruction itself destroy nothing more
  Release_Owned(hwnd_);
  DestroyWindow(hwnd_);  // deletes this form: nothing may follow
  return result;
}

LRESULT Form::Handle_Message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (HIWORD(wp) != 0) break;  // minimised: the system keeps the focus where it is
      Activated(LOWORD(wp) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED:
      Dpi_Changed(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      break;
    case WM_COMMAND:
      Command(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_TIMER:
      Timer(wp);
      return 0;
    case WM_CLOSE:
      // Asked once: a close that comes while the unload runs (its message box is up) or after
      // it agreed changes nothing.
      if (closing_ || asking_) return 0;
      asking_ = true;
      closing_ = Closing();
      asking_ = false;
      return 0;
    default:
      break;
  }
  return Handle(msg, wp, lp);
}

// Leaving, the window remembers which of its controls had the focus; activated again, it gives
// the focus back to that control, or to the table's first one when none had it yet.
void Form::Activated(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
    return;
  }
  HWND target = last_focus_ && IsWindow(last_focus_) && IsChild(hwnd_, last_focus_)
                    ? last_focus_
                    : nullptr;
  const auto* table = static_cast<const Window_Table*>(GetPropW(hwnd_, kTableProp));
  if (!target && table && table->first_focus) {
    target = Find_Named(hwnd_, table->first_focus);
    // A box that opens holding a text has it selected, as the dialog keys leave it: what the
    // pilot types replaces it.
    wchar_t cls[8] = {};
    if (target && GetClassNameW(target, cls, 8) && lstrcmpiW(cls, L"Edit") == 0) {
      SendMessageW(target, EM_SETSEL, 0, -1);
    }
  }
  SetFocus(target ? target : hwnd_);
}

// On a monitor of another scale the window takes the size the system suggests, and its controls
// their design places and font at the new scale.
void Form::Dpi_Changed(int dpi, const RECT& suggested) {
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  const auto* table = static_cast<const Window_Table*>(GetPropW(hwnd_, kTableProp));
  if (!table) return;
  for (const Control_Row& row : table->controls) {
    HWND control = Find_Named(hwnd_, row.name);
    if (!control) continue;
    MoveWindow(control, Scaled(row.rect.x, dpi), Scaled(row.rect.y, dpi), Scaled(row.rect.w, dpi),
               Scaled(row.rect.h, dpi), TRUE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Ui_Font(dpi)), TRUE);
  }
}

void Close_Form(HWND form) {
  SendMessageW(form, WM_CLOSE, 0, 0);
}

HWND Active_Form() {
  HWND active = GetActiveWindow();
  return active && !Name_Of(active).empty() ? active : nullptr;
}

// --- Messages and the end ---

void Show_Message_Box(HWND owner, Message_Icon icon, std::string_view text) {
  if (const Message_Hook& hook = Message_Hook_Slot()) {
    hook(icon, std::string(text));
    return;
  }
  MessageBoxW(owner, Wide(text).c_str(), Wide(MESSAGE_TITLE).c_str(), MB_OK | Box_Icon(icon));
}

void Set_Message_Hook(Message_Hook hook) {
  Message_Hook_Slot() = std::move(hook);
}

void End_Program() {
  if (const auto& hook = End_Hook_Slot()) {
    hook();
    return;
  }
  g_ended = true;
  PostQuitMessage(0);
}

void Set_End_Hook(std::function<void()> hook) {
  End_Hook_Slot() = std::move(hook);
}

namespace {

// Enter in a list that asks for its keys (a folder list) is the list's own key, sent on to its
// window, not the dialog's default button.
bool Wants_Own_Enter(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return false;
  wchar_t cls[16] = {};
  GetClassNameW(msg.hwnd, cls, 16);
  return lstrcmpiW(cls, L"ListBox") == 0 &&
         (GetWindowLongW(msg.hwnd, GWL_STYLE) & LBS_WANTKEYBOARDINPUT) != 0;
}

}  // namespace

void Dispatch_Message(MSG& msg) {
  HWND form = GetAncestor(msg.hwnd, GA_ROOT);
  if (!form || Wants_Own_Enter(msg) || !IsDialogMessageW(form, &msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int Run_Message_Loop() {
  MSG msg;
  while (!g_ended && Form::Open_Count() > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    Dispatch_Message(msg);
    // Each window opens the next one before it goes, so none open means the program is done.
    if (Form::Open_Count() == 0) break;
  }
  return 0;
}

}  // namespace orv::win32
