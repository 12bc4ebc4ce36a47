// The Win32 chart window under Wine: its controls and menus, the chart its GDI canvas paints,
// and the aircraft through the stand-in simulator window.
#include "win32/chart_form.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "behaviour/chart_behaviour.h"
#include "chart/diagram_page.h"
#include "chart/diagram_painter.h"
#include "chart/recording_canvas.h"
#include "core/program_state.h"
#include "simlink/sim_choice.h"
#include "simlink/win_sim_running.h"
#include "support/diagram_sample.h"
#include "win32/form_driver.h"
#include "win32/gdi_canvas.h"
#include "win32/win32_windows.h"

namespace orv::win32 {
namespace {

using testing::Control;
constexpr Rgb BLUE{0, 0, 192};
constexpr Rgb YELLOW{255, 255, 0};
constexpr size_t kRow = 271 * 4;
constexpr RECT kClient{0, 0, 271, 228};

// A white 32-bit top-down memory bitmap the size of the chart's client area, 271 x 228.
struct Dib {
  Dib() {
    BITMAPINFO info{{sizeof info.bmiHeader, 271, -228, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    SelectObject(dc, bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    PatBlt(dc, 0, 0, 271, 228, WHITENESS);
  }
  ~Dib() { DeleteDC(dc), DeleteObject(bitmap); }
  const char* Row(int y) const { return static_cast<const char*>(bits) + y * kRow; }
  bool Is(int x, int y, Rgb c) const { return GetPixel(dc, x, y) == RGB(c.r, c.g, c.b); }
  // Whether the pixel nearest (x, y) or one of its eight neighbours has the colour.
  bool Near(double x, double y, Rgb c) const {
    bool found = false;
    for (int i = 0; i < 9; ++i) found |= Is(int(x + 0.5) + i % 3 - 1, int(y + 0.5) + i / 3 - 1, c);
    return found;
  }
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = nullptr;
  void* bits = nullptr;
};

class Win32Chart : public ::testing::Test {
 protected:
  void SetUp() override {
    Airport_Entry& a = st.cur_airport;
    a.name = "Z\xDCRICH";
    a.lat = 47.45, a.lon = 8.55;
    a.runways.resize(2);  // one north-south through the airport, and the spare
    a.runways[0].end1_lat = 47.435, a.runways[0].end2_lat = 47.465;
    a.runways[0].end1_lon = a.runways[0].end2_lon = 8.55;
    a.runway_count = 1;
  }
  void TearDown() override { testing::Close_All_Forms(); }

  // Opens the chart as the airport fetch does, over this computer's link without waits.
  HWND Open() {
    Link_State link = Platform_Link();
    link.sleep = nullptr;
    return Open_Chart_Form(st, windows, std::move(link));
  }
  std::vector<Draw_Call> Recorded(HWND form) {
    Recording_Canvas canvas;
    EXPECT_TRUE(Draw_Chart_Form(form, canvas));
    return canvas.Calls();
  }

  testing::Recorder recorder;
  Program_State st;
  Win32_Windows windows{st, {}, {}};
};

TEST_F(Win32Chart, ControlsMenusAndFrameAsDesigned) {
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(recorder.messages.size(), 1u);  // no simulator here
  EXPECT_EQ(recorder.messages[0].text, MSG_NO_SIM_AT_LOAD);
  EXPECT_EQ(Text_Of(form), "Z\xC3\x9CRICH Chart");
  RECT client;
  EXPECT_TRUE(GetClientRect(form, &client) && client.right == 271 && client.bottom == 228);
  EXPECT_EQ(GetWindowLongW(form, GWL_STYLE) &
                (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN),
            WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
  EXPECT_TRUE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
  testing::Expect_Built(form, CHART_WINDOW, false);
  // The label takes its own clicks, so they do not re-centre the chart.
  POINT p{20, 12};
  ClientToScreen(form, &p);
  EXPECT_EQ(SendMessageW(Control(form, "Label1"), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCLIENT);
}

TEST_F(Win32Chart, PaintsRunwayIlsAndAirspaceWhereTheLayersPutThem) {
  st.cur_airport.ils = {Ils_Rec{"IZH", 47.435, 8.55, 0, "110.5"}, Ils_Rec{}};  // at runway end 1
  st.cur_airport.ils_count = 1;
  st.airspaces.resize(st.airspace_count = 1);  // Class B, a circle of 3 miles around it
  st.airspaces[0].points = {{PT_CENTER, 47.45, 8.55, 0}, {PT_CIRCLE, 0, 0, 3}};
  st.airspaces[0].point_count = 2;
  st.airspaces[0].class_label = CLASS_B;
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  for (int i = 0; i < 3; ++i) testing::Click(form, "Command2");  // zoom 12: all three layers
  Dib dib;
  SendMessageW(form, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT);
  std::vector<Rgb> shapes;
  for (const Draw_Call& c : Recorded(form)) {
    if (c.op != Draw_Op::line && c.op != Draw_Op::ellipse) continue;
    shapes.push_back(c.pen.color);
    int inside = 0, inked = 0;
    for (double t = 0.25; t < 0.75; t += 0.02) {  // along a line, or round an ellipse
      const bool line = c.op == Draw_Op::line;
      const double x = c.a.x + (c.b.x - c.a.x) * (line ? t : (1 + cos(t * 25)) / 2);
      const double y = c.a.y + (c.b.y - c.a.y) * (line ? t : (1 + sin(t * 25)) / 2);
      if (x < 1 || y < 1 || x > 269 || y > 226) continue;  // dashes have gaps, lines none
      inked += dib.Near(x, y, c.pen.color), ++inside;
    }
    EXPECT_TRUE(inside > 0 && inked >= (c.pen.style == Line_Style::dash ? inside / 2 : inside));
  }
  EXPECT_EQ(shapes, std::vector<Rgb>({BLUE, RGB_CHART_GREEN, YELLOW, YELLOW, YELLOW}));
  // The window's own paint shows the same chart between the label and the buttons.
  Dib shown;
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC window_dc = GetDC(form);
  BitBlt(shown.dc, 0, 0, 271, 228, window_dc, 0, 0, SRCCOPY);
  ReleaseDC(form, window_dc);
  GdiFlush();
  EXPECT_EQ(std::memcmp(shown.Row(30), dib.Row(30), 160 * kRow), 0);
}

TEST_F(Win32Chart, EscLeavesTheZoomTheFocusComesBackAndAQuickSecondClickCounts) {
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  SetActiveWindow(form);
  EXPECT_EQ(GetFocus(), Control(form, "Command2"));  // the first button, at open
  const std::vector<Draw_Call> before = Recorded(form);
  testing::Press_Key(GetFocus(), VK_ESCAPE);
  EXPECT_EQ(Recorded(form), before);
  // Leaving for another window and coming back gives the focus back where it was.
  HWND elsewhere = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                                   nullptr, nullptr, nullptr, nullptr);
  SetFocus(Control(form, "Command4"));
  SetActiveWindow(elsewhere);
  EXPECT_NE(GetFocus(), Control(form, "Command4"));
  SetActiveWindow(form);
  EXPECT_EQ(GetFocus(), Control(form, "Command4"));
  DestroyWindow(elsewhere);
  // Two quick clicks re-centre twice: the second press comes as a double click. A click
  // re-centres when its button is released, as it may still become a drag until then.
  SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 100));
  SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(60, 100));
  const std::vector<Draw_Call> once = Recorded(form);
  EXPECT_NE(once, before);
  SendMessageW(form, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 100));
  SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(60, 100));
  EXPECT_NE(Recorded(form), once);
  // The preferences belong to the chart that opened them: no taskbar button of their own.
  testing::Pick_Menu(form, "Preferences");
  HWND preferences = Find_Form("Form5");
  ASSERT_NE(preferences, nullptr);
  EXPECT_EQ(GetWindow(preferences, GW_OWNER), form);
  EXPECT_TRUE(GetWindowLongW(preferences, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Win32Chart, GdiCanvasTextArcsAndShapesFarBeyondTheSurface) {
  Dib text, reference;
  Gdi_Canvas(text.dc, kClient).Text_Out({10, 10}, "Z\xFCrich");
  SelectObject(reference.dc, Ui_Font());
  SetBkMode(reference.dc, TRANSPARENT);
  SetTextColor(reference.dc, RGB(0, 192, 0));
  TextOutW(reference.dc, 10, 10, L"Z\u00FCrich", 6);
  GdiFlush();
  EXPECT_EQ(std::memcmp(text.Row(0), reference.Row(0), 228 * kRow), 0);
  Dib dib;
  Gdi_Canvas canvas(dib.dc, kClient);
  canvas.Set_Fore_Color(BLUE);
  // Arcs go counter-clockwise: east to north; on a circle of radius a million pixels whose top
  // is (100, 100), north-east to north-west.
  canvas.Arc({20, 20}, {80, 80}, {95, 50}, {50, 2});
  canvas.Arc({-999900, 100}, {1000100, 2000100}, {1100, 999100}, {-900, 999100});
  EXPECT_TRUE(dib.Near(71, 29, BLUE) && dib.Near(100, 100, BLUE));
  // Far beyond the surface: a huge circle filled below (100, 150), a wide dashed line (dashed).
  canvas.Set_Fill_Color(BLUE);
  canvas.Set_Fill_Style(Fill_Style::solid);
  canvas.Set_Line_Width(3);
  canvas.Set_Line_Style(Line_Style::dash);
  canvas.Ellipse({-999900, 150}, {1000100, 2000150});
  canvas.Ellipse({-2000000000, -2000000000}, {-1999999990, -1999999990});  // far away
  canvas.Move_To({-2000000000, 60});
  canvas.Line_To({2000000000, 60});
  EXPECT_TRUE(dib.Is(100, 145, RGB_WHITE) && dib.Is(100, 160, BLUE));
  int dashes = 0;
  for (int x = 1; x < 269; ++x) dashes += dib.Is(x, 60, BLUE) && !dib.Is(x + 1, 60, BLUE);
  EXPECT_GE(dashes, 5);
  // A sized text's letters end where its measure says, whatever the face draws them from: the
  // last one may end a little inside its advance.
  Dib sized;
  Gdi_Canvas words(sized.dc, kClient);
  words.Set_Fore_Color(RGB_BLACK);
  for (const bool bold : {false, true}) {
    const Text_Style style{9, 0.0, H_Align::left, V_Align::top, bold};
    const int top = bold ? 40 : 10;
    words.Text({10, top}, "SEATTLE-TACOMA INTL", style);
    int right = 0;
    for (int i = 0; i < 271 * 20; ++i)
      right = sized.Is(i % 271, top + i / 271, RGB_WHITE) ? right : i % 271;
    const double end = 10 + words.Text_Extent("SEATTLE-TACOMA INTL", style).w;
    EXPECT_TRUE(right + 1 <= end + 1 && right + 1 >= end - 4) << right << " " << end;
  }
}

// The small airport's diagram on a 24-bit bitmap: painted, its runways in their colour. When
// ORVANE_GDI_DIAGRAM names a file the picture is written there, for the Linux window tests to
// compare with the painter canvas's picture (tools/ci_windows).
// What the GDI canvas draws on a 24-bit memory bitmap of w x h pixels.
template <class Draw>
orv::testing::Rgb_Picture Gdi_Picture(int w, int h, Draw draw) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{{sizeof info.bmiHeader, w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  orv::testing::Rgb_Picture picture{w, h, {}};
  if (bitmap == nullptr) return picture;
  const HGDIOBJ old = SelectObject(dc, bitmap);
  {
    Gdi_Canvas canvas(dc, RECT{0, 0, w, h});
    draw(canvas);
  }
  GdiFlush();
  const auto* bgr = static_cast<const uint8_t*>(bits);
  const size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint8_t* px = bgr + y * row + 3 * static_cast<size_t>(x);
      picture.rgb.insert(picture.rgb.end(), {px[2], px[1], px[0]});
    }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return picture;
}

TEST(Win32Diagram, GdiCanvasPaintsTheSampleDiagram) {
  namespace sample = orv::testing;
  constexpr int w = sample::kSampleWidth, h = sample::kSampleHeight;
  const sample::Rgb_Picture picture = Gdi_Picture(w, h, [](Canvas& canvas) {
    Draw_Diagram(canvas, sample::Small_Airport(), sample::Sample_Diagram_View(), w, h, false,
                 false);
  });
  EXPECT_GT(sample::Count_Of(picture, Ink_Color(Ink::runway, false)), 1000u);
  EXPECT_LT(sample::Count_Of(picture, RGB_WHITE), size_t{w * h * 97 / 100});
  if (const char* path = std::getenv("ORVANE_GDI_DIAGRAM")) {
    EXPECT_TRUE(sample::Write_Ppm(path, picture)) << path;
  }

  // The printed page as "Print..." draws it on the printer: an A5 page at 100 dots per inch.
  const Program_State st = sample::Small_Airport();
  const sample::Rgb_Picture page = Gdi_Picture(583, 827, [&](Canvas& canvas) {
    Draw_Diagram_Page(canvas, st, 583, 827, 100.0, false, false);
  });
  EXPECT_GT(sample::Count_Of(page, Ink_Color(Ink::runway, false)), 500u);
  EXPECT_GT(sample::Count_Of(page, Ink_Color(Ink::taxiway_sign, false)), 20u);
}

TEST_F(Win32Chart, ShowsTheAircraftAndTheAltimeterThenWarnsOnceWhenTheSimulatorCloses) {
  START_SIM(sim, "");  // an aircraft at 47.449, -122.309, 1013 millibars
  st.cur_airport.lat = 47.4, st.cur_airport.lon = -122.3;  // the runway lies far away
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  testing::Tick(form, CHART_TIMER1);
  EXPECT_EQ(Text_Of(Control(form, "Label1")), "Altimeter: 29.92");
  Dib dib;
  SendMessageW(form, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT);
  const std::vector<Draw_Call> calls = Recorded(form);  // ending with the dot, line and text
  ASSERT_TRUE(calls.size() >= 3 && calls[calls.size() - 3].op == Draw_Op::ellipse);
  const Draw_Call& dot = calls[calls.size() - 3];
  EXPECT_TRUE(dib.Is((dot.a.x + dot.b.x) / 2, (dot.a.y + dot.b.y) / 2, RGB_CHART_GREEN));
  sim.Stop();
  testing::Tick(form, CHART_TIMER1);
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].icon, Message_Icon::warning);
  EXPECT_EQ(recorder.messages[0].text, MSG_SIM_READ_FAILED);
  testing::Tick(form, CHART_TIMER1);
  EXPECT_EQ(recorder.messages.size(), 1u);
}

// The form forwards the wheel (which comes to it in screen pixels), a drag and the chart's keys,
// which reach it through the buttons; the runway's drawn ends show where the view went.
TEST_F(Win32Chart, TheWheelADragAndTheKeysReachTheChart) {
  HWND form = Open();
  ASSERT_NE(form, nullptr);
  const auto runway = [&] {
    for (const Draw_Call& c : Recorded(form)) {
      if (c.op == Draw_Op::line) return std::pair{c.a, c.b};
    }
    return std::pair{Px{}, Px{}};
  };
  const auto [a, b] = runway();
  POINT at{60, 50};
  ClientToScreen(form, &at);
  SendMessageW(form, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(at.x, at.y));
  const auto [a2, b2] = runway();  // twice as far from the pointer
  EXPECT_TRUE(std::abs(a2.x - (2 * a.x - 60)) <= 1 && std::abs(b2.y - (2 * b.y - 50)) <= 1);
  SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 80));
  SendMessageW(form, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 60));
  SendMessageW(form, WM_LBUTTONUP, 0, MAKELPARAM(150, 60));
  const auto [a3, b3] = runway();
  EXPECT_TRUE(std::abs(a3.x - a2.x - 50) <= 1 && std::abs(b3.y - b2.y + 20) <= 1);
  EXPECT_FALSE(st.follow_acft);
  SendMessageW(Control(form, "Command2"), WM_KEYDOWN, VK_SUBTRACT, 0);
  const auto [a4, b4] = runway();
  EXPECT_NEAR(b4.y - a4.y, (b3.y - a3.y) / 2.0, 1.0);
  EXPECT_EQ(SendMessageW(Control(form, "Command2"), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS,
            DLGC_WANTARROWS);
  SendMessageW(Control(form, "Command4"), WM_KEYDOWN, 'F', 0);
  EXPECT_TRUE(st.follow_acft);
}

}  // namespace
}  // namespace orv::win32
