#include "qt/selection_window.h"

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
#include <algorithm>
#include <utility>

#include "orvane_version.h"
#include "qt/message_box.h"

namespace orv {
namespace {

QPushButton* Named_Button(const char* name, const char* text, QWidget* parent) {
  auto* button = new QPushButton(Ui_Text(text), parent);
  button->setObjectName(Ui_Text(name));
  return button;
}

QTimer* Named_Timer(const char* name, int interval, QObject* parent) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(Ui_Text(name));
  timer->setInterval(interval);
  return timer;
}

}  // namespace

Selection_Window::Selection_Window(Program_State& st, Program_Windows& windows, Tick_Clock clock,
                                   QWidget* parent)
    : QMainWindow(parent), behaviour_(st, *this, windows, std::move(clock)) {
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
  QAction* airpt_ch_vw = abot1->addAction(QStringLiteral("Orvane v" ORVANE_VERSION));
  airpt_ch_vw->setObjectName(QStringLiteral("airpt_ch_vw"));

  connect(command3_, &QPushButton::clicked, this, [this] {
    behaviour_.Get_Airport(combo1_->currentIndex(), Std_Text(combo1_->currentText()));
  });
  connect(command2_, &QPushButton::clicked, this, [this] { behaviour_.Close_Program(); });
  connect(airpt_ch_vw, &QAction::triggered, this, [this] { behaviour_.Open_About(); });

  read_sceneries_paths_ = Named_Timer("Read_Sceneries_Paths", READ_SCENERIES_PATHS_MS, this);
  connect(read_sceneries_paths_, &QTimer::timeout, this,
          &Selection_Window::Read_Sceneries_Paths_Timer);
  scan_bgls_ = Named_Timer("Scan_Bgls", SCAN_BGLS_MS, this);
  connect(scan_bgls_, &QTimer::timeout, this, &Selection_Window::Scan_Bgls_Timer);

  behaviour_.Load();
}

QString Selection_Window::Status() const {
  return text1_->text();
}

void Selection_Window::Show_Message(Message_Icon icon, const std::string& text) {
  orv::Show_Message(this, icon, Ui_Text(text));
}

void Selection_Window::Close() {
  close();
}

void Selection_Window::Set_Status(const std::string& text) {
  text1_->setText(Ui_Text(text));
  text1_->repaint();
}

void Selection_Window::Enable_Controls(bool on) {
  combo1_->setEnabled(on);
  command3_->setEnabled(on);
  command2_->setEnabled(on);
}

void Selection_Window::Set_Progress(int32_t value, int32_t maximum) {
  Show_Progress(*progress_bar1_, value, maximum);
}

void Show_Progress(QProgressBar& bar, int value, int maximum) {
  bar.setRange(0, std::max(maximum, 1));
  bar.setValue(maximum > 0 ? value : 0);
  bar.repaint();
}

void Selection_Window::Fill_List(const std::vector<std::string>& items,
                                 const std::string& edit_text) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(items.size()));
  for (const std::string& item : items) list.push_back(Ui_Text(item));
  items_->setStringList(list);
  combo1_->setCurrentIndex(-1);
  combo1_->setEditText(Ui_Text(edit_text));
}

void Selection_Window::Enable_Timer(Selection_Timer timer, bool on) {
  QTimer* t = timer == Selection_Timer::scan_bgls ? scan_bgls_ : read_sceneries_paths_;
  if (on) {
    t->start();
  } else {
    t->stop();
  }
}

void Selection_Window::Repaint() {
  repaint();
}

void Selection_Window::closeEvent(QCloseEvent* event) {
  if (behaviour_.Unload()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace orv
