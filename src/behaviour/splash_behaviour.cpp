#include "behaviour/splash_behaviour.h"

#include "data/data_file_check.h"

namespace orv {

void Splash_Behaviour::Load() {
  view_.Enable_Timer1(true);
}

void Splash_Behaviour::Splash_Time_Over() {
  view_.Enable_Timer1(false);
  const Start_Decision decision = Check_Data_Files(st_);
  if (decision == Start_Decision::damaged_settings) {
    view_.Show_Message(Message_Icon::error, MSG_SETTINGS_DAMAGED);
  }
  // The next window opens before the splash closes, so the program never runs out of windows.
  if (decision == Start_Decision::normal_run) {
    windows_.Show_Selection();
  } else {
    windows_.Show_Setup();
  }
  view_.Close();
}

}  // namespace orv
