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

namespace orv {
namespace {

QLabel* Named_Label(const char* name, const char* text, QWidget* parent) {
  auto* label = new QLabel(Ui_Text(text), parent);
  label->setObjectName(Ui_Text(name));
  return label;
}

}  // namespace

Setup_Window::Setup_Window(Program_State& st, Program_Windows& windows, QWidget* parent)
    : QWidget(parent), behaviour_(st, *this, windows) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Settings"));
  setAttribute(Qt::WA_DeleteOnClose);

  auto* frame1 = new QGroupBox(QStringLiteral("Flight Simulator Information"), this);
  frame1->setObjectName(QStringLiteral("Frame1"));
  option1_ = new QRadioButton(QStringLiteral("Microsoft Flight Simulator 2002"), frame1);
  option1_->setObjectName(QStringLiteral("Option1"));
  auto* frame1_layout = new QVBoxLayout(frame1);
  frame1_layout->addWidget(
      Named_Label("Label1", "Select the version of your Microsoft Flight Simulator:", frame1));
  frame1_layout->addWidget(option1_);

  auto* frame2 = new QGroupBox(QStringLiteral("Flight Simulator's Path"), this);
  frame2->setObjectName(QStringLiteral("Frame2"));
  drive1_ = new QComboBox(frame2);
  drive1_->setObjectName(QStringLiteral("Drive1"));

  dir_model_ = new QFileSystemModel(this);
  dir_model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
  dir_model_->setRootPath(QString());
  dir1_ = new QTreeView(frame2);
  dir1_->setObjectName(QStringLiteral("Dir1"));
  dir1_->setModel(dir_model_);
  for (int column = 1; column < dir_model_->columnCount(); ++column) dir1_->hideColumn(column);
  dir1_->setHeaderHidden(true);
  dir1_->setMinimumHeight(180);

  text1_ = new QLineEdit(frame2);
  text1_->setObjectName(QStringLiteral("Text1"));
  command1_ = new QPushButton(QStringLiteral("NEXT STEP --->"), this);
  command1_->setObjectName(QStringLiteral("Command1"));

  auto* frame2_layout = new QGridLayout(frame2);
  frame2_layout->addWidget(
      Named_Label("Label2", "Enter your Flight Simulator's main path:", frame2), 0, 0, 1, 2);
  frame2_layout->addWidget(drive1_, 1, 0, 1, 2);
  frame2_layout->addWidget(Named_Label("Label4", "Current Directory:", frame2), 2, 0, 1, 2);
  frame2_layout->addWidget(dir1_, 3, 0, 1, 2);
  frame2_layout->addWidget(text1_, 4, 0, 1, 2);
  frame2_layout->addWidget(
      Named_Label("Label3", "Example: C:\\Program Files\\Microsoft Games\\Fs2002", frame2), 5, 0, 1,
      2);

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
