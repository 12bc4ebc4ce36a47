// The preferences window (Form5, "Options"): the chart's layer switches, aircraft following and
// the altimeter unit. Every click changes the program's display switches at once; the chart
// shows the change when its timer runs again after this window has closed.
#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace orv {

struct Program_State;

class Preferences_Window : public QDialog {
  Q_OBJECT

 public:
  // The window with its boxes set from st's switches, at the screen's top-left corner, above
  // other windows. However it closes, it emits finished().
  explicit Preferences_Window(Program_State& st, QWidget* parent = nullptr);

 public Q_SLOTS:
  void Command1_Click();  // Ok
  void Option1_Click();   // Millibars
  void Option2_Click();   // Inches of Mercury

 private:
  void Form_Load();
  QCheckBox* Add_Check(const char* name, const char* caption, bool Program_State::*flag);

  Program_State& st_;
  QCheckBox* check_[6] = {};
  QRadioButton* option1_ = nullptr;
  QRadioButton* option2_ = nullptr;
};

// Opens the preferences window, modeless.
Preferences_Window* Show_Preferences_Window(Program_State& st);

}  // namespace orv
