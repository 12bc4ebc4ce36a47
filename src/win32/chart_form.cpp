#include "win32/chart_form.h"

#include <windowsx.h>

#include <utility>

#include "behaviour/chart_behaviour.h"
#include "orvane_version.h"
#include "win32/gdi_canvas.h"

namespace orv::win32 {
namespace {

constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

enum Command_Id : int {
  ID_COMMAND2 = 2,
  ID_COMMAND3 = 3,
  ID_COMMAND4 = 4,
  ID_AIRPT_PLACE = 101,
  ID_PREF1 = 102,
  ID_ORV_ABOT2 = 103,
};

// Asks a chart window to draw its chart onto the canvas in lParam.
UINT Draw_On_Canvas_Message() {
  static const UINT msg = RegisterWindowMessageW(L"Orvane.DrawChartOnCanvas");
  return msg;
}

// A menu entry keeps its name in its item data, as a control keeps its name.
void Name_Item(HMENU menu, UINT position, const char* name) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(name);
  SetMenuItemInfoW(menu, position, TRUE, &info);
}

void Add_Menu(HMENU bar, const char* name, const char* caption, const char* item_name,
              const char* item_caption, UINT id) {
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, id, Wide(item_caption).c_str());
  Name_Item(popup, 0, item_name);
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Wide(caption).c_str());
  Name_Item(bar, static_cast<UINT>(GetMenuItemCount(bar) - 1), name);
}

HMENU Make_Menu_Bar() {
  HMENU bar = CreateMenu();
  Add_Menu(bar, "go_to1", "Change", "airpt_place", "Airport", ID_AIRPT_PLACE);
  Add_Menu(bar, "op1", "Options", "pref1", "Preferences", ID_PREF1);
  Add_Menu(bar, "abot2", "About", "orv_abot2", "Orvane v" ORVANE_VERSION, ID_ORV_ABOT2);
  return bar;
}

void Add_Button(HWND form, const char* name, const char* caption, int x, int id) {
  Add_Control(form, L"BUTTON", name, caption, BS_PUSHBUTTON | WS_TABSTOP, {x, 192, 73, 25}, id);
}

class Chart_Form final : public Form, public Chart_Window_View {
 public:
  Chart_Form(Program_State& st, Program_Windows& windows, Link_State link)
      : behaviour_(st, *this, windows, std::move(link)) {
    Create("Form4", CHART_DESIGN_CAPTION, kStyle, 0, CHART_CLIENT_W, CHART_CLIENT_H,
           Make_Menu_Bar());
    if (!Hwnd()) return;
    // The buttons come first: their order is the tab order.
    Add_Button(Hwnd(), "Command2", "Zoom in", 8, ID_COMMAND2);
    Add_Button(Hwnd(), "Command3", "Center", 96, ID_COMMAND3);
    Add_Button(Hwnd(), "Command4", "Zoom out", 184, ID_COMMAND4);
    // SS_NOTIFY: the label takes its own clicks, so a click on it does not re-centre the chart.
    label1_ = Add_Control(Hwnd(), L"STATIC", "Label1", "Altimeter: 0", SS_LEFT | SS_NOTIFY,
                          {8, 8, 97, 17});
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
  void Mouse_Down(bool left_button, LPARAM lp);

  Chart_Behaviour behaviour_;
  HWND label1_ = nullptr;
};

void Chart_Form::Command(int id, int, HWND) {
  switch (id) {
    case ID_COMMAND2:
      behaviour_.Zoom_In();
      break;
    case ID_COMMAND3:
      behaviour_.Center_On_Airport();
      break;
    case ID_COMMAND4:
      behaviour_.Zoom_Out();
      break;
    case ID_AIRPT_PLACE:
      behaviour_.Change_Airport();
      break;
    case ID_PREF1:
      behaviour_.Open_Preferences();
      break;
    case ID_ORV_ABOT2:
      behaviour_.Open_About();
      break;
    default:
      break;
  }
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
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Mouse_Down(msg == WM_LBUTTONDOWN, lp);
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
  behaviour_.Draw(canvas);
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
