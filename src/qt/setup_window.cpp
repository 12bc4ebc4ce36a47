#include "qt/setup_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>

#include "qt/message_box.h"
#include "qt/table_widgets.h"

namespace orv {

Setup_Window::Setup_Window(Program_State& st, Program_Windows& windows, QWidget* parent)
    : QWidget(parent), behaviour_(st, *this, windows) {
  setObjectName(Ui_Text(SETUP_WINDOW.name));
  setWindowTitle(Ui_Text(SETUP_WINDOW.caption));
  setAttribute(Qt::WA_DeleteOnClose);

  const Table_Widgets w(SETUP_WINDOW, this);
  auto* frame1 = w.Get<QGroupBox>("Frame1");
  option1_ = w.Get<QRadioButton>("Option1");
  auto* frame1_layout = new QVBoxLayout(frame1);
  frame1_layout->addWidget(w.Get<QLabel>("Label1"));
  frame1_layout->addWidget(option1_);

  auto* frame2 = w.Get<QGroupBox>("Frame2");
  drive1_ = w.Get<QComboBox>("Drive1");
  dir_model_ = new QFileSystemModel(this);
  dir_model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
  dir_model_->setRootPath(QString());
  dir1_ = w.Get<QTreeView>("Dir1");
  dir1_->setModel(dir_model_);
  for (int column = 1; column < dir_model_->columnCount(); ++column) dir1_->hideColumn(column);
  dir1_->setHeaderHidden(true);
  dir1_->setMinimumHeight(180);
  text1_ = w.Get<QLineEdit>("Text1");
  command1_ = w.Get<QPushButton>("Command1");

  auto* frame2_layout = new QGridLayout(frame2);
  frame2_layout->addWidget(w.Get<QLabel>("Label2"), 0, 0, 1, 2);
  frame2_layout->addWidget(drive1_, 1, 0, 1, 2);
  frame2_layout->addWidget(w.Get<QLabel>("Label4"), 2, 0, 1, 2);
  frame2_layout->addWidget(dir1_, 3, 0, 1, 2);
  frame2_layout->addWidget(text1_, 4, 0, 1, 2);
  frame2_layout->addWidget(w.Get<QLabel>("Label3"), 5, 0, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame1);
  layout->addWidget(frame2);
  layout->addWidget(command1_, 0, Qt::AlignRight);
  resize(460, 480);

  connect(option1_, &QRadioButton::clicked, this, [this] { behaviour_.FS2002_Chosen(); });
  connect(drive1_, &QComboBox::currentTextChanged, this,
          [this](const QString& drive) { behaviour_.Drive_Chosen(Std_Text(drive)); });
  connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            const QString path = dir_model_->filePath(current);
            behaviour_.Folder_Chosen(Std_Text(QDir::toNativeSeparators(path)));
          });
  connect(text1_, &QLineEdit::textChanged, this,
          [this](const QString& text) { behaviour_.Path_Typed(Std_Text(text)); });
  connect(command1_, &QPushButton::clicked, this,
          [this] { behaviour_.Next_Step(Std_Text(text1_->text())); });

  behaviour_.Load();
}

void Setup_Window::Show_Message(Message_Icon icon, const std::string& text) {
  orv::Show_Message(this, icon, Ui_Text(text));
}

void Setup_Window::Close() {
  close();
}

void Setup_Window::Set_Option1(bool on) {
  option1_->setChecked(on);
}

void Setup_Window::Fill_Drives(const std::vector<std::string>& drives, size_t selected) {
  const QSignalBlocker quiet(drive1_);
  drive1_->clear();
  for (const std::string& drive : drives) drive1_->addItem(Ui_Text(drive));
  drive1_->setCurrentIndex(static_cast<int>(selected));
}

void Setup_Window::Show_Folder(const std::string& folder) {
  const QModelIndex index = dir_model_->index(QDir::fromNativeSeparators(Ui_Text(folder)));
  if (!index.isValid()) return;
  for (QModelIndex open = index; open.isValid(); open = open.parent()) dir1_->expand(open);
  const QSignalBlocker quiet(dir1_->selectionModel());
  dir1_->setCurrentIndex(index);
  dir1_->scrollTo(index);
}

void Setup_Window::Set_Text1(const std::string& text) {
  text1_->setText(Ui_Text(text));
}

void Setup_Window::closeEvent(QCloseEvent* event) {
  behaviour_.Unload();
  event->accept();
}

}  // namespace orv
