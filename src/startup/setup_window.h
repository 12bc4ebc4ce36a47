// The setup wizard (Form2, "Settings"): asks for the simulator's main folder on a first run,
// accepts it only when fs2002.exe is there, writes the settings file and opens the airport
// list. Closing it before it has finished ends the program.
#pragma once

#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace orv {

struct Program_State;

class Setup_Window : public QWidget {
  Q_OBJECT

 public:
  explicit Setup_Window(Program_State& st, QWidget* parent = nullptr);

  bool Setup_Done() const { return setup_done_; }

 public Q_SLOTS:
  void Command1_Click();
  void Drive1_Change();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Show_Folder(const QString& path);
  void Dir1_Change();
  void Text1_Change();

  Program_State& st_;
  bool setup_done_ = false;
  QRadioButton* option1_ = nullptr;
  QComboBox* drive1_ = nullptr;
  QTreeView* dir1_ = nullptr;
  QFileSystemModel* dir_model_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QPushButton* command1_ = nullptr;
};

Setup_Window* Show_Setup_Window(Program_State& st);

}  // namespace orv
