// The airport selection window's controls: its names and timers, the combo box a build fills,
// GET AIRPORT and the close box reaching the behaviour, the About window and the chart it opens.
#include "qt/selection_window.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt/about_window.h"
#include "qt/chart_window.h"
#include "startup/setup_check.h"
#include "support/sample_sim.h"
#include "window_fixture.h"

namespace orv {
namespace {

class Selection : public Window_Test {
 protected:
  void SetUp() override {
    Window_Test::SetUp();
    sim = dir / "FS2002";
    testing::Write_Sample_Sim(sim);
  }

  // Settings as the wizard leaves them on a first run.
  void Wizard_Done() {
    ASSERT_TRUE(Write_Wizard_Settings(st, sim.string()).ok);
    st.first_run = true;
  }

  Selection_Window* Open_Selection() {
    windows.Open_Selection();
    return Open_Window<Selection_Window>();
  }

  // The build's ticks, as its timer would give them, until the timer stops.
  static void Run_Scan(Selection_Window* w) {
    for (int guard = 0; guard < 200 && w->Scan_Bgls()->isActive(); ++guard) w->Scan_Bgls_Timer();
  }

  // A first run through to "Done"; the window is left open.
  Selection_Window* Build_Database() {
    Wizard_Done();
    Selection_Window* w = Open_Selection();
    if (w) {
      w->Read_Sceneries_Paths_Timer();
      Run_Scan(w);
    }
    return w;
  }

  static QStringList Items(Selection_Window* w) {
    QStringList items;
    auto* combo = Child<QComboBox>(w, "Combo1");
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
  }

  static void Choose(Selection_Window* w, const QString& item) {
    auto* combo = Child<QComboBox>(w, "Combo1");
    combo->setCurrentIndex(combo->findText(item));
  }

  static bool Controls_Enabled(Selection_Window* w) {
    return Child<QComboBox>(w, "Combo1")->isEnabled() &&
           Child<QPushButton>(w, "Command3")->isEnabled() &&
           Child<QPushButton>(w, "Command2")->isEnabled();
  }

  std::filesystem::path sim;
};

const QStringList kBuiltItems = {QStringLiteral("KSEA (SEATTLE-TACOMA INTL)"),
                                 QStringLiteral("KBFI (BOEING FLD)"),
                                 QString::fromUtf8("LSZH (Z\xC3\x9C"
                                                   "RICH)"),
                                 QStringLiteral("KPAE (PAINE)")};

TEST_F(Selection, OpensWaitingWithItsControlsAndTimers) {
  Wizard_Done();
  Selection_Window* w = Open_Selection();
  ASSERT_NE(w, nullptr);
  Expect_Built(w, SELECTION_WINDOW);
  EXPECT_TRUE(Child<QLineEdit>(w, "Text1")->isReadOnly());
  auto* combo = Child<QComboBox>(w, "Combo1");
  EXPECT_TRUE(combo->isEditable());
  EXPECT_EQ(combo->currentText(), QStringLiteral("[Type and select an airport from the list]"));
  EXPECT_TRUE(w->Read_Sceneries_Paths()->isActive());
  EXPECT_EQ(w->Read_Sceneries_Paths()->interval(), 1000);
  EXPECT_FALSE(w->Scan_Bgls()->isActive());
  EXPECT_EQ(w->Scan_Bgls()->interval(), 5);
  auto* about = Child<QAction>(w, "airpt_ch_vw");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->text(), QStringLiteral("Orvane v1.2"));
}

TEST_F(Selection, TheBuiltListFillsTheComboWithNothingChosenAndTypingNarrowsIt) {
  Selection_Window* w = Build_Database();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Status(), QStringLiteral("Done"));
  EXPECT_EQ(Items(w), kBuiltItems);
  auto* combo = Child<QComboBox>(w, "Combo1");
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_EQ(combo->currentText(), QStringLiteral("[Type and select an airport from the list]"));
  EXPECT_TRUE(Controls_Enabled(w));
  auto* bar = Child<QProgressBar>(w, "ProgressBar1");
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(bar->maximum(), 4);
  EXPECT_FALSE(w->Read_Sceneries_Paths()->isActive());
  EXPECT_FALSE(w->Scan_Bgls()->isActive());
  // Typing narrows the list to the items the behaviour keeps: those holding the text anywhere,
  // letter case ignored.
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), QStringLiteral("tacoma"));
  QAbstractItemModel* shown = combo->completer()->model();
  ASSERT_EQ(shown->rowCount(), 1);
  EXPECT_EQ(shown->index(0, 0).data().toString(), kBuiltItems[0]);
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), QStringLiteral("k"));
  EXPECT_EQ(combo->completer()->model()->rowCount(), 3);
}

TEST_F(Selection, GetAirportTakesOnlyTheChosenItemAndTheChartLeadsBack) {
  Selection_Window* w = Build_Database();
  ASSERT_NE(w, nullptr);
  auto* combo = Child<QComboBox>(w, "Combo1");
  auto* command3 = Child<QPushButton>(w, "Command3");
  command3->click();  // nothing chosen
  combo->setEditText(QStringLiteral("KSEA"));
  command3->click();  // typed, not chosen
  Choose(w, kBuiltItems[0]);
  combo->setEditText(QStringLiteral("KSEA (SEATTLE"));
  command3->click();  // chosen, then the text changed
  EXPECT_EQ(w->Status(), QStringLiteral("Done"));
  EXPECT_EQ(Open_Window<Chart_Window>(), nullptr);

  // The chosen airport stays in view while its airspaces are read.
  QString looking_with;
  QObject::connect(Child<QLineEdit>(w, "Text1"), &QLineEdit::textChanged, [&](const QString& t) {
    if (t == QStringLiteral("Looking for Airspace...")) looking_with = combo->currentText();
  });
  Choose(w, kBuiltItems[2]);
  command3->click();
  EXPECT_EQ(looking_with, kBuiltItems[2]);
  EXPECT_EQ(st.cur_airport.ident, "LSZH");
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
  auto* chart = Open_Window<Chart_Window>();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->windowTitle(), QString::fromUtf8("Z\xC3\x9CRICH Chart"));

  // Change / Airport: the list again, loaded from the database files.
  Child<QAction>(chart, "airpt_place")->trigger();
  EXPECT_EQ(Open_Window<Chart_Window>(), nullptr);
  Selection_Window* again = Open_Window<Selection_Window>();
  ASSERT_NE(again, nullptr);
  again->Read_Sceneries_Paths_Timer();
  EXPECT_EQ(again->Status(), QStringLiteral("Done"));
  EXPECT_EQ(Items(again), kBuiltItems);
}

TEST_F(Selection, CloseProgramAndTheCloseBoxInDoneEndTheProgram) {
  Child<QPushButton>(Build_Database(), "Command2")->click();
  EXPECT_EQ(ended, 1);
  Delete_Windows();
  Selection_Window* w = Build_Database();
  w->close();
  EXPECT_EQ(w->Status(), QStringLiteral("Please wait..."));
  EXPECT_EQ(ended, 2);
}

TEST_F(Selection, AboutMenuOpensTheAboutWindowModelessOnTop) {
  Wizard_Done();
  Selection_Window* w = Open_Selection();
  ASSERT_NE(w, nullptr);
  Child<QAction>(w, "airpt_ch_vw")->trigger();
  auto* about = Open_Window<About_Window>();
  ASSERT_NE(about, nullptr);
  Expect_Built(about, ABOUT_WINDOW);
  EXPECT_EQ(about->pos(), QPoint(0, 0));
  EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(about->isModal());
  EXPECT_EQ(Child<QLabel>(about, "Label2")->text(), QStringLiteral("Special Thanks To:"));
  // A second click brings the open window forward instead of opening another.
  Child<QAction>(w, "airpt_ch_vw")->trigger();
  EXPECT_EQ(Open_Window<About_Window>(), about);
  Child<QPushButton>(about, "Command1")->click();
  EXPECT_EQ(Open_Window<About_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Selection_Window>(), w);  // the list stays as it was
}

}  // namespace
}  // namespace orv
