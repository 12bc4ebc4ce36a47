// The nearest airports window (Form7, "Nearest Airports"), opened from the chart's "Change"
// menu: the airports of the database nearest to the aircraft (or to the chart's centre), each
// with its distance and magnetic bearing; choosing one opens its chart.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "behaviour/program_windows.h"
#include "behaviour/window_table.h"

namespace orv {

inline constexpr const char* NEAREST_TO_AIRCRAFT = "Nearest to the aircraft:";
inline constexpr const char* NEAREST_TO_CENTRE = "Nearest to the chart's centre:";

// The nearest airports window: its label, list and buttons in tab order.
extern const Window_Table NEAREST_WINDOW;

class Nearest_View : public Window_View {
 public:
  virtual void Set_Label1(const std::string& caption) = 0;
  // List1's lines, the first one selected.
  virtual void Fill_List(const std::vector<std::string>& items) = 0;
};

class Nearest_Behaviour {
 public:
  Nearest_Behaviour(Nearest_View& view, Nearest_Request request)
      : view_(view), request_(std::move(request)) {}

  void Load();
  // "Open Chart", Enter or a double click on line `item` (-1: none selected): the window closes,
  // then the chart of that airport opens.
  void Choose(int item);
  void Cancel() { view_.Close(); }
  // However the window closed: the chart is told once.
  void Unload();

 private:
  Nearest_View& view_;
  Nearest_Request request_;
  bool unloaded_ = false;
};

}  // namespace orv
