// orvane: the desktop program. One program state and one set of windows for the whole run; the
// splash window starts the chain of windows, and the data files live in the process's current
// folder. Each chart window links to the simulator chosen in the preferences when it opens.
#include <QApplication>
#include <cstdio>
#include <string_view>

#include "behaviour/chart_behaviour.h"
#include "core/program_state.h"
#include "orvane_version.h"
#include "qt/program_icon.h"
#include "qt/qt_windows.h"
#include "simlink/sim_choice.h"

namespace {

constexpr const char* kHelp =
    "Airport charts drawn from the scenery of Microsoft Flight Simulator 2002. The program "
    "takes no options: a setup wizard asks for the simulator's folder on the first run, and the "
    "data files are kept in the folder the program is started in.\n"
    "Usage: orvane\n"
    "\n"
    "Options:\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n";

// The two informational options answer on the console, before any window opens.
bool Answer_Option(int argc, char** argv) {
  if (argc != 2) return false;
  const std::string_view option = argv[1];
  if (option == "--help" || option == "-h") {
    std::fputs(kHelp, stdout);
  } else if (option == "--version") {
    std::puts("orvane " ORVANE_VERSION);
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (Answer_Option(argc, argv)) return 0;
  QApplication app(argc, argv);
  orv::Install_Program_Icon();
  orv::Program_State st;
  st.work_dir = ".";
  orv::Qt_Windows windows(st, [&st] { return orv::Chosen_Link(st.work_dir); });
  windows.Open_Splash();
  return QApplication::exec();
}
