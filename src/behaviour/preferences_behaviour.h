// The behaviour of the preferences window (Form5, "Options") and of the About window (Form6):
// the boxes set from the display switches, every click changing its switch at once, and the
// window that opened them told when they close, however they close. The "Simulator" group
// shows the stored choice of simulator and saves the pilot's change when the window closes.
#pragma once

#include <string>
#include <utility>

#include "behaviour/program_windows.h"
#include "behaviour/window_table.h"

namespace orv {

struct Program_State;

inline constexpr int CHECK_COUNT = 7;
// The captions of check boxes 1 to 7, in the order of their switches (Check_Switch).
inline constexpr const char* CHECK_CAPTIONS[CHECK_COUNT] = {
    "Display Taxiways IDs",    "Display Taxiways", "Display ILS", "Display Airspace",
    "Display Gates\\Parkings", "Follow Aircraft",  "Show Trail"};

inline constexpr const char* MSG_BAD_SIM_ADDRESS =
    "The simulator's address must be HOST:PORT, with a port from 1 to 65535.";
inline constexpr const char* MSG_BAD_SIM_KEY =
    "The key can hold at most 64 characters and no control characters.";
inline constexpr const char* MSG_SIM_NOT_SAVED =
    "The choice of simulator couldn't be saved in orv_simulator.cfg.";
inline constexpr const char* MSG_STYLE_NOT_SAVED =
    "The chart style couldn't be saved in orv_chart.cfg.";
inline constexpr const char* MSG_SIM_KEPT = " The choice of simulator was left as it was.";

// The switch of check box n (1 to 7): Display Taxiways IDs, Display Taxiways, Display ILS,
// Display Airspace, Display Gates\Parkings, Follow Aircraft, Show Trail.
bool& Check_Switch(Program_State& st, int n);

class Preferences_View : public Window_View {
 public:
  // Top-left corner of the screen, size kept, above all other windows.
  virtual void Place_Top_Left() = 0;
  virtual void Set_Check(int n, bool checked) = 0;
  // Option1 (millibars) on and Option2 off, or the other way round.
  virtual void Set_Options(bool millibars) = 0;
  // Option3 ("This computer") or Option4 ("Another computer:"), Text1 (HOST:PORT), Text2 (key).
  virtual void Set_Simulator(bool remote, const std::string& address, const std::string& key) = 0;
  // Option5 ("Classic") or Option6 ("Diagram"), and Check8 ("Night colours").
  virtual void Set_Chart_Style(bool /*diagram*/, bool /*night*/) {}
};

// The preferences window (Form5): its controls in tab order.
extern const Window_Table PREFERENCES_WINDOW;

class Preferences_Behaviour {
 public:
  Preferences_Behaviour(Program_State& st, Preferences_View& view, Window_Closed closed)
      : st_(st), view_(view), closed_(std::move(closed)) {}

  void Load();
  void Display_Switch_Changed(int n, bool checked);
  void Millibars_Chosen();
  void Inches_Chosen();
  void This_Computer_Chosen();     // This computer
  void Another_Computer_Chosen();  // Another computer
  void Address_Typed(const std::string& address);
  void Key_Typed(const std::string& key);
  // The chart style: changed at once and kept for the next run.
  void Classic_Chosen();
  void Diagram_Chosen();
  void Night_Colours_Changed(bool checked);
  // Ok: saves a changed choice of simulator and closes; a bad one keeps the window open.
  void Ok();
  // However the window closed: a changed choice is saved when it is good, kept out when not.
  void Unload();

 private:
  // Saves the choice when the pilot changed it; false (after telling the pilot) when it could
  // not be saved. `closing` adds that the stored choice stays as it was.
  bool Save_Simulator(bool closing);
  void Tell(const char* text, bool closing);
  void Save_Chart_Style();

  Program_State& st_;
  Preferences_View& view_;
  Window_Closed closed_;
  bool sim_remote_ = false;
  std::string sim_address_;
  std::string sim_key_;
  bool sim_changed_ = false;
  bool unloaded_ = false;
};

class About_View : public Window_View {
 public:
  virtual void Place_Top_Left() = 0;
};

// The About window (Form6): its texts and its Ok button.
extern const Window_Table ABOUT_WINDOW;

class About_Behaviour {
 public:
  About_Behaviour(About_View& view, Window_Closed closed)
      : view_(view), closed_(std::move(closed)) {}

  void Load() { view_.Place_Top_Left(); }
  void Ok() { view_.Close(); }
  // However the window closed, and however often its toolkit says so: the opener is told once.
  void Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (closed_) closed_();
  }

 private:
  About_View& view_;
  Window_Closed closed_;
  bool unloaded_ = false;
};

}  // namespace orv
