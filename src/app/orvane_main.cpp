// orvane: the desktop program. One program state for the whole run; the splash window starts
// the chain of windows, and the data files live in the process's current folder.
#include <QApplication>

#include "core/program_state.h"
#include "qt/program_icon.h"
#include "startup/splash_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  orv::Install_Program_Icon();
  orv::Program_State st;
  st.work_dir = ".";
  orv::Show_Splash_Window(st);
  return QApplication::exec();
}
