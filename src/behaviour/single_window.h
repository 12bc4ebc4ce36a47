// One modeless window of a kind at a time (the preferences, the About window), whichever
// toolkit shows it: asking again brings the open one forward instead of opening another; the
// latest to ask is told once when it closes; a window that could not be made tells its opener
// at once, so that no opener waits for a close that never comes.
#pragma once

#include <functional>

#include "behaviour/program_windows.h"

namespace orv {

class Single_Window {
 public:
  // What the view does for the policy: whether its window is open, bringing it forward, and
  // making it with the close to report (false when it could not be made).
  struct Toolkit_Side {
    std::function<bool()> is_open;
    std::function<void()> bring_forward;
    std::function<bool(Window_Closed on_close)> open;
  };

  void Show(Window_Closed opener, const Toolkit_Side& side);

 private:
  void Closed();

  Window_Closed opener_;
};

}  // namespace orv
