#include "win32/chart_form.h"

#include <windowsx.h>
// The common controls and the print dialog need the window types first.
// clang-format off
#include <commctrl.h>
#include <commdlg.h>
// clang-format on

#include <optional>
#include <utility>
#include <vector>

#include "behaviour/chart_behaviour.h"
#include "win32/gdi_canvas.h"

namespace orv::win32 {
namespace {

constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Asks a chart window to draw its chart onto the canvas in lParam.
UINT Draw_On_Canvas_Message() {
  static const UINT msg = RegisterWindowMessageW(L"Orvane.DrawChartOnCanvas");
  return msg;
}

class Chart_Form final : public Form, public Chart_Window_View {
 public:
  Chart_Form(Program_State& st, Program_Windows& windows, Link_State link)
      : behaviour_(st, *this, windows, std::move(link)) {
    Create(CHART_WINDOW.name, CHART_WINDOW.caption, kStyle, 0, CHART_WINDOW.client.w,
           CHART_WINDOW.client.h, Build_Menu_Bar(CHART_WINDOW));
    if (!Hwnd()) return;
    const std::vector<HWND> built = Build_Controls(Hwnd(), CHART_WINDOW);
    label1_ = built[CHART_WINDOW.Index_Of("Label1")];
    // The label takes its own clicks, so a click on it does not re-centre the chart.
    SetWindowLongPtrW(label1_, GWL_STYLE, GetWindowLongPtrW(label1_, GWL_STYLE) | SS_NOTIFY);
    // The chart's keys reach the chart wherever the focus is among its buttons.
    for (const char* name : {"Command2", "Command3", "Command4"}) {
      SetWindowSubclass(built[CHART_WINDOW.Index_Of(name)], &Chart_Key_Subclass, 0, 0);
    }
  }

  bool Load() { return behaviour_.Load(); }
  void Show_Now() { Show(); }

  void Show_Message(Message_Icon icon, const std::string& text) override {
    Show_Message_Box(Hwnd(), icon, text);
  }
  void Close() override { Close_Form(Hwnd()); }
  void Make_Topmost() override {
    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  void Set_Caption(const std::string& caption) override { Set_Text(Hwnd(), caption); }
  void Set_Label1(const std::string& caption) override {
    Set_Text(label1_, caption);
    UpdateWindow(label1_);
  }
  void Enable_Timer1(bool on) override {
    if (on) {
      Start_Timer(CHART_TIMER1, TIMER1_MS);
    } else {
      Stop_Timer(CHART_TIMER1);
    }
  }
  void Redraw() override { InvalidateRect(Hwnd(), nullptr, FALSE); }
  Window_Size Outer_Size() const override {
    RECT outer{};
    GetWindowRect(Hwnd(), &outer);
    return {outer.right - outer.left, outer.bottom - outer.top};
  }
  bool Is_Minimized() const override { return IsIconic(Hwnd()) != FALSE; }
  void Show_Tooltip(const std::string& text, int32_t x, int32_t y) override;

 protected:
  void Command(int id, int /*code*/, HWND /*control*/) override;
  void Timer(UINT_PTR id) override {
    if (id == CHART_TIMER1) behaviour_.Aircraft_Tick();
  }
  bool Closing() override {
    behaviour_.Unload();
    return true;
  }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint();
  void Draw_Into(HDC dc);
  void Print();
  void Mouse_Press(bool left_button, LPARAM lp);
  void Mouse_Release(bool left_button);
  void Mouse_Move(LPARAM lp);
  void Mouse_Wheel(WPARAM wp, LPARAM lp);
  void Make_Tooltip();
  static LRESULT CALLBACK Chart_Key_Subclass(HWND control, UINT msg, WPARAM wp, LPARAM lp,
                                             UINT_PTR id, DWORD_PTR data);

  Chart_Behaviour behaviour_;
  HWND label1_ = nullptr;
  HWND tooltip_ = nullptr;
  TOOLINFOW tool_{};
  bool tracking_leave_ = false;
};

// Asks a chart window whether it uses a key (wParam: the virtual key); it answers 1 if it did.
UINT Chart_Key_Message() {
  static const UINT msg = RegisterWindowMessageW(L"Orvane.ChartKey");
  return msg;
}

// The chart key a virtual key names, without Ctrl or Alt.
std::optional<Chart_Key> Chart_Key_Of(WPARAM vk) {
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return std::nullopt;
  switch (vk) {
    case VK_ADD:
    case VK_OEM_PLUS:
      return Chart_Key::plus;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
      return Chart_Key::minus;
    case VK_LEFT:
      return Chart_Key::left;
    case VK_RIGHT:
      return Chart_Key::right;
    case VK_UP:
      return Chart_Key::up;
    case VK_DOWN:
      return Chart_Key::down;
    case VK_HOME:
      return Chart_Key::home;
    case 'F':
      return Chart_Key::f;
    default:
      return std::nullopt;
  }
}

// The buttons ask for the arrows and the characters, which the dialog keys would otherwise take
// for moving the focus and for mnemonics, and hand the chart's keys to the chart.
LRESULT CALLBACK Chart_Form::Chart_Key_Subclass(HWND control, UINT msg, WPARAM wp, LPARAM lp,
                                                UINT_PTR, DWORD_PTR) {
  if (msg == WM_GETDLGCODE) {
    return DefSubclassProc(control, msg, wp, lp) | DLGC_WANTARROWS | DLGC_WANTCHARS;
  }
  if (msg == WM_KEYDOWN && SendMessageW(GetParent(control), Chart_Key_Message(), wp, 0) != 0) {
    return 0;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(control, &Chart_Key_Subclass, 0);
  return DefSubclassProc(control, msg, wp, lp);
}

void Chart_Form::Make_Tooltip() {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(),
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;
  tool_.cbSize = sizeof tool_;
  tool_.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool_.hwnd = Hwnd();
  tool_.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
  // A width makes the tip break its lines at "\n".
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

// Made when it is first shown, once the chart is loaded and on top.
void Chart_Form::Show_Tooltip(const std::string& text, int32_t x, int32_t y) {
  if (!tooltip_ && !text.empty()) Make_Tooltip();
  if (!tooltip_) return;
  if (text.empty()) {
    SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
    return;
  }
  std::wstring wide = Wide(text);
  tool_.lpszText = wide.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool_));
  POINT at{x + 12, y + 16};
  ClientToScreen(Hwnd(), &at);
  SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_));
  tool_.lpszText = const_cast<wchar_t*>(L"");
}

void Chart_Form::Command(int id, int, HWND) {
  const std::string_view name = Command_Name(CHART_WINDOW, id);
  if (name == "Command2") behaviour_.Zoom_In();
  if (name == "Command3") behaviour_.Center_On_Airport();
  if (name == "Command4") behaviour_.Zoom_Out();
  if (name == "airpt_place") behaviour_.Change_Airport();
  if (name == "near_place") behaviour_.Open_Nearest();
  if (name == "pref1") behaviour_.Open_Preferences();
  if (name == "prnt1") Print();
  if (name == "orv_abot2") behaviour_.Open_About();
}

LRESULT Chart_Form::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_PRINTCLIENT:
      Draw_Into(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    // The window class asks for double clicks: a quick second press is a click like the first.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Mouse_Press(msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK, lp);
      return 0;
    case WM_LBUTTONUP:
      Mouse_Release(true);
      return 0;
    case WM_MOUSEMOVE:
      Mouse_Move(lp);
      return 0;
    case WM_MOUSEWHEEL:
      Mouse_Wheel(wp, lp);
      return 0;
    case WM_MOUSELEAVE:
      tracking_leave_ = false;
      behaviour_.Mouse_Leave();
      return 0;
    case WM_CAPTURECHANGED:
      // The drag was taken away (another window, a message box): it ends without a click.
      if (reinterpret_cast<HWND>(lp) != Hwnd()) behaviour_.Mouse_Leave();
      return 0;
    case WM_KEYDOWN:
      if (const auto key = Chart_Key_Of(wp); key && behaviour_.Key_Down(*key)) return 0;
      break;
    case WM_SIZE:
      behaviour_.Resized();
      // The chart is drawn for the window's size: all of it again, not just what was uncovered.
      Redraw();
      return 0;
    case WM_SHOWWINDOW:
      if (wp) behaviour_.Shown();
      break;
    case WM_MOVE:
      behaviour_.Shown();
      return 0;
    default:
      if (msg == Chart_Key_Message()) {
        const auto key = Chart_Key_Of(wp);
        return key && behaviour_.Key_Down(*key) ? 1 : 0;
      }
      if (msg == Draw_On_Canvas_Message()) {
        behaviour_.Draw(*reinterpret_cast<Canvas*>(lp));
        return 1;
      }
      break;
  }
  return Form::Handle(msg, wp, lp);
}

// Drawn off-screen first, then shown at once, so the chart does not flicker at each tick.
void Chart_Form::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Hwnd(), &ps);
  RECT client{};
  GetClientRect(Hwnd(), &client);
  if (client.right > 0 && client.bottom > 0) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    if (memory && bitmap) {
      HGDIOBJ old = SelectObject(memory, bitmap);
      Draw_Into(memory);
      BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
  }
  EndPaint(Hwnd(), &ps);
}

void Chart_Form::Draw_Into(HDC dc) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  Gdi_Canvas canvas(dc, client);
  behaviour_.Draw(canvas, Window_Size{client.right, client.bottom}, Dpi_Of(Hwnd()) / 96.0);
}

// The system's print dialog; the page is drawn by the same canvas on the printer, so a PDF
// printer of the system gives the kneeboard PDF.
void Chart_Form::Print() {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Hwnd();
  dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
  if (!PrintDlgW(&dialog) || dialog.hDC == nullptr) return;
  HDC dc = dialog.hDC;
  DOCINFOW doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = L"Orvane airport diagram";
  bool printed = false;
  if (StartDocW(dc, &doc) > 0) {
    if (StartPage(dc) > 0) {
      const RECT page{0, 0, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
      {
        Gdi_Canvas canvas(dc, page);
        behaviour_.Draw_Page(canvas, page.right, page.bottom, GetDeviceCaps(dc, LOGPIXELSX));
      }
      printed = EndPage(dc) > 0;
    }
    printed = EndDoc(dc) > 0 && printed;
  }
  DeleteDC(dc);
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  if (!printed) Show_Message(Message_Icon::exclamation, "The page could not be printed.");
}

void Chart_Form::Mouse_Press(bool left_button, LPARAM lp) {
  if (left_button) SetCapture(Hwnd());
  behaviour_.Mouse_Press(left_button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
}

void Chart_Form::Mouse_Release(bool left_button) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  // Told before the capture goes, so that the release is not taken for a lost drag.
  behaviour_.Mouse_Release(left_button, client.right, client.bottom);
  if (GetCapture() == Hwnd()) ReleaseCapture();
}

void Chart_Form::Mouse_Move(LPARAM lp) {
  if (!tracking_leave_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Hwnd(), 0};
    tracking_leave_ = TrackMouseEvent(&track) != FALSE;
  }
  behaviour_.Mouse_Move(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
}

// The wheel comes to the window with the focus, here or through a button, in screen pixels.
void Chart_Form::Mouse_Wheel(WPARAM wp, LPARAM lp) {
  POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  ScreenToClient(Hwnd(), &at);
  behaviour_.Mouse_Wheel(GET_WHEEL_DELTA_WPARAM(wp), at.x, at.y);
}

}  // namespace

HWND Open_Chart_Form(Program_State& st, Program_Windows& windows, Link_State link) {
  auto* form = new Chart_Form(st, windows, std::move(link));
  HWND hwnd = form->Hwnd();
  if (!hwnd) {
    delete form;
    return nullptr;
  }
  if (!form->Load()) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  form->Show_Now();
  return hwnd;
}

bool Draw_Chart_Form(HWND form, Canvas& canvas) {
  if (!form || Name_Of(form) != "Form4") return false;
  return SendMessageW(form, Draw_On_Canvas_Message(), 0, reinterpret_cast<LPARAM>(&canvas)) != 0;
}

}  // namespace orv::win32
