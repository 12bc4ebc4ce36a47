// The behaviour of the preferences window (Form5, "Options") and of the About window (Form6):
// the boxes set from the display switches, every click changing its switch at once, and the
// window that opened them told when they close, however they close.
#pragma once

#include <utility>

#include "core/program_windows.h"

namespace orv {

struct Program_State;

inline constexpr int CHECK_COUNT = 6;

// The switch of check box n (1 to 6): Display Taxiways IDs, Display Taxiways, Display ILS,
// Display Airspace, Display Gates\Parkings, Follow Aircraft.
bool& Check_Switch(Program_State& st, int n);

class Preferences_View : public Window_View {
 public:
  // Top-left corner of the screen, size kept, above all other windows.
  virtual void Place_Top_Left() = 0;
  virtual void Set_Check(int n, bool checked) = 0;
  // Option1 (millibars) on and Option2 off, or the other way round.
  virtual void Set_Options(bool millibars) = 0;
};

class Preferences_Behaviour {
 public:
  Preferences_Behaviour(Program_State& st, Preferences_View& view, Window_Closed closed)
      : st_(st), view_(view), closed_(std::move(closed)) {}

  void Load();
  void Check_Click(int n, bool checked);
  void Option1_Click();
  void Option2_Click();
  void Command1_Click();
  void Unload();

 private:
  Program_State& st_;
  Preferences_View& view_;
  Window_Closed closed_;
};

class About_View : public Window_View {
 public:
  virtual void Place_Top_Left() = 0;
};

class About_Behaviour {
 public:
  About_Behaviour(About_View& view, Window_Closed closed)
      : view_(view), closed_(std::move(closed)) {}

  void Load() { view_.Place_Top_Left(); }
  void Command1_Click() { view_.Close(); }
  void Unload() {
    if (closed_) closed_();
  }

 private:
  About_View& view_;
  Window_Closed closed_;
};

}  // namespace orv
