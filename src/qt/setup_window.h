// The setup wizard (Form2, "Settings") in Qt: the simulator choice, the drive list, the folder
// list, the path box and the button. It forwards every event to the setup behaviour and carries
// out what that asks.
#pragma once

#include <QWidget>

#include "behaviour/setup_behaviour.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace orv {

class Setup_Window : public QWidget, public Setup_View {
  Q_OBJECT

 public:
  Setup_Window(Program_State& st, Program_Windows& windows, QWidget* parent = nullptr);

  bool Setup_Done() const { return behaviour_.Setup_Done(); }

  void Show_Message(Message_Icon icon, const std::string& text) override;
  void Close() override;
  void Set_Option1(bool on) override;
  void Fill_Drives(const std::vector<std::string>& drives, size_t selected) override;
  void Show_Folders(const std::vector<Folder_Line>& lines, size_t current) override;
  void Set_Text1(const std::string& text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Setup_Behaviour behaviour_;
  QRadioButton* option1_ = nullptr;
  QComboBox* drive1_ = nullptr;
  QTreeWidget* dir1_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QPushButton* command1_ = nullptr;
};

}  // namespace orv
