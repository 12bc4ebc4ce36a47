// The window tables against what the program must show: every window's name and caption, and
// the captions of its controls and menus; and that each table is whole: names unique, the
// default button and the first focus among its controls, every control inside the window.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "behaviour/about_text.h"
#include "behaviour/chart_behaviour.h"
#include "behaviour/nearest_behaviour.h"
#include "behaviour/preferences_behaviour.h"
#include "behaviour/selection_behaviour.h"
#include "behaviour/setup_behaviour.h"
#include "behaviour/splash_behaviour.h"

namespace orv {
namespace {

struct Expected {
  const Window_Table& table;
  std::string window;              // "name: caption"
  std::vector<std::string> shown;  // "name: caption" of each control with a caption, and menus
};

std::vector<std::string> Shown(const Window_Table& t) {
  std::vector<std::string> shown;
  for (const Control_Row& c : t.controls) {
    if (*c.caption != '\0' && c.kind != Control_Kind::page_text) {
      shown.push_back(std::string(c.name) + ": " + c.caption);
    }
  }
  for (const Menu_Row& m : t.menus) shown.push_back(std::string(m.name) + ": " + m.caption);
  return shown;
}

TEST(Window_Tables, DescribeWhatEachWindowShowsAndAreWhole) {
  const std::vector<Expected> windows = {
      {SPLASH_WINDOW, "Form1: Orvane v1.2", {"Label1: ORVANE VERSION 1.2"}},
      {SETUP_WINDOW,
       "Form2: Settings",
       {"Frame1: Flight Simulator Information",
        "Label1: Select the version of your Microsoft Flight Simulator:",
        "Option1: Microsoft Flight Simulator 2002", "Frame2: Flight Simulator's Path",
        "Label2: Enter your Flight Simulator's main path:", "Label4: Current Directory:",
        "Label3: Example: C:\\Program Files\\Microsoft Games\\Fs2002", "Command1: NEXT STEP --->"}},
      {SELECTION_WINDOW,
       "Form3: Choosing an airport",
       {"Frame1: Airports list",
        "Label1: Airport:", "Combo1: [Type and select an airport from the list]",
        "Command3: GET AIRPORT", "Command2: CLOSE_PROGRAM", "Label2: Scanning:", "Text1: -None-",
        "abot1: About", "airpt_ch_vw: Orvane v1.2"}},
      {CHART_WINDOW,
       "Form4: Current Airport's Chart",
       {"Command2: Zoom in", "Command3: Center", "Command4: Zoom out", "Label1: Altimeter: 0",
        "go_to1: Change", "airpt_place: Airport", "near_place: Nearest Airports...", "op1: Options",
        "pref1: Preferences", "prnt1: Print...", "abot2: About", "orv_abot2: Orvane v1.2"}},
      {PREFERENCES_WINDOW,
       "Form5: Options",
       {"Frame1: Options", "Check1: Display Taxiways IDs", "Check2: Display Taxiways",
        "Check3: Display ILS", "Check4: Display Airspace", "Check5: Display Gates\\Parkings",
        "Check6: Follow Aircraft", "Check7: Show Trail", "Frame2: Altimeter Setting Units",
        "Option1: Millibars", "Option2: Inches of Mercury", "Frame3: Simulator",
        "Option3: This computer", "Option4: Another computer:", "Label1: Key", "Frame4: Chart style",
        "Option5: Classic", "Option6: Diagram", "Check8: Night colours", "Command1: Ok"}},
      {NEAREST_WINDOW,
       "Form7: Nearest Airports",
       {"Label1: Nearest to the chart's centre:", "Command1: Open Chart", "Command2: Cancel"}},
      {ABOUT_WINDOW,
       "Form6: About Orvane v1.2",
       {"Label1: ORVANE VERSION 1.2", std::string("Label3: ") + ABOUT_SUMMARY,
        std::string("Label4: ") + ABOUT_READS, "Frame1: Credits",
        "Label2: Special Thanks To:", std::string("Label5: ") + ABOUT_NOTICE, "Command1: Ok"}},
  };
  for (const Expected& e : windows) {
    const Window_Table& t = e.table;
    SCOPED_TRACE(t.name);
    EXPECT_EQ(std::string(t.name) + ": " + t.caption, e.window);
    EXPECT_EQ(Shown(t), e.shown);
    std::set<std::string> names;
    for (const Control_Row& c : t.controls) {
      EXPECT_TRUE(names.insert(c.name).second) << "twice: " << c.name;
      EXPECT_TRUE(c.rect.x >= 0 && c.rect.y >= 0 && c.rect.x + c.rect.w <= t.client.w &&
                  c.rect.y + c.rect.h <= t.client.h + (c.kind == Control_Kind::airport_list ||
                                                               c.kind == Control_Kind::drive_list
                                                           ? c.rect.h
                                                           : 0))
          << c.name << " lies outside the window";
    }
    for (const Menu_Row& m : t.menus) EXPECT_TRUE(names.insert(m.name).second) << m.name;
    if (t.default_button) {
      EXPECT_LT(t.Index_Of(t.default_button), t.controls.size());
    }
    if (t.first_focus) {
      EXPECT_TRUE(t.Control(t.first_focus).tab_stop) << t.first_focus;
    }
  }
  EXPECT_EQ(ABOUT_WINDOW.Control("Text1").caption, std::string(ABOUT_CREDITS));
}

}  // namespace
}  // namespace orv
