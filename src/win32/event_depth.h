// A form's own events may close its window (NEXT STEP, GET AIRPORT, a failed load): the unload
// runs at once, as for the close box, but the window, which owns the behaviour whose handler is
// still running, is destroyed only when the outermost event has returned.
#pragma once

#include "win32/win32_ui.h"

namespace orv::win32 {

class Event_Depth {
 public:
  // Runs one event of `form`; destroys the form afterwards when a close was held back meanwhile.
  template <class Event>
  void Run(HWND form, Event&& event) {
    ++depth_;
    event();
    if (--depth_ > 0 || !close_held_) return;
    DestroyWindow(form);  // this object goes with the form: nothing may follow
  }

  // For Closing(), once the unload has agreed: true when the window may go now; otherwise it
  // goes when the running event returns.
  bool Close_Now() {
    if (depth_ == 0) return true;
    close_held_ = true;
    return false;
  }

  // The unload has already run and the window is about to go.
  bool Close_Held() const { return close_held_; }

 private:
  int depth_ = 0;
  bool close_held_ = false;
};

}  // namespace orv::win32
