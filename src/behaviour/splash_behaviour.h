// The splash window's behaviour (Form1): three seconds after the start its one-shot timer runs
// the start-up check and hands over to the setup wizard or to the airport list.
#pragma once

#include "behaviour/program_windows.h"
#include "behaviour/window_table.h"

namespace orv {

struct Program_State;

inline constexpr int SPLASH_DELAY_MS = 3000;
inline constexpr const char* MSG_SETTINGS_DAMAGED =
    "The settings file orv_config.cfg is damaged and cannot be used. Orvane has removed its data "
    "files and will now run the setup again to rebuild them.";

// The splash window (Form1): the picture and the version under it.
extern const Window_Table SPLASH_WINDOW;
inline constexpr int SPLASH_PICTURE_W = 400;
inline constexpr int SPLASH_PICTURE_H = 250;

class Splash_View : public Window_View {
 public:
  virtual void Enable_Timer1(bool on) = 0;
};

class Splash_Behaviour {
 public:
  Splash_Behaviour(Program_State& st, Splash_View& view, Program_Windows& windows)
      : st_(st), view_(view), windows_(windows) {}

  void Load();
  void Splash_Time_Over();

 private:
  Program_State& st_;
  Splash_View& view_;
  Program_Windows& windows_;
};

}  // namespace orv
