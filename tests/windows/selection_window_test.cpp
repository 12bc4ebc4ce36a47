// The airport selection window: the first-run build, the normal load, GET AIRPORT, the close
// rules, a damaged database, and the About window and chart placeholder it leads to.
#include "qt/selection_window.h"

#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/settings_file.h"
#include "qt/about_window.h"
#include "qt/chart_window.h"
#include "qt/setup_window.h"
#include "qt/splash_window.h"
#include "scenery/database_build.h"
#include "scenery/database_files.h"
#include "startup/data_files.h"
#include "startup/setup_check.h"
#include "support/scenery_writer.h"
#include "window_fixture.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

constexpr double kSeaLat = 47.4489;
constexpr double kSeaLon = -122.3094;

// Seattle-Tacoma, Boeing Field and the Seattle Class B around them, in one file.
std::vector<uint8_t> Seattle_File() {
  return sw::Bgl_File()
      .Add(sw::Airport("KSEA")
               .Reference(kSeaLat, kSeaLon)
               .Name("Seattle-Tacoma Intl")
               .Frequency(9, "119.2")
               .Runway({.lat = kSeaLat,
                        .lon = kSeaLon,
                        .true_heading = 180,
                        .length_ft = 11900,
                        .width_ft = 150,
                        .side = 2,
                        .number = 16}))
      .Add(sw::Airport("KBFI").Reference(47.53, -122.302).Name("Boeing Fld"))
      .Add(sw::Airspace_Container().Add(sw::Airspace_Group()
                                            .Box(47.0, -122.9, 47.9, -121.7)
                                            .Name("SEATTLE CLASS B")
                                            .Center(kSeaLat, kSeaLon)
                                            .Circle(6, 0, 10000)))
      .Build()
      .bytes;
}

// Zurich, whose name holds a Windows-1252 letter.
std::vector<uint8_t> Zurich_File() {
  return sw::Bgl_File()
      .Add(sw::Airport("LSZH").Reference(47.4647, 8.5492).Name("Z\xFCrich"))
      .Build()
      .bytes;
}

// Two airports, the file cut off inside the second one's detail.
std::vector<uint8_t> Broken_File() {
  const sw::Built_File f = sw::Bgl_File()
                               .Add(sw::Airport("KPAE").Reference(47.9, -122.28).Name("Paine"))
                               .Add(sw::Airport("KAWO").Reference(48.16, -122.16).Name("Arlington"))
                               .Build();
  std::vector<uint8_t> bytes = f.bytes;
  bytes.resize(static_cast<size_t>(f.layout.airports[1].detail + 6));
  return bytes;
}

class Selection : public Window_Test {
 protected:
  void SetUp() override {
    Window_Test::SetUp();
    sim = dir / "FS2002";
    sw::Sim_Folder folder(sim);
    folder.Magdec(sw::Magdec_File([](int, int) { return int16_t{0}; }));
    folder.Area({.title = "Seattle Area",
                 .local = "Scenery\\Seattle",
                 .files = {{"sea.bgl", Seattle_File()}, {"zurich.bgl", Zurich_File()}}});
    folder.Area({.title = "Empty Area", .local = "Scenery\\Empty"});
    folder.Area({.title = "Damaged Area",
                 .local = "Scenery\\Damaged",
                 .files = {{"broken.bgl", Broken_File()}}});
    folder.Write();
  }

  // Settings as the wizard leaves them on a first run.
  void Wizard_Done() {
    ASSERT_TRUE(Write_Wizard_Settings(st, sim.string()).ok);
    st.first_run = true;
  }

  Selection_Window* Open_Selection() {
    windows.Open_Selection();
    Selection_Window* w = Open_Window<Selection_Window>();
    if (w) Record_Status(w);
    return w;
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

  // Builds the database, then starts again as a normal run would.
  Selection_Window* Load_Built_Database() {
    Build_Database();
    Delete_Windows();
    messages.clear();
    statuses.clear();
    Program_State fresh;
    fresh.work_dir = st.work_dir;
    st = fresh;
    EXPECT_EQ(Check_Data_Files(st), Start_Decision::normal_run);
    Selection_Window* w = Open_Selection();
    if (w) w->Read_Sceneries_Paths_Timer();
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
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Choosing an airport"));
  EXPECT_EQ(w->Status(), QStringLiteral("-None-"));
  EXPECT_TRUE(Child<QLineEdit>(w, "Text1")->isReadOnly());
  auto* combo = Child<QComboBox>(w, "Combo1");
  EXPECT_TRUE(combo->isEditable());
  EXPECT_EQ(combo->currentText(), QStringLiteral("[Type and select an airport from the list]"));
  EXPECT_EQ(combo->completer()->filterMode(), Qt::MatchContains);
  EXPECT_EQ(combo->completer()->caseSensitivity(), Qt::CaseInsensitive);
  EXPECT_EQ(Child<QPushButton>(w, "Command3")->text(), QStringLiteral("GET AIRPORT"));
  EXPECT_EQ(Child<QPushButton>(w, "Command2")->text(), QStringLiteral("CLOSE_PROGRAM"));
  EXPECT_TRUE(w->Read_Sceneries_Paths()->isActive());
  EXPECT_EQ(w->Read_Sceneries_Paths()->interval(), 1000);
  EXPECT_FALSE(w->Scan_Bgls()->isActive());
  EXPECT_EQ(w->Scan_Bgls()->interval(), 5);
  auto* about = Child<QAction>(w, "airpt_ch_vw");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->text(), QStringLiteral("Orvane v1.2"));
}

TEST_F(Selection, FirstRunBuildsTheDatabaseAndEndsInDone) {
  Wizard_Done();
  Selection_Window* w = Open_Selection();
  ASSERT_NE(w, nullptr);
  w->Read_Sceneries_Paths_Timer();

  // Preparing: the first-run message before the scan, the controls locked.
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, Message_Icon::information);
  EXPECT_EQ(messages[0].text, Ui_Text(MSG_FIRST_BUILD));
  EXPECT_FALSE(w->Read_Sceneries_Paths()->isActive());
  EXPECT_TRUE(w->Scan_Bgls()->isActive());
  EXPECT_FALSE(Controls_Enabled(w));
  auto* bar = Child<QProgressBar>(w, "ProgressBar1");
  EXPECT_EQ(bar->maximum(), 4);  // three scenery files, plus one
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(statuses, (std::vector<std::string>{"Magdec.bgl File", "Scenery.cfg File"}));

  Run_Scan(w);
  EXPECT_FALSE(w->Scan_Bgls()->isActive());
  const std::vector<std::string> expected = {"Magdec.bgl File",
                                             "Scenery.cfg File",
                                             "Seattle Area",
                                             "Empty Area",
                                             "Damaged Area",
                                             "Creating Database Files...",
                                             "Creating Airspaces Files List...",
                                             "Updating Configuration...",
                                             "Adding Airports to List...",
                                             "Done"};
  EXPECT_EQ(statuses, expected);

  // After the database message, one message about the damaged file, naming it.
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1].text, Ui_Text(MSG_DATABASE_CREATED));
  EXPECT_EQ(messages[2].icon, Message_Icon::information);
  EXPECT_TRUE(messages[2].text.contains(QStringLiteral("broken.bgl")));
  EXPECT_TRUE(messages[2].text.contains(QStringLiteral("0 could not be opened, 1 ended early")));

  EXPECT_EQ(Items(w), kBuiltItems);
  EXPECT_EQ(Child<QComboBox>(w, "Combo1")->currentIndex(), -1);
  EXPECT_EQ(Child<QComboBox>(w, "Combo1")->currentText(),
            QStringLiteral("[Type and select an airport from the list]"));
  EXPECT_TRUE(Controls_Enabled(w));
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(bar->maximum(), 4);
  EXPECT_FALSE(st.first_run);
  EXPECT_TRUE(st.db_ready);
  for (const char* name : DATA_FILES) EXPECT_TRUE(Data_File_Exists(name)) << name;
  Program_State saved;
  ASSERT_EQ(Load_Settings(saved, st.work_dir / SETTINGS_FILE), Settings_Status::ok);
  EXPECT_EQ(saved.airport_count, 4);
  EXPECT_EQ(saved.airspace_file_count, 1);
  EXPECT_EQ(ended, 0);
}

TEST_F(Selection, BuildWriteFailureIsAnErrorAndNeverSuccess) {
  Wizard_Done();
  // A folder where the database file should go: the file cannot be put in its place.
  std::filesystem::create_directories(st.work_dir / DATABASE_FILE / "blocked");
  Selection_Window* w = Open_Selection();
  ASSERT_NE(w, nullptr);
  w->Read_Sceneries_Paths_Timer();
  Run_Scan(w);

  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].icon, Message_Icon::error);
  EXPECT_TRUE(messages[1].text.contains(QStringLiteral("airport database could not be written")));
  EXPECT_NE(w->Status(), QStringLiteral("Done"));
  EXPECT_FALSE(Controls_Enabled(w));
  EXPECT_FALSE(Data_File_Exists(SETTINGS_FILE));
  EXPECT_EQ(ended, 1);
}

TEST_F(Selection, NormalRunLoadsTheBuiltDatabase) {
  Selection_Window* w = Load_Built_Database();
  ASSERT_NE(w, nullptr);
  const std::vector<std::string> expected = {"Magdec.bgl File", "Reading Database File...",
                                             "Reading Airspaces Files List...",
                                             "Adding Airports to List...", "Done"};
  EXPECT_EQ(statuses, expected);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Items(w), kBuiltItems);
  EXPECT_EQ(Child<QComboBox>(w, "Combo1")->currentIndex(), -1);
  EXPECT_TRUE(Controls_Enabled(w));
  // Typing narrows the list to the items holding the text anywhere, letter case ignored.
  QCompleter* completer = Child<QComboBox>(w, "Combo1")->completer();
  completer->setCompletionPrefix(QStringLiteral("tacoma"));
  EXPECT_EQ(completer->completionCount(), 1);
  EXPECT_EQ(completer->currentCompletion(), kBuiltItems[0]);
  completer->setCompletionPrefix(QStringLiteral("k"));
  EXPECT_EQ(completer->completionCount(), 3);
  EXPECT_FALSE(w->Read_Sceneries_Paths()->isActive());
  EXPECT_FALSE(w->Scan_Bgls()->isActive());
  EXPECT_TRUE(st.db_ready);
}

TEST_F(Selection, GetAirportWithoutAChosenItemDoesNothing) {
  Selection_Window* w = Load_Built_Database();
  ASSERT_NE(w, nullptr);
  statuses.clear();
  auto* combo = Child<QComboBox>(w, "Combo1");
  auto* command3 = Child<QPushButton>(w, "Command3");

  command3->click();  // nothing chosen
  combo->setEditText(QStringLiteral("KSEA"));
  command3->click();  // typed, not chosen
  Choose(w, kBuiltItems[0]);
  combo->setEditText(QStringLiteral("KSEA (SEATTLE"));
  command3->click();  // chosen, then the text changed

  EXPECT_TRUE(statuses.empty());
  EXPECT_EQ(w->Status(), QStringLiteral("Done"));
  EXPECT_TRUE(Controls_Enabled(w));
  EXPECT_TRUE(st.cur_airport.ident.empty());
  EXPECT_EQ(st.airports.size(), 5u);
  EXPECT_EQ(Open_Window<Chart_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Selection_Window>(), w);
}

TEST_F(Selection, GetAirportFetchesAndOpensTheChartThenGoesBackToTheList) {
  Selection_Window* w = Load_Built_Database();
  ASSERT_NE(w, nullptr);
  statuses.clear();
  Choose(w, kBuiltItems[0]);
  QString looking_with;
  auto* combo = Child<QComboBox>(w, "Combo1");
  QObject::connect(Child<QLineEdit>(w, "Text1"), &QLineEdit::textChanged, [&](const QString& t) {
    if (t == QStringLiteral("Looking for Airspace...")) {
      looking_with = combo->currentText();
    }
  });
  Child<QPushButton>(w, "Command3")->click();

  EXPECT_EQ(statuses,
            (std::vector<std::string>{"Getting Airport's Info...", "Looking for Airspace..."}));
  EXPECT_EQ(looking_with, kBuiltItems[0]);  // the chosen airport stays in view
  EXPECT_EQ(st.cur_airport.ident, "KSEA");
  // The Class B from the scenery file, then the departure/approach airspace of its own.
  ASSERT_EQ(st.airspace_count, 2);
  EXPECT_EQ(st.airspaces[0].class_label, "Airspace Class B");
  EXPECT_EQ(st.airspaces[1].class_label, "TRACON (Departure/Approach)");
  EXPECT_EQ(st.airports.size(), 1u);
  EXPECT_EQ(ended, 0);
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
  auto* chart = Open_Window<Chart_Window>();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->windowTitle(), QStringLiteral("SEATTLE-TACOMA INTL Chart"));

  // Change / Airport: the list again, loaded from the database files.
  Child<QAction>(chart, "airpt_place")->trigger();
  EXPECT_EQ(Open_Window<Chart_Window>(), nullptr);
  Selection_Window* again = Open_Window<Selection_Window>();
  ASSERT_NE(again, nullptr);
  again->Read_Sceneries_Paths_Timer();
  EXPECT_EQ(again->Status(), QStringLiteral("Done"));
  EXPECT_EQ(Items(again), kBuiltItems);
}

TEST_F(Selection, GetAirportFindsANameWithAnAccentedLetter) {
  Selection_Window* w = Load_Built_Database();
  ASSERT_NE(w, nullptr);
  Choose(w, kBuiltItems[2]);
  Child<QPushButton>(w, "Command3")->click();
  EXPECT_EQ(st.cur_airport.ident, "LSZH");
  EXPECT_EQ(st.cur_airport.name, "Z\xDCRICH");
  EXPECT_EQ(st.airspace_count, 0);  // no airspace near it and no approach frequency
  auto* chart = Open_Window<Chart_Window>();
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->windowTitle(), QString::fromUtf8("Z\xC3\x9CRICH Chart"));
}

TEST_F(Selection, ClosingInDoneOrCloseProgramSaysPleaseWaitAndEnds) {
  Selection_Window* w = Load_Built_Database();
  ASSERT_NE(w, nullptr);
  Child<QPushButton>(w, "Command2")->click();
  EXPECT_EQ(w->Status(), QStringLiteral("Please wait..."));
  EXPECT_EQ(st.airports.size(), 1u);
  EXPECT_EQ(ended, 1);

  Delete_Windows();
  Selection_Window* second = Load_Built_Database();
  ASSERT_NE(second, nullptr);
  ended = 0;
  second->close();
  EXPECT_EQ(statuses.back(), "Please wait...");
  EXPECT_EQ(st.airports.size(), 1u);
  EXPECT_EQ(ended, 1);
}

TEST_F(Selection, DamagedDatabaseAtLoadIsReportedRemovedAndSetupRunsAgain) {
  Build_Database();
  Delete_Windows();
  messages.clear();
  // The settings promise more airports than the database holds.
  Program_State fresh;
  fresh.work_dir = st.work_dir;
  st = fresh;
  ASSERT_EQ(Check_Data_Files(st), Start_Decision::normal_run);
  st.cfg.airport_count = 40;
  ASSERT_TRUE(Save_Settings(st).ok);
  st = fresh;
  ASSERT_EQ(Check_Data_Files(st), Start_Decision::normal_run);
  Selection_Window* w = Open_Selection();
  ASSERT_NE(w, nullptr);
  w->Read_Sceneries_Paths_Timer();

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, Message_Icon::error);
  EXPECT_TRUE(messages[0].text.contains(QStringLiteral("airport database is damaged")));
  for (const char* name : DATA_FILES) EXPECT_FALSE(Data_File_Exists(name)) << name;
  EXPECT_EQ(Open_Window<Selection_Window>(), nullptr);
  EXPECT_NE(Open_Window<Setup_Window>(), nullptr);
  EXPECT_TRUE(st.first_run);
  EXPECT_EQ(st.airport_count, 0);
  EXPECT_EQ(ended, 0);
}

TEST_F(Selection, AboutMenuOpensTheAboutWindowModelessOnTop) {
  Wizard_Done();
  Selection_Window* w = Open_Selection();
  ASSERT_NE(w, nullptr);
  Child<QAction>(w, "airpt_ch_vw")->trigger();
  auto* about = Open_Window<About_Window>();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->windowTitle(), QStringLiteral("About Orvane v1.2"));
  EXPECT_EQ(about->pos(), QPoint(0, 0));
  EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(about->isModal());
  EXPECT_EQ(Child<QLabel>(about, "Label1")->text(), QStringLiteral("ORVANE VERSION 1.2"));
  EXPECT_EQ(Child<QLabel>(about, "Label2")->text(), QStringLiteral("Special Thanks To:"));
  // A second click brings the open window forward instead of opening another.
  Child<QAction>(w, "airpt_ch_vw")->trigger();
  EXPECT_EQ(Open_Window<About_Window>(), about);
  Child<QPushButton>(about, "Command1")->click();
  EXPECT_EQ(Open_Window<About_Window>(), nullptr);
  EXPECT_EQ(Open_Window<Selection_Window>(), w);  // the list stays as it was
}

TEST_F(Selection, ProgressWithNothingToDoIsAnEmptyBarNotABusyOne) {
  QProgressBar bar;
  Show_Progress(bar, 0, 0);
  EXPECT_GT(bar.maximum(), bar.minimum());
  EXPECT_EQ(bar.value(), 0);
  Show_Progress(bar, 2, 5);
  EXPECT_EQ(bar.maximum(), 5);
  EXPECT_EQ(bar.value(), 2);
}

}  // namespace
}  // namespace orv
