#include "qt/setup_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
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
  dir1_ = w.Get<QTreeWidget>("Dir1");
  dir1_->setColumnCount(1);
  dir1_->setHeaderHidden(true);
  dir1_->setRootIsDecorated(false);
  dir1_->setItemsExpandable(false);
  dir1_->setMinimumHeight(180);
  text1_ = w.Get<QLineEdit>("Text1");
  command1_ = w.Get<QPushButton>("Command1");
  // Enter in the path box or on the button accepts the wizard.
  command1_->setAutoDefault(true);
  command1_->setDefault(true);

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
  // Each line carries its place in the behaviour's list.
  const auto line_of = [](const QTreeWidgetItem* item) {
    return static_cast<size_t>(item->data(0, Qt::UserRole).toULongLong());
  };
  connect(dir1_, &QTreeWidget::currentItemChanged, this,
          [this, line_of](const QTreeWidgetItem* current) {
            if (current) behaviour_.Folder_Chosen(line_of(current));
          });
  // A double click or Enter opens the folder.
  connect(dir1_, &QTreeWidget::itemActivated, this,
          [this, line_of](const QTreeWidgetItem* item) { behaviour_.Folder_Opened(line_of(item)); });
  connect(text1_, &QLineEdit::returnPressed, command1_, &QPushButton::click);
  connect(command1_, &QPushButton::clicked, this,
          [this] { behaviour_.Next_Step(Std_Text(text1_->text())); });

  behaviour_.Load();
  // The path box opens with its folder selected: what the pilot types replaces it.
  text1_->selectAll();
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

void Setup_Window::Show_Folders(const std::vector<Folder_Line>& lines, size_t current) {
  const QSignalBlocker quiet(dir1_);
  dir1_->clear();
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  // Each line hangs below the last line one step less indented: the folders from the root down,
  // then the shown folder's own folders.
  std::vector<QTreeWidgetItem*> last_at_depth;
  QTreeWidgetItem* chosen = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Folder_Line& line = lines[i];
    const auto depth = static_cast<size_t>(std::max(line.depth, 0));
    QTreeWidgetItem* parent = depth > 0 && depth <= last_at_depth.size()
                                  ? last_at_depth[depth - 1]
                                  : nullptr;
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(dir1_);
    item->setText(0, Ui_Text(line.name));
    item->setIcon(0, line.open ? open_icon : closed_icon);
    item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
    last_at_depth.resize(depth);
    last_at_depth.push_back(item);
    if (i == current) chosen = item;
  }
  dir1_->expandAll();
  if (chosen) {
    dir1_->setCurrentItem(chosen);
    dir1_->scrollToItem(chosen);
  }
}

void Setup_Window::Set_Text1(const std::string& text) {
  text1_->setText(Ui_Text(text));
}

void Setup_Window::closeEvent(QCloseEvent* event) {
  behaviour_.Unload();
  event->accept();
}

}  // namespace orv
