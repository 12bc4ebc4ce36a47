#include "startup/setup_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <string>

#include "app/message_box.h"
#include "core/program_state.h"
#include "scenery/selection_window.h"
#include "startup/data_files.h"
#include "startup/setup_check.h"

namespace orv {
namespace {

QLabel* Named_Label(const char* name, const char* text, QWidget* parent) {
  auto* label = new QLabel(Ui_Text(text), parent);
  label->setObjectName(Ui_Text(name));
  return label;
}

// The folder a drive entry opens on: the current folder when it lies on that drive, else the
// drive's root.
QString Drive_Current_Folder(const QString& drive) {
  const QString current = QDir::currentPath();
  const QString root = QDir::fromNativeSeparators(drive);
  if (current.startsWith(root, Qt::CaseInsensitive)) return current;
  return root;
}

}  // namespace

Setup_Window::Setup_Window(Program_State& st, QWidget* parent) : QWidget(parent), st_(st) {
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
  for (const QFileInfo& drive : QDir::drives())
    drive1_->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));

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

  connect(option1_, &QRadioButton::clicked, this, [this] { st_.sim_version = 1; });
  connect(drive1_, &QComboBox::currentIndexChanged, this, &Setup_Window::Drive1_Change);
  connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &Setup_Window::Dir1_Change);
  connect(text1_, &QLineEdit::textChanged, this, &Setup_Window::Text1_Change);
  connect(command1_, &QPushButton::clicked, this, &Setup_Window::Command1_Click);

  // Window load: the only simulator choice selected, the folder list on the drive's current
  // folder.
  option1_->setChecked(true);
  st_.sim_version = 1;
  Drive1_Change();
}

void Setup_Window::Show_Folder(const QString& path) {
  // The folder is shown open and selected, with every folder above it open.
  const QModelIndex index = dir_model_->index(path);
  if (index.isValid()) {
    for (QModelIndex folder = index; folder.isValid(); folder = folder.parent()) {
      dir1_->expand(folder);
    }
    dir1_->setCurrentIndex(index);
    dir1_->scrollTo(index);
  }
  text1_->setText(QDir::toNativeSeparators(path));
}

void Setup_Window::Drive1_Change() {
  if (drive1_->currentIndex() < 0) return;
  Show_Folder(Drive_Current_Folder(drive1_->currentText()));
}

void Setup_Window::Dir1_Change() {
  const QString path = dir_model_->filePath(dir1_->currentIndex());
  if (!path.isEmpty()) text1_->setText(QDir::toNativeSeparators(path));
}

void Setup_Window::Text1_Change() {
  const QString text = text1_->text();
  const QString kept = Ui_Text(Wizard_Path_Text(text.toStdString()));
  if (kept != text) text1_->setText(kept);
}

void Setup_Window::Command1_Click() {
  const std::string folder = text1_->text().toStdString();
  if (!Is_Sim_Folder(folder)) {
    Show_Message(this, Message_Icon::exclamation, Ui_Text(MSG_NOT_SIM_FOLDER));
    return;
  }
  const Write_Result written = Write_Wizard_Settings(st_, folder);
  if (!written.ok) {
    Show_Message(
        this, Message_Icon::error,
        QStringLiteral("The settings file could not be written: %1").arg(Ui_Text(written.error)));
    return;
  }
  Show_Message(this, Message_Icon::information, Ui_Text(MSG_SETTINGS_CREATED));
  setup_done_ = true;
  Show_Selection_Window(st_);
  close();
}

void Setup_Window::closeEvent(QCloseEvent* event) {
  if (!setup_done_) {
    // The settings file is the only data file a first run can have written by now; a partial
    // set is of no use to the next start.
    Remove_Data_Files(st_);
    Show_Message(this, Message_Icon::information, Ui_Text(MSG_SETUP_NOT_FINISHED));
    End_Program();
  }
  event->accept();
}

Setup_Window* Show_Setup_Window(Program_State& st) {
  auto* w = new Setup_Window(st);
  w->show();
  return w;
}

}  // namespace orv
