// win_sim_window: a stand-in simulator for Windows. It opens a top-level window of the interface
// module's class (UIPCMAIN, or FS98MAIN with --class) and answers the module's registered
// message: the message's first parameter is the atom that names the client's request block; the
// window opens the block by that name, answers the requests in place from an image of the
// interface offsets and replies 1. The aircraft stands still at the given position.
//
// When the window is ready it prints "win_sim_window: ready" on stdout, so that a test or a
// script can wait for that line instead of waiting for a while. It ends on WM_CLOSE, or by
// itself after --max-seconds.
#include <windows.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim_options.h"
#include "simlink/link_block.h"
#include "simlink/link_client.h"
#include "simlink/link_module.h"

namespace {

constexpr UINT_PTR kStopTimer = 1;

struct Options {
  std::string class_name = orv::LINK_CLASS_MAIN;
  double lat = 47.449;
  double lon = -122.309;
  double hdg = 340.0;
  uint32_t pressure = 16208;
  uint32_t iface_version = 0x19980005;
  uint32_t sim_word = 0xFADE0006;
  uint32_t reply = 1;
  bool hang = false;
  uint32_t late_ms = 0;
  uint64_t late_count = 1;
  double max_seconds = 600.0;
};

struct Sim {
  Options options;
  UINT link_msg = 0;
  uint64_t requests = 0;
  std::vector<uint8_t> image = std::vector<uint8_t>(orv::MODULE_IMAGE_SIZE);
};

Sim g_sim;

using orv::sim_options::Add_Doubles;
using orv::sim_options::Add_Unsigned;

void Add_Options(CLI::App& app, Options& o) {
  app.add_option("--class", o.class_name, "UIPCMAIN (default) or FS98MAIN")
      ->check([](const std::string& name) { return name.empty() ? "a name" : ""; });
  Add_Doubles(
      app, "--fixed", 3,
      [&o](const std::vector<double>& d) {
        o.lat = d[0];
        o.lon = d[1];
        o.hdg = d[2];
      },
      "the aircraft (47.449,-122.309,340)", "LAT,LON,HDG");
  orv::sim_options::Add_Interface_Options(app, o.pressure, o.iface_version, o.sim_word);
  Add_Unsigned(
      app, "--reply", 0xFFFFFFFF, [&o](uint64_t n) { o.reply = static_cast<uint32_t>(n); },
      "the answer to every request (1)");
  app.add_flag("--hang", o.hang, "take every request and never answer it");
  Add_Unsigned(
      app, "--late", 600000, [&o](uint64_t n) { o.late_ms = static_cast<uint32_t>(n); },
      "answer the first request MS milliseconds late, as a simulator busy loading scenery does");
  Add_Unsigned(
      app, "--late-count", UINT64_MAX, [&o](uint64_t n) { o.late_count = n; },
      "answer the first N requests late (1)");
  Add_Doubles(
      app, "--max-seconds", 1,
      [&o](const std::vector<double>& d) {
        if (d[0] <= 0.0 || d[0] > 86400.0) {
          throw CLI::ValidationError("--max-seconds", "takes a time above 0, at most 86400");
        }
        o.max_seconds = d[0];
      },
      "stop after S seconds (600)", "S");
}

// A 64-bit fixed-point value, whole units in the high half and the fraction in the low half.
uint64_t Fixed_64(double units) {
  const double whole = std::floor(units);
  const double fraction = units - whole;
  const auto high = static_cast<uint32_t>(static_cast<int32_t>(whole));
  const auto low = static_cast<uint32_t>(fraction * 4294967296.0);
  return uint64_t{high} << 32 | low;
}

// The values the simulator owns, put into the image before each answer: a write to 0x330A
// overlaps the simulator word and must not change what the next client reads there.
void Refresh_Image(Sim& sim) {
  const Options& o = sim.options;
  std::span<uint8_t> image = sim.image;
  orv::Image_Put(image, orv::LINK_OFS_IFACE_VERSION, o.iface_version, 4);
  orv::Image_Put(image, orv::LINK_OFS_SIM_VERSION, o.sim_word, 4);
  orv::Image_Put(image, 0x0EC6, o.pressure, 2);
  orv::Image_Put(image, 0x0560, Fixed_64(o.lat * 10001750.0 / 90.0), 8);
  orv::Image_Put(image, 0x0568, Fixed_64(o.lon * 4294967296.0 / 360.0), 8);
  double turns = std::fmod(o.hdg / 360.0, 1.0);
  if (turns < 0.0) turns += 1.0;
  orv::Image_Put(image, 0x0580, static_cast<uint64_t>(std::llround(turns * 4294967296.0)), 4);
}

// Opens the block named by the atom, answers it in place and gives the reply value; 0 when the
// atom or the block cannot be found or the block is damaged.
LRESULT Answer_Request(Sim& sim, WPARAM wparam) {
  ++sim.requests;
  // A module that has stopped answering: the sender's wait runs out. Whoever started this
  // window ends the process.
  if (sim.options.hang) WaitForSingleObject(GetCurrentProcess(), INFINITE);
  if (sim.options.late_ms != 0 && sim.requests <= sim.options.late_count) {
    Sleep(sim.options.late_ms);
  }
  char name[MAX_PATH] = {};
  const ATOM atom = static_cast<ATOM>(wparam & 0xFFFF);
  if (atom == 0 || GlobalGetAtomNameA(atom, name, static_cast<int>(sizeof name)) == 0) return 0;
  const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
  if (mapping == nullptr) return 0;
  LRESULT reply = 0;
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, orv::LINK_BLOCK_SIZE);
  if (view != nullptr) {
    Refresh_Image(sim);
    const std::span<uint8_t> block(static_cast<uint8_t*>(view), orv::LINK_BLOCK_SIZE);
    if (orv::Answer_Block(block, sim.image) == orv::Module_Walk::ended) {
      reply = static_cast<LRESULT>(sim.options.reply);
    }
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return reply;
}

LRESULT CALLBACK Window_Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (g_sim.link_msg != 0 && msg == g_sim.link_msg) return Answer_Request(g_sim, wparam);
  switch (msg) {
    case WM_TIMER:
      if (wparam == kStopTimer) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app(
      "A stand-in simulator: a hidden window of the interface module's class that answers the "
      "simulator link with a standing aircraft.",
      "win_sim_window");
  orv::sim_options::Add_Version(app);
  Add_Options(app, g_sim.options);
  if (const auto code = orv::sim_options::Parse_Command_Line(app, argc, argv)) return *code;
  const Options& o = g_sim.options;
  g_sim.link_msg = RegisterWindowMessageA(orv::LINK_MESSAGE_NAME);
  if (g_sim.link_msg == 0) {
    std::fputs("win_sim_window: cannot register the message\n", stderr);
    return 1;
  }
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = Window_Proc;
  wc.hInstance = instance;
  wc.lpszClassName = o.class_name.c_str();
  if (RegisterClassA(&wc) == 0) {
    std::fputs("win_sim_window: cannot register the window class\n", stderr);
    return 1;
  }
  // A hidden top-level window: the client finds it by class, and no display is needed.
  const HWND hwnd =
      CreateWindowExA(0, o.class_name.c_str(), "Orvane stand-in simulator", WS_OVERLAPPEDWINDOW,
                      CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) {
    std::fputs("win_sim_window: cannot create the window\n", stderr);
    return 1;
  }
  SetTimer(hwnd, kStopTimer, static_cast<UINT>(o.max_seconds * 1000.0), nullptr);
  std::printf("win_sim_window: ready\n");
  std::fflush(stdout);

  MSG m{};
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  std::printf("win_sim_window: answered %llu requests\n",
              static_cast<unsigned long long>(g_sim.requests));
  return 0;
}
