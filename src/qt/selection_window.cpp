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

#include "qt/message_box.h"
#include "qt/table_widgets.h"

namespace orv {
namespace {

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
  setObjectName(Ui_Text(SELECTION_WINDOW.name));
  setWindowTitle(Ui_Text(SELECTION_WINDOW.caption));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* central = new QWidget(this);
  const Table_Widgets w(SELECTION_WINDOW, central);
  auto* frame1 = w.Get<QGroupBox>("Frame1");
  combo1_ = w.Get<QComboBox>("Combo1");
  combo1_->setMinimumWidth(340);
  // The list holds every airport of the world: no measuring of all items, one row height.
  combo1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo1_->setMinimumContentsLength(36);
  if (auto* list_view = qobject_cast<QListView*>(combo1_->view())) {
    list_view->setUniformItemSizes(true);
  }
  items_ = new QStringListModel(this);
  combo1_->setModel(items_);
  // Typing narrows the list to the items the behaviour keeps for the text; the popup shows them
  // as they are, without a filter of Qt's own.
  auto* completer = new QCompleter(combo1_);
  narrowed_ = new QStringListModel(completer);
  completer->setModel(narrowed_);
  completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer->setMaxVisibleItems(15);
  combo1_->setCompleter(completer);
  connect(combo1_->lineEdit(), &QLineEdit::textEdited, this, &Selection_Window::Narrow_List);
  combo1_->setEditText(Ui_Text(SELECTION_WINDOW.Control("Combo1").caption));

  command3_ = w.Get<QPushButton>("Command3");
  command2_ = w.Get<QPushButton>("Command2");
  text1_ = w.Get<QLineEdit>("Text1");
  progress_bar1_ = w.Get<QProgressBar>("ProgressBar1");
  progress_bar1_->setRange(0, 1);
  progress_bar1_->setValue(0);

  auto* frame_layout = new QGridLayout(frame1);
  frame_layout->addWidget(w.Get<QLabel>("Label1"), 0, 0);
  frame_layout->addWidget(combo1_, 0, 1, 1, 2);
  frame_layout->addWidget(command3_, 1, 1);
  frame_layout->addWidget(command2_, 1, 2);
  auto* layout = new QGridLayout(central);
  layout->addWidget(frame1, 0, 0, 1, 2);
  layout->addWidget(w.Get<QLabel>("Label2"), 1, 0);
  layout->addWidget(text1_, 1, 1);
  layout->addWidget(progress_bar1_, 2, 0, 1, 2);
  setCentralWidget(central);

  const std::vector<QAction*> menus = Build_Menus(SELECTION_WINDOW, menuBar());
  QAction* airpt_ch_vw = Menu_Item(SELECTION_WINDOW, menus, "airpt_ch_vw");

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
  progress_bar1_->setRange(0, maximum);
  progress_bar1_->setValue(value);
  progress_bar1_->repaint();
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

void Selection_Window::Narrow_List(const QString& typed) {
  const QStringList all = items_->stringList();
  QStringList shown;
  for (const int i : behaviour_.Items_Shown_For(Std_Text(typed))) shown.push_back(all[i]);
  narrowed_->setStringList(shown);
  if (!typed.isEmpty() && !shown.isEmpty()) combo1_->completer()->complete();
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
