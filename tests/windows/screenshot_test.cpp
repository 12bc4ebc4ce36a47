// Pictures of every window for a person to look at: written only when ORVANE_SCREENSHOT_DIR
// names a folder.
#include <QComboBox>

#include "chart/chart_window.h"
#include "prefs/about_window.h"
#include "scenery/selection_window.h"
#include "startup/setup_window.h"
#include "startup/splash_window.h"
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
  save(Show_Splash_Window(st), "splash.png");
  save(Show_Setup_Window(st), "setup.png");
  Selection_Window* list = Show_Selection_Window(st);
  save(list, "selection.png");
  save(Show_About_Window(), "about.png");
  st.cur_airport.ident = "KSEA";
  st.cur_airport.name = "SEATTLE-TACOMA INTL";
  save(Show_Chart_Window(st), "chart.png");
}

}  // namespace
}  // namespace orv
