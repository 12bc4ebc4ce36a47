#include "win32/splash_form.h"

#include <cmath>
#include <vector>

#include "behaviour/splash_behaviour.h"
#include "behaviour/splash_picture.h"
#include "win32/gdi_canvas.h"

namespace orv::win32 {
namespace {

constexpr int kPictureWidth = SPLASH_PICTURE_W;
constexpr int kPictureHeight = SPLASH_PICTURE_H;
constexpr DWORD kSplashStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The splash artwork, drawn once into a bitmap: a small airport chart sheet with two runways,
// their taxiways, an airspace ring, a compass rose and the program's name.
HBITMAP Splash_Bitmap(int dpi) {
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
  {
    const RECT area{0, 0, Scaled(kPictureWidth, dpi), Scaled(kPictureHeight, dpi)};
    Gdi_Canvas canvas(dc, area);
    Draw_Splash_Picture(canvas, dpi / 96.0);
  }
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
    picture_ = Splash_Bitmap(Dpi_Of(Hwnd()));
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
  return Open_New_Form<Splash_Form>(st, windows);
}

}  // namespace orv::win32
