#include "behaviour/splash_behaviour.h"

#include "core/config_rec.h"
#include "data/data_file_check.h"
#include "orvane_version.h"

namespace orv {

namespace {

constexpr int kMargin = 8;
constexpr int kLabelHeight = 20;
constexpr Control_Row kSplashControls[] = {
    {"Picture1", Control_Kind::picture, "", {kMargin, kMargin, SPLASH_PICTURE_W, SPLASH_PICTURE_H}},
    {"Label1",
     Control_Kind::centered_label,
     "ORVANE VERSION " ORVANE_VERSION,
     {kMargin, SPLASH_PICTURE_H + 2 * kMargin, SPLASH_PICTURE_W, kLabelHeight}},
};

}  // namespace

const Window_Table SPLASH_WINDOW{
    .name = "Form1",
    .caption = BANNER,
    .client = {0, 0, SPLASH_PICTURE_W + 2 * kMargin, SPLASH_PICTURE_H + 3 * kMargin + kLabelHeight},
    .controls = kSplashControls};

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
