// orvane: the desktop program. One program state and one set of windows for the whole run; the
// splash window starts the chain of windows, and the data files live in the process's current
// folder. Each chart window links to the simulator chosen in the preferences when it opens.
#include <QApplication>

#include "airspace/selection_fetch.h"
#include "chart/chart_behaviour.h"
#include "core/program_state.h"
#include "qt/program_icon.h"
#include "qt/qt_windows.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  orv::Install_Program_Icon();
  orv::Program_State st;
  st.work_dir = ".";
  orv::Qt_Windows windows(st, orv::Airspace_Selection_Engine(),
                          [&st] { return orv::Chosen_Link(st.work_dir); });
  windows.Open_Splash();
  return QApplication::exec();
}
