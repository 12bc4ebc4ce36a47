// The program's windows in Qt: opens the view of each window with its behaviour when a
// behaviour asks for it, keeps one preferences and one About window at a time, and ends the
// program. The program makes one over its program state and hands it to every window.
#pragma once

#include <QPointer>
#include <functional>

#include "behaviour/program_windows.h"
#include "behaviour/selection_behaviour.h"
#include "behaviour/single_window.h"
#include "simlink/link_client.h"

namespace orv {

struct Program_State;
class About_Window;
class Chart_Window;
class Nearest_Window;
class Preferences_Window;
class Selection_Window;
class Setup_Window;
class Splash_Window;

using Link_Maker = std::function<Link_State()>;

class Qt_Windows : public Program_Windows {
 public:
  // `clock` paces the build's scan ticks (tests hand in their own).
  Qt_Windows(Program_State& st, Link_Maker make_link, Tick_Clock clock = Steady_Now);

  Splash_Window* Open_Splash();
  Setup_Window* Open_Setup();
  Selection_Window* Open_Selection();
  // Null when the chart's load failed (the program is then ending).
  Chart_Window* Open_Chart();

  void Show_Setup() override { Open_Setup(); }
  void Show_Selection() override { Open_Selection(); }
  void Show_Chart() override { Open_Chart(); }
  void Show_Preferences(Window_Closed closed) override;
  void Show_About(Window_Closed closed) override;
  void Show_Nearest(Nearest_Request request) override;
  void End_Program() override;

  // The preferences and About windows while they are open.
  Preferences_Window* Preferences() const;
  About_Window* About() const;
  Nearest_Window* Nearest() const;

 private:
  Program_State& st_;
  Link_Maker make_link_;
  Tick_Clock clock_;
  QPointer<Preferences_Window> prefs_;
  QPointer<About_Window> about_;
  QPointer<Nearest_Window> nearest_;
  Single_Window prefs_policy_;
  Single_Window about_policy_;
};

}  // namespace orv
