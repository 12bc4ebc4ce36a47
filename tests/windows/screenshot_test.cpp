// Pictures of every window for a person to look at: written only when ORVANE_SCREENSHOT_DIR
// names a folder.
#include <QComboBox>

#include "qt/about_window.h"
#include "qt/chart_window.h"
#include "qt/preferences_window.h"
#include "qt/selection_window.h"
#include "qt/setup_window.h"
#include "qt/splash_window.h"
#include "window_fixture.h"

namespace orv {
namespace {

class Screenshots : public Window_Test {};

TEST_F(Screenshots, EveryWindow) {
  const QString folder = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "ORVANE_SCREENSHOT_DIR is not set";
  auto save = [&folder](QWidget* w, const char* name) {
    w->adjustSize();
    EXPECT_TRUE(w->grab().save(folder + QStringLiteral("/") + Ui_Text(name)));
  };
  save(windows.Open_Splash(), "splash.png");
  save(windows.Open_Setup(), "setup.png");
  Selection_Window* list = windows.Open_Selection();
  save(list, "selection.png");
  save(Show_About_Window(), "about.png");
  st.cur_airport.ident = "KSEA";
  st.cur_airport.name = "SEATTLE-TACOMA INTL";
  save(windows.Open_Chart(), "chart.png");
  st.diagram_style = true;
  save(Show_Preferences_Window(st), "preferences.png");
}

}  // namespace
}  // namespace orv
