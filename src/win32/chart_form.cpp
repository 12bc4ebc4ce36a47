#include "win32/chart_form.h"

#include <windowsx.h>
// The print dialog after the window types.
// clang-format off
#include <commdlg.h>
// clang-format on

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
  void Mouse_Down(bool left_button, LPARAM lp);

  Chart_Behaviour behaviour_;
  HWND label1_ = nullptr;
};

void Chart_Form::Command(int id, int, HWND) {
  const std::string_view name = Command_Name(CHART_WINDOW, id);
  if (name == "Command2") behaviour_.Zoom_In();
  if (name == "Command3") behaviour_.Center_On_Airport();
  if (name == "Command4") behaviour_.Zoom_Out();
  if (name == "airpt_place") behaviour_.Change_Airport();
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
      Mouse_Down(msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK, lp);
      return 0;
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
  behaviour_.Draw(canvas, Window_Size{client.right, client.bottom});
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

void Chart_Form::Mouse_Down(bool left_button, LPARAM lp) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  behaviour_.Mouse_Down(left_button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp), client.right,
                        client.bottom);
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
