#include "scenery/selection_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStringListModel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "airspace/airport_fetch.h"
#include "airspace/airspace_reader.h"
#include "app/message_box.h"
#include "chart/chart_window.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "prefs/about_window.h"
#include "scenery/database_files.h"
#include "startup/data_files.h"
#include "startup/setup_window.h"

namespace orv {
namespace {

// The most file names one message lists; the rest are counted.
constexpr size_t kListedProblems = 10;

// Counts the handlers on the stack, so a close from outside waits until they are done.
class Busy_Scope {
 public:
  explicit Busy_Scope(int& busy) : busy_(busy) { ++busy_; }
  ~Busy_Scope() { --busy_; }
  Busy_Scope(const Busy_Scope&) = delete;
  Busy_Scope& operator=(const Busy_Scope&) = delete;

 private:
  int& busy_;
};

QPushButton* Named_Button(const char* name, const char* text, QWidget* parent) {
  auto* button = new QPushButton(Ui_Text(text), parent);
  button->setObjectName(Ui_Text(name));
  return button;
}

}  // namespace

Selection_Window::Selection_Window(Program_State& st, QWidget* parent)
    : QMainWindow(parent), st_(st) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Choosing an airport"));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* central = new QWidget(this);
  auto* frame1 = new QGroupBox(QStringLiteral("Airports list"), central);
  frame1->setObjectName(QStringLiteral("Frame1"));
  auto* label1 = new QLabel(QStringLiteral("Airport:"), frame1);
  label1->setObjectName(QStringLiteral("Label1"));

  combo1_ = new QComboBox(frame1);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setEditable(true);
  combo1_->setInsertPolicy(QComboBox::NoInsert);
  combo1_->setMinimumWidth(340);
  // The list holds every airport of the world: no measuring of all items, one row height.
  combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo1_->setMinimumContentsLength(36);
  if (auto* list_view = qobject_cast<QListView*>(combo1_->view())) {
    list_view->setUniformItemSizes(true);
  }
  items_ = new QStringListModel(this);
  combo1_->setModel(items_);
  // Typing narrows the list to the items that contain the text anywhere, letter case ignored.
  auto* completer = new QCompleter(items_, combo1_);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setFilterMode(Qt::MatchContains);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  completer->setMaxVisibleItems(15);
  combo1_->setCompleter(completer);
  combo1_->setEditText(Ui_Text(COMBO_PROMPT));

  command3_ = Named_Button("Command3", "GET AIRPORT", frame1);
  command2_ = Named_Button("Command2", "CLOSE_PROGRAM", frame1);
  auto* label2 = new QLabel(QStringLiteral("Scanning:"), central);
  label2->setObjectName(QStringLiteral("Label2"));
  text1_ = new QLineEdit(Ui_Text(STATUS_NONE), central);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setReadOnly(true);
  progress_bar1_ = new QProgressBar(central);
  progress_bar1_->setObjectName(QStringLiteral("ProgressBar1"));
  progress_bar1_->setRange(0, 1);
  progress_bar1_->setValue(0);

  auto* frame_layout = new QGridLayout(frame1);
  frame_layout->addWidget(label1, 0, 0);
  frame_layout->addWidget(combo1_, 0, 1, 1, 2);
  frame_layout->addWidget(command3_, 1, 1);
  frame_layout->addWidget(command2_, 1, 2);
  auto* layout = new QGridLayout(central);
  layout->addWidget(frame1, 0, 0, 1, 2);
  layout->addWidget(label2, 1, 0);
  layout->addWidget(text1_, 1, 1);
  layout->addWidget(progress_bar1_, 2, 0, 1, 2);
  setCentralWidget(central);

  QMenu* abot1 = menuBar()->addMenu(QStringLiteral("About"));
  abot1->setObjectName(QStringLiteral("abot1"));
  QAction* airpt_ch_vw = abot1->addAction(QStringLiteral("Orvane v1.2"));
  airpt_ch_vw->setObjectName(QStringLiteral("airpt_ch_vw"));

  connect(command3_, &QPushButton::clicked, this, &Selection_Window::Command3_Click);
  connect(command2_, &QPushButton::clicked, this, &Selection_Window::Command2_Click);
  connect(airpt_ch_vw, &QAction::triggered, this, &Selection_Window::Airpt_Ch_Vw_Click);

  read_sceneries_paths_ = new QTimer(this);
  read_sceneries_paths_->setObjectName(QStringLiteral("Read_Sceneries_Paths"));
  read_sceneries_paths_->setInterval(READ_SCENERIES_PATHS_MS);
  connect(read_sceneries_paths_, &QTimer::timeout, this,
          &Selection_Window::Read_Sceneries_Paths_Timer);
  scan_bgls_ = new QTimer(this);
  scan_bgls_->setObjectName(QStringLiteral("Scan_Bgls"));
  scan_bgls_->setInterval(SCAN_BGLS_MS);
  connect(scan_bgls_, &QTimer::timeout, this, &Selection_Window::Scan_Bgls_Timer);

  // Window load: the database is loaded or built about a second from now.
  read_sceneries_paths_->start();
}

QString Selection_Window::Status() const {
  return text1_->text();
}

void Selection_Window::Set_Status(const QString& text) {
  text1_->setText(text);
  text1_->repaint();
}

void Selection_Window::Set_Controls_Enabled(bool enabled) {
  combo1_->setEnabled(enabled);
  command3_->setEnabled(enabled);
  command2_->setEnabled(enabled);
}

void Selection_Window::Set_Progress(int value, int maximum) {
  Show_Progress(*progress_bar1_, value, maximum);
}

void Show_Progress(QProgressBar& bar, int value, int maximum) {
  // A maximum of 0 would make the bar a busy animation: nothing to do shows an empty bar.
  bar.setRange(0, std::max(maximum, 1));
  bar.setValue(maximum > 0 ? value : 0);
  bar.repaint();
}

void Selection_Window::Read_Sceneries_Paths_Timer() {
  Busy_Scope busy(busy_);
  Set_Controls_Enabled(false);
  Set_Status(Ui_Text(STATUS_MAGDEC));
  magdec_unread_ = Load_Mag_Grid(st_) != File_Status::ok;
  if (!st_.first_run) {
    Load_Database_Files();
    return;
  }
  if (st_.sim_version == 1) Set_Status(Ui_Text(STATUS_SCENERY_CFG));
  const Prepare_Report report = Prepare_Build(st_, build_);
  scenery_cfg_unread_ = report.scenery_cfg && *report.scenery_cfg != File_Status::ok;
  Set_Progress(0, build_.bgl_total + 1);
  read_sceneries_paths_->stop();
  Show_Message(this, Message_Icon::information, Ui_Text(MSG_FIRST_BUILD));
  scan_bgls_->start();
}

void Selection_Window::Load_Database_Files() {
  st_.db_ready = true;
  read_sceneries_paths_->stop();
  Set_Status(Ui_Text(STATUS_READING_DATABASE));
  const Database_Load airports = Load_Airport_File(st_);
  if (airports.status != Database_Status::ok) {
    Database_Damaged(airports.error);
    return;
  }
  Set_Status(Ui_Text(STATUS_READING_AIRSPACES));
  const Database_Load files = Load_Airspace_List(st_);
  if (files.status != Database_Status::ok) {
    Database_Damaged(files.error);
    return;
  }
  Set_Status(Ui_Text(STATUS_ADDING_AIRPORTS));
  Fill_Airport_List();
  Set_Status(Ui_Text(STATUS_DONE));
  Set_Controls_Enabled(true);
}

void Selection_Window::Database_Damaged(const std::string& error) {
  // A database that does not match its settings is never used: the three files go, and the
  // setup and the build run again at once.
  Remove_Data_Files(st_);
  st_.first_run = true;
  st_.db_ready = false;
  Show_Message(this, Message_Icon::error,
               QStringLiteral("The airport database is damaged and cannot be used (%1). Orvane "
                              "has removed its data files and will now run the setup again to "
                              "rebuild the database.")
                   .arg(Ui_Text(error)));
  Show_Setup_Window(st_);
  unloading_ = true;
  close();
}

void Selection_Window::Scan_Bgls_Timer() {
  Busy_Scope busy(busy_);
  if (Scan_Finished(st_, build_)) {
    Finish_Build();
    return;
  }
  if (const std::optional<std::string> title = Scan_Status_Text(st_, build_)) {
    Set_Status(Ui_Text(Utf8_From_1252(*title)));
  }
  const Scan_Step step = Scan_Bgls_Tick(st_, build_, Read_Airspace_Section);
  if (step.progress) Set_Progress(build_.files_done, build_.bgl_total + 1);
}

bool Selection_Window::Check_Written(const Write_Result& result, const char* what) {
  if (result.ok) return true;
  Show_Message(this, Message_Icon::error,
               QStringLiteral("The %1 could not be written: %2. The program will end; start it "
                              "again to repeat the setup and the build.")
                   .arg(Ui_Text(what), Ui_Text(result.error)));
  Remove_Data_Files(st_);
  End_Program();
  return false;
}

void Selection_Window::Finish_Build() {
  scan_bgls_->stop();
  Set_Status(Ui_Text(STATUS_CREATING_DATABASE));
  if (!Check_Written(Write_Airport_File(st_), "airport database")) return;
  Set_Status(Ui_Text(STATUS_CREATING_AIRSPACES));
  if (!Check_Written(Write_Airspace_List(st_), "airspace file list")) return;
  Set_Status(Ui_Text(STATUS_UPDATING_CONFIG));
  if (!Check_Written(Update_Settings_Counts(st_).result, "settings file")) return;
  Show_Message(this, Message_Icon::information, Ui_Text(MSG_DATABASE_CREATED));
  Report_Scan_Problems();
  Set_Status(Ui_Text(STATUS_ADDING_AIRPORTS));
  Fill_Airport_List();
  End_Build(st_, build_);
  Set_Status(Ui_Text(STATUS_DONE));
  Set_Controls_Enabled(true);
  Set_Progress(0, build_.bgl_total + 1);
}

void Selection_Window::Report_Scan_Problems() {
  const Scan_Tally& tally = build_.tally;
  if (build_.problems.empty() && !scenery_cfg_unread_ && !magdec_unread_) return;
  QString text;
  if (magdec_unread_) {
    text += QStringLiteral(
        "The simulator's magnetic variation file scenery\\magdec.bgl could not be read, so "
        "runway and ILS headings are true headings, not magnetic ones.\n\n");
  }
  if (scenery_cfg_unread_) {
    text += QStringLiteral(
        "The simulator's scenery.cfg could not be read, so no scenery area "
        "was scanned.\n\n");
  }
  if (!build_.problems.empty()) {
    text += QStringLiteral(
                "Some scenery files could not be read completely: %1 could not be opened, %2 "
                "ended early because they are damaged. The airports read before the damage are "
                "in the database.\n")
                .arg(tally.files_unopened)
                .arg(tally.files_cut_short);
    const size_t listed = std::min(build_.problems.size(), kListedProblems);
    for (size_t i = 0; i < listed; ++i) {
      const Scan_Problem& problem = build_.problems[i];
      text += QStringLiteral("\n%1: %2").arg(Ui_Text(problem.file), Ui_Text(problem.reason));
    }
    if (build_.problems.size() > listed) {
      text += QStringLiteral("\n... and %1 more.").arg(build_.problems.size() - listed);
    }
  }
  Show_Message(this, Message_Icon::information, text);
}

void Selection_Window::Fill_Airport_List() {
  const std::vector<std::string> items = Add_Airport_Items(st_);
  QStringList list;
  list.reserve(static_cast<qsizetype>(items.size()));
  for (const std::string& item : items) list.push_back(Ui_Text(Utf8_From_1252(item)));
  items_->setStringList(list);
  // Nothing is chosen until the pilot picks an item.
  combo1_->setCurrentIndex(-1);
  combo1_->setEditText(Ui_Text(COMBO_PROMPT));
}

void Selection_Window::Command3_Click() {
  Busy_Scope busy(busy_);
  const int index = combo1_->currentIndex();
  if (index < 0 || combo1_->currentText() != combo1_->itemText(index)) return;
  const std::string chosen = combo1_->itemText(index).toStdString();

  Set_Controls_Enabled(false);
  Set_Status(Ui_Text(STATUS_GETTING_INFO));
  Find_Fetch_Airport_Where(
      st_, [&chosen](const std::string& item_text) { return Utf8_From_1252(item_text) == chosen; });
  Release_Airport_List(st_);
  // Emptying the list clears the edit field: the chosen airport stays in view while the
  // airspaces are read.
  const QString chosen_text = combo1_->itemText(index);
  items_->setStringList({});
  combo1_->setEditText(chosen_text);

  Set_Status(Ui_Text(STATUS_LOOKING_AIRSPACE));
  Clear_Airspaces(st_);
  Read_Airspace_Files(st_, [this](int32_t done, int32_t total) {
    Set_Progress(done, total);
    repaint();
  });
  Release_Airspace_File_List(st_);
  Classify_Airspaces(st_);
  Add_Tracon_Airspace(st_);

  Show_Chart_Window(st_);
  unloading_ = true;
  close();
}

void Selection_Window::Quit_Program() {
  Set_Status(Ui_Text(STATUS_PLEASE_WAIT));
  Release_Airport_List(st_);
  End_Program();
}

void Selection_Window::Command2_Click() {
  Quit_Program();
}

void Selection_Window::Airpt_Ch_Vw_Click() {
  // One About window at a time: a second click brings the open one to the front.
  if (about_) {
    about_->raise();
    about_->activateWindow();
    return;
  }
  about_ = Show_About_Window();
}

void Selection_Window::closeEvent(QCloseEvent* event) {
  if (busy_ > 0 && !unloading_) {
    event->ignore();
    return;
  }
  if (Status() == Ui_Text(STATUS_DONE)) Quit_Program();
  event->accept();
}

Selection_Window* Show_Selection_Window(Program_State& st) {
  auto* w = new Selection_Window(st);
  w->show();
  return w;
}

}  // namespace orv
