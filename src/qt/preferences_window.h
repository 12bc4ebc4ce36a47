// The preferences window (Form5, "Options") in Qt: six check boxes, two option buttons, the
// "Simulator" group and Ok.
// It forwards every click to the preferences behaviour and carries out what that asks.
#pragma once

#include <QDialog>

#include "behaviour/preferences_behaviour.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace orv {

class Table_Widgets;

class Preferences_Window : public QDialog, public Preferences_View {
  Q_OBJECT

 public:
  // However it closes, it tells `closed` and emits finished().
  Preferences_Window(Program_State& st, Window_Closed closed, QWidget* parent = nullptr);

  void Show_Message(Message_Icon icon, const std::string& text) override;
  void Close() override;
  void Place_Top_Left() override;
  void Set_Check(int n, bool checked) override;
  void Set_Options(bool millibars) override;
  void Set_Simulator(bool remote, const std::string& address, const std::string& key) override;
  void Set_Chart_Style(bool diagram, bool night) override;

 protected:
  void done(int result) override;

 private:
  QWidget* Make_Frame3(const Table_Widgets& w);
  QWidget* Make_Frame4(const Table_Widgets& w);

 private:
  Preferences_Behaviour behaviour_;
  QCheckBox* check_[CHECK_COUNT] = {};
  QRadioButton* option1_ = nullptr;
  QRadioButton* option2_ = nullptr;
  QRadioButton* option3_ = nullptr;
  QRadioButton* option4_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QRadioButton* option5_ = nullptr;
  QRadioButton* option6_ = nullptr;
  QCheckBox* check8_ = nullptr;
};

// Opens the preferences window, modeless.
Preferences_Window* Show_Preferences_Window(Program_State& st, Window_Closed closed = {});

}  // namespace orv
