// win_screenshots: takes the pictures of the Windows program's six windows for the README. It
// runs the program's own windows over a simulator folder, in the working folder, the way a
// pilot's first run goes (splash, wizard with the folder typed in, the build, the airport
// list with an airport chosen, its chart, the preferences and the About window) with the real
// timers, and saves each window as it is on the screen as a 24-bit BMP named windows-*.bmp.
// Message boxes are printed instead of shown. It needs a display (Wine's X11 driver, on Xvfb
// for instance) and, for the aircraft, the stand-in simulator window already running.
//
//   win_screenshots SIM_FOLDER OUT_FOLDER ITEM
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "behaviour/chart_behaviour.h"
#include "core/program_state.h"
#include "simlink/sim_choice.h"
#include "win32/win32_windows.h"

namespace {

using namespace orv::win32;
using Clock = std::chrono::steady_clock;

// Runs the windows' messages, timers included, until `done` holds or the time is up.
bool Run_Until(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void Settle() {
  Run_Until([] { return false; }, std::chrono::milliseconds(400));
}

// The window as the screen shows it, frame and caption included.
bool Save_Window(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  HDC from = GetWindowDC(window);
  HDC mem = CreateCompatibleDC(from);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, from, 0, 0, SRCCOPY);
  GdiFlush();
  const DWORD row = static_cast<DWORD>((w * 3 + 3) & ~3);
  const DWORD size = row * static_cast<DWORD>(h);
  BITMAPFILEHEADER head{0x4D42,
                        static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info.bmiHeader + size),
                        0, 0, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info.bmiHeader)};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&head), sizeof head);
  out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  out.write(static_cast<const char*>(bits), size);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(window, from);
  std::printf("win_screenshots: %s (%dx%d)\n", path.c_str(), w, h);
  return static_cast<bool>(out);
}

// Picks the menu item with the caption and waits for the window it opens.
bool Open_By_Menu(HWND form, const char* caption, const char* opened) {
  PostMessageW(form, WM_COMMAND, Menu_Item_Id(form, caption), 0);
  const bool shown =
      Run_Until([opened] { return Find_Form(opened) != nullptr; }, std::chrono::milliseconds(5000));
  Settle();
  return shown;
}

int Fail(const char* what) {
  std::fprintf(stderr, "win_screenshots: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: win_screenshots SIM_FOLDER OUT_FOLDER ITEM");
  const std::string sim = argv[1];
  const std::string out = std::string(argv[2]) + "\\";
  const std::string item = argv[3];
  Set_Message_Hook([](orv::Message_Icon, const std::string& text) {
    std::printf("win_screenshots: message \"%s\"\n", text.c_str());
  });
  Set_End_Hook([] {});

  orv::Program_State st;
  st.work_dir = ".";
  Win32_Windows windows(st, [&st] { return orv::Chosen_Link(st.work_dir); });
  const auto seconds = [](int n) { return std::chrono::milliseconds(1000 * n); };

  HWND splash = windows.Open_Splash();
  if (!splash) return Fail("no splash window");
  Settle();
  Save_Window(splash, out + "windows-splash.bmp");

  if (!Run_Until([] { return Find_Form("Form2") != nullptr; }, seconds(10))) {
    return Fail("the wizard did not open");
  }
  HWND setup = Find_Form("Form2");
  Set_Text(Find_Named(setup, "Text1"), sim);
  Settle();
  Save_Window(setup, out + "windows-setup.bmp");
  SendMessageW(Find_Named(setup, "Command1"), BM_CLICK, 0, 0);

  HWND selection = nullptr;
  const bool built = Run_Until(
      [&] {
        selection = Find_Form("Form3");
        return selection && Text_Of(Find_Named(selection, "Text1")) == "Done";
      },
      seconds(120));
  if (!built) return Fail("the airport list was not built");
  HWND combo = Find_Named(selection, "Combo1");
  const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(Wide(item).c_str()));
  if (index == CB_ERR) return Fail("the item is not in the list");
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(selection, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  Settle();
  Save_Window(selection, out + "windows-selection.bmp");
  SendMessageW(Find_Named(selection, "Command3"), BM_CLICK, 0, 0);

  HWND chart = nullptr;
  const bool charted = Run_Until(
      [&] {
        chart = Find_Form("Form4");
        return chart && Text_Of(Find_Named(chart, "Label1")) != "Altimeter: 0";
      },
      seconds(10));
  if (!chart) return Fail("the chart did not open");
  if (!charted) std::printf("win_screenshots: no aircraft (is win_sim_window running?)\n");
  RECT r;
  GetWindowRect(chart, &r);
  SetWindowPos(chart, nullptr, 0, 0, 2 * (r.right - r.left), 2 * (r.bottom - r.top),
               SWP_NOMOVE | SWP_NOZORDER);
  // Close enough to see the runways' designators, the taxiways and the gates.
  for (int zoom = 0; zoom < 4; ++zoom) SendMessageW(Find_Named(chart, "Command2"), BM_CLICK, 0, 0);
  Run_Until([] { return false; }, std::chrono::milliseconds(2500));
  Save_Window(chart, out + "windows-chart.bmp");

  if (!Open_By_Menu(chart, "Preferences", "Form5")) return Fail("no preferences window");
  Save_Window(Find_Form("Form5"), out + "windows-preferences.bmp");
  Close_Form(Find_Form("Form5"));
  if (!Open_By_Menu(chart, "Orvane v1.2", "Form6")) return Fail("no About window");
  Save_Window(Find_Form("Form6"), out + "windows-about.bmp");
  return 0;
}
