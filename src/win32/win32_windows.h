// The program's windows on Windows: opens the view of each window with its behaviour when a
// behaviour asks for it, keeps one preferences and one About window at a time, and ends the
// program. The program makes one over its program state and hands it to every window.
#pragma once

#include <functional>

#include "behaviour/program_windows.h"
#include "behaviour/selection_behaviour.h"
#include "behaviour/single_window.h"
#include "simlink/link_client.h"
#include "win32/win32_ui.h"

namespace orv::win32 {

using Link_Maker = std::function<Link_State()>;

class Win32_Windows : public Program_Windows {
 public:
  // `clock` paces the build's scan ticks (tests hand in their own).
  Win32_Windows(Program_State& st, Link_Maker make_link, Tick_Clock clock = Steady_Now);

  HWND Open_Splash();
  HWND Open_Setup();
  HWND Open_Selection();
  // Null when the chart's load failed (the program is then ending).
  HWND Open_Chart();

  void Show_Setup() override { Open_Setup(); }
  void Show_Selection() override { Open_Selection(); }
  void Show_Chart() override { Open_Chart(); }
  void Show_Preferences(Window_Closed closed) override;
  void Show_About(Window_Closed closed) override;
  void Show_Nearest(Nearest_Request request) override;
  void End_Program() override;

  // The preferences and About windows while they are open, or null.
  HWND Preferences() const;
  HWND About() const;
  HWND Nearest() const;

 private:
  Program_State& st_;
  Link_Maker make_link_;
  Tick_Clock clock_;
  HWND prefs_ = nullptr;
  HWND about_ = nullptr;
  HWND nearest_ = nullptr;
  Single_Window prefs_policy_;
  Single_Window about_policy_;
};

}  // namespace orv::win32
