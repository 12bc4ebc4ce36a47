#include "win32/splash_form.h"

#include <cmath>
#include <vector>

#include "behaviour/splash_behaviour.h"

namespace orv::win32 {
namespace {

constexpr int kPictureWidth = SPLASH_PICTURE_W;
constexpr int kPictureHeight = SPLASH_PICTURE_H;
constexpr DWORD kSplashStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kChartGreen = RGB(0, 192, 0);
constexpr double kDegToRad = 3.14159265358979 / 180.0;

// A pen, brush or font selected into a device context for one scope, then deleted.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), obj_(obj), old_(SelectObject(dc, obj)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(obj_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ obj_;
  HGDIOBJ old_;
};

// The picture is drawn in its design units: its fonts are sized for 96 dots per inch, and a
// larger scale enlarges the whole drawing.
HFONT Picture_Font(HDC /*dc*/, int points, bool bold) {
  const int height = -MulDiv(points, 96, 72);
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     VARIABLE_PITCH | FF_SWISS, L"Arial");
}

HPEN Round_Pen(COLORREF colour, int width) {
  LOGBRUSH brush{BS_SOLID, colour, 0};
  return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                      static_cast<DWORD>(width), &brush, 0, nullptr);
}

void Line(HDC dc, double x1, double y1, double x2, double y2) {
  MoveToEx(dc, static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)), nullptr);
  LineTo(dc, static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2)));
}

void Text_In(HDC dc, RECT box, const wchar_t* text, UINT align) {
  DrawTextW(dc, text, -1, &box, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// A point given along and across a runway turned by `angle` (clockwise, screen y down).
POINT Turned(double cx, double cy, double angle, double along, double across) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return {static_cast<LONG>(std::lround(cx + along * c - across * s)),
          static_cast<LONG>(std::lround(cy + along * s + across * c))};
}

// A runway as a long dark strip with a dashed centre line, turned about its midpoint.
void Draw_Runway(HDC dc, double cx, double cy, double angle_deg, double length, double width) {
  const double a = angle_deg * kDegToRad;
  const POINT strip[4] = {
      Turned(cx, cy, a, -length / 2, -width / 2), Turned(cx, cy, a, length / 2, -width / 2),
      Turned(cx, cy, a, length / 2, width / 2), Turned(cx, cy, a, -length / 2, width / 2)};
  {
    Selected pen(dc, CreatePen(PS_NULL, 0, 0));
    Selected fill(dc, CreateSolidBrush(RGB(70, 70, 70)));
    Polygon(dc, strip, 4);
  }
  Selected pen(dc, CreatePen(PS_DASH, 1, RGB(255, 255, 255)));
  const POINT from = Turned(cx, cy, a, -length / 2 + 14, 0);
  const POINT to = Turned(cx, cy, a, length / 2 - 14, 0);
  Line(dc, from.x, from.y, to.x, to.y);
}

// A rose with a tick every 10 degrees, longer every 30, a north arrow and the four letters.
void Draw_Compass_Rose(HDC dc, int cx, int cy, int r) {
  Selected pen(dc, CreatePen(PS_SOLID, 1, kChartGreen));
  Selected hollow(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
  for (int deg = 0; deg < 360; deg += 10) {
    const double a = deg * kDegToRad;
    const double inner = (deg % 30 == 0) ? r - 8 : r - 4;
    Line(dc, cx + inner * std::sin(a), cy - inner * std::cos(a), cx + r * std::sin(a),
         cy - r * std::cos(a));
  }
  {
    Selected fill(dc, CreateSolidBrush(kChartGreen));
    const POINT north[3] = {{cx, cy - r + 10}, {cx - 5, cy}, {cx + 5, cy}};
    Polygon(dc, north, 3);
  }
  Selected font(dc, Picture_Font(dc, 7, true));
  SetTextColor(dc, kChartGreen);
  Text_In(dc, {cx - 6, cy - r - 14, cx + 6, cy - r - 2}, L"N", DT_CENTER);
  Text_In(dc, {cx - 6, cy + r + 2, cx + 6, cy + r + 14}, L"S", DT_CENTER);
  Text_In(dc, {cx + r + 2, cy - 6, cx + r + 14, cy + 6}, L"E", DT_CENTER);
  Text_In(dc, {cx - r - 14, cy - 6, cx - r - 2, cy + 6}, L"W", DT_CENTER);
}

void Draw_Sheet(HDC dc) {
  const RECT all{0, 0, kPictureWidth, kPictureHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  Selected grid(dc, CreatePen(PS_SOLID, 1, RGB(220, 235, 220)));
  for (int x = 0; x < kPictureWidth; x += 25) Line(dc, x, 0, x, kPictureHeight);
  for (int y = 0; y < kPictureHeight; y += 25) Line(dc, 0, y, kPictureWidth, y);
}

void Draw_Field(HDC dc) {
  {
    // Taxiways joining the two runways, then the runways over them.
    Selected taxiway(dc, Round_Pen(RGB(230, 200, 60), 5));
    Line(dc, 95, 150, 150, 170);
    Line(dc, 150, 170, 205, 150);
    Line(dc, 190, 95, 215, 150);
  }
  Draw_Runway(dc, 145, 120, -35, 190, 13);
  Draw_Runway(dc, 155, 140, 20, 150, 10);
  {
    Selected font(dc, Picture_Font(dc, 7, true));
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutW(dc, 50, 180, L"16R", 3);
    TextOutW(dc, 224, 48, L"34L", 3);
  }
  // The airspace ring around the field.
  Selected ring(dc, CreatePen(PS_DASH, 1, RGB(0, 0, 200)));
  Selected hollow(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, 145 - 120, 125 - 100, 145 + 120, 125 + 100);
}

void Draw_Titles(HDC dc) {
  SetTextColor(dc, RGB(0, 110, 0));
  {
    Selected font(dc, Picture_Font(dc, 24, true));
    Text_In(dc, {240, 170, 390, 210}, L"ORVANE", DT_RIGHT);
  }
  {
    Selected font(dc, Picture_Font(dc, 9, false));
    Text_In(dc, {200, 208, 390, 228}, L"Airport charts for FS2002", DT_RIGHT);
  }
  Selected border(dc, CreatePen(PS_SOLID, 2, kChartGreen));
  Selected hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 1, 1, kPictureWidth - 1, kPictureHeight - 1);
}

// The splash artwork, drawn once into a bitmap: a small airport chart sheet with two runways,
// their taxiways, an airspace ring, a compass rose and the program's name.
HBITMAP Draw_Splash_Picture(int dpi) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = Scaled(kPictureWidth, dpi);
  info.bmiHeader.biHeight = -Scaled(kPictureHeight, dpi);  // top-down rows
  info.bmiHeader.biPlanes = 1;
  // 24 bits: no alpha channel, so the picture control shows this bitmap rather than a copy.
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!picture) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, picture);
  SetBkMode(dc, TRANSPARENT);
  if (dpi != 96) {
    SetGraphicsMode(dc, GM_ADVANCED);
    const auto scale = static_cast<FLOAT>(dpi / 96.0);
    const XFORM scaled{scale, 0, 0, scale, 0, 0};
    SetWorldTransform(dc, &scaled);
  }
  Draw_Sheet(dc);
  Draw_Field(dc);
  Draw_Compass_Rose(dc, 340, 70, 38);
  Draw_Titles(dc);
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);
  return picture;
}

HFONT Bold_Ui_Font(int dpi) {
  LOGFONTW font{};
  GetObjectW(Ui_Font(dpi), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  return CreateFontIndirectW(&font);
}

// Places the window, keeping its size, in the middle of the screen's work area.
void Centre_On_Screen(HWND window) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT outer{};
  GetWindowRect(window, &outer);
  const int w = outer.right - outer.left;
  const int h = outer.bottom - outer.top;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - w) / 2,
               work.top + (work.bottom - work.top - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class Splash_Form final : public Form, public Splash_View {
 public:
  Splash_Form(Program_State& st, Program_Windows& windows) : behaviour_(st, *this, windows) {
    Create(SPLASH_WINDOW.name, SPLASH_WINDOW.caption, kSplashStyle, 0, SPLASH_WINDOW.client.w,
           SPLASH_WINDOW.client.h);
  }
  ~Splash_Form() override {
    if (picture_) DeleteObject(picture_);
    if (bold_) DeleteObject(bold_);
  }

  void Open() {
    Build();
    Centre_On_Screen(Hwnd());
    behaviour_.Load();
    Show();
  }

  void Show_Message(Message_Icon icon, const std::string& text) override {
    Show_Message_Box(Hwnd(), icon, text);
  }
  void Close() override { Close_Form(Hwnd()); }
  void Enable_Timer1(bool on) override {
    if (on) {
      Start_Timer(SPLASH_TIMER1, SPLASH_DELAY_MS);
    } else {
      Stop_Timer(SPLASH_TIMER1);
    }
  }

 protected:
  void Timer(UINT_PTR id) override {
    if (id == SPLASH_TIMER1) behaviour_.Splash_Time_Over();
  }

 private:
  void Build() {
    picture_ = Draw_Splash_Picture(Dpi_Of(Hwnd()));
    const std::vector<HWND> built = Build_Controls(Hwnd(), SPLASH_WINDOW);
    SendMessageW(built[SPLASH_WINDOW.Index_Of("Picture1")], STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(picture_));
    bold_ = Bold_Ui_Font(Dpi_Of(Hwnd()));
    SendMessageW(built[SPLASH_WINDOW.Index_Of("Label1")], WM_SETFONT,
                 reinterpret_cast<WPARAM>(bold_), FALSE);
  }

  Splash_Behaviour behaviour_;
  HBITMAP picture_ = nullptr;
  HFONT bold_ = nullptr;
};

}  // namespace

HWND Open_Splash_Form(Program_State& st, Program_Windows& windows) {
  auto* form = new Splash_Form(st, windows);
  if (!form->Hwnd()) {
    delete form;
    return nullptr;
  }
  form->Open();
  return form->Hwnd();
}

}  // namespace orv::win32
