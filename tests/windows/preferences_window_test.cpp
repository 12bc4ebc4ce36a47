// The preferences window on its own: its boxes follow the display switches, every click changes
// exactly its own switch at once, and every way of closing it is reported.
#include "qt/preferences_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <array>
#include <string>

#include "data/chart_style_file.h"
#include "window_fixture.h"

namespace orv {
namespace {

class Preferences : public Window_Test {
 protected:
  // The six switches in the order of Check1 to Check6.
  std::array<bool*, 6> Switches() {
    return {&st.show_twy_ids,  &st.show_twys,  &st.show_ils,
            &st.show_airspace, &st.show_gates, &st.follow_acft};
  }
  static QCheckBox* Check(QWidget* w, int n) {
    return Child<QCheckBox>(w, ("Check" + std::to_string(n)).c_str());
  }
};

TEST_F(Preferences, LoadSetsTheBoxesFromTheSwitchesAtTheTopLeftAboveOtherWindows) {
  st.show_twy_ids = true;
  st.show_twys = false;
  st.show_ils = true;
  st.show_airspace = false;
  st.show_gates = false;
  st.follow_acft = true;
  st.altim_units = 0;
  Preferences_Window* w = Show_Preferences_Window(st);
  Expect_Built(w, PREFERENCES_WINDOW);
  EXPECT_EQ(w->pos(), QPoint(0, 0));
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(w->isModal());
  const std::array<bool, 6> expected = {true, false, true, false, false, true};
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(Check(w, n)->isChecked(), expected[n - 1]) << n;
  EXPECT_TRUE(Child<QRadioButton>(w, "Option1")->isChecked());
  EXPECT_FALSE(Child<QRadioButton>(w, "Option2")->isChecked());

  // Any unit but millibars shows inches of mercury.
  st.altim_units = 7;
  Preferences_Window* other = Show_Preferences_Window(st);
  EXPECT_FALSE(Child<QRadioButton>(other, "Option1")->isChecked());
  EXPECT_TRUE(Child<QRadioButton>(other, "Option2")->isChecked());
  EXPECT_EQ(st.altim_units, 7);
}

TEST_F(Preferences, EachClickChangesExactlyItsOwnSwitchAtOnce) {
  for (bool* s : Switches()) *s = true;
  st.altim_units = 1;
  Preferences_Window* w = Show_Preferences_Window(st);
  for (int n = 1; n <= 6; ++n) {
    Check(w, n)->click();
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(*Switches()[k - 1], k > n) << n << " " << k;
  }
  Check(w, 3)->click();
  EXPECT_TRUE(st.show_ils);

  Child<QRadioButton>(w, "Option1")->click();
  EXPECT_EQ(st.altim_units, 0);
  EXPECT_FALSE(Child<QRadioButton>(w, "Option2")->isChecked());
  Child<QRadioButton>(w, "Option2")->click();
  EXPECT_EQ(st.altim_units, 1);
  EXPECT_FALSE(Child<QRadioButton>(w, "Option1")->isChecked());
}

TEST_F(Preferences, OkAndTheCloseBoxBothCloseAndReportItLeavingUntouchedSwitchesAsTheyWere) {
  st.show_twys = true;
  st.show_gates = false;
  st.altim_units = 0;
  const Program_State before = st;
  Preferences_Window* w = Show_Preferences_Window(st);
  QSignalSpy closed(w, &QDialog::finished);
  Child<QPushButton>(w, "Command1")->click();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(st.show_twys, before.show_twys);
  EXPECT_EQ(st.show_gates, before.show_gates);
  EXPECT_EQ(st.altim_units, before.altim_units);

  Preferences_Window* again = Show_Preferences_Window(st);
  QSignalSpy closed_again(again, &QDialog::finished);
  Check(again, 4)->click();
  again->close();
  EXPECT_EQ(closed_again.count(), 1);
  EXPECT_TRUE(st.show_airspace);  // it was off: the click turned it on and closing kept it
}

TEST_F(Preferences, TheSimulatorGroupSitsBelowTheOptionsWithThisComputerChosenAtFirst) {
  Preferences_Window* w = Show_Preferences_Window(st);
  auto* frame3 = Child<QGroupBox>(w, "Frame3");
  ASSERT_NE(frame3, nullptr);
  EXPECT_EQ(frame3->title(), QStringLiteral("Simulator"));
  EXPECT_GT(frame3->y(), Child<QGroupBox>(w, "Frame2")->geometry().bottom());
  EXPECT_GT(Child<QPushButton>(w, "Command1")->y(), frame3->geometry().bottom());
  EXPECT_EQ(Child<QRadioButton>(w, "Option3")->text(), QStringLiteral("This computer"));
  EXPECT_EQ(Child<QRadioButton>(w, "Option4")->text(), QStringLiteral("Another computer:"));
  EXPECT_EQ(Child<QLabel>(w, "Label1")->text(), QStringLiteral("Key"));
  EXPECT_TRUE(Child<QRadioButton>(w, "Option3")->isChecked());
}

// The chart style changes at once and is kept for the next run; Check8 is not a display switch.
TEST_F(Preferences, TheChartStyleIsChosenAtOnceAndKept) {
  st.follow_acft = true;
  Preferences_Window* w = Show_Preferences_Window(st);
  EXPECT_TRUE(Child<QRadioButton>(w, "Option5")->isChecked());
  Child<QRadioButton>(w, "Option6")->click();
  Check(w, 8)->click();
  EXPECT_TRUE(st.diagram_style);
  EXPECT_TRUE(st.night_colours);
  EXPECT_TRUE(st.follow_acft);
  EXPECT_EQ(Load_Chart_Style(st.work_dir / CHART_STYLE_FILE), (Chart_Style{true, true}));
  w->close();
  Preferences_Window* again = Show_Preferences_Window(st);
  EXPECT_TRUE(Child<QRadioButton>(again, "Option6")->isChecked());
  EXPECT_TRUE(Check(again, 8)->isChecked());
}

}  // namespace
}  // namespace orv
