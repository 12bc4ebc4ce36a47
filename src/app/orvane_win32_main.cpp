// orvane.exe: the desktop program on Windows. One program state and one set of windows for the
// whole run; the splash window starts the chain of windows, and the data files live in the
// process's current folder. Each chart window links to the simulator chosen in the preferences
// when it opens.
#include "behaviour/chart_behaviour.h"
#include "core/program_state.h"
#include "simlink/sim_choice.h"
#include "win32/win32_windows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  orv::Program_State st;
  st.work_dir = ".";
  orv::win32::Win32_Windows windows(st, [&st] { return orv::Chosen_Link(st.work_dir); });
  // Without its first window the program has nothing to show and ends at once.
  if (!windows.Open_Splash()) return 1;
  return orv::win32::Run_Message_Loop();
}
