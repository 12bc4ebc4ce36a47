#include "behaviour/single_window.h"

#include <utility>

namespace orv {

void Single_Window::Show(Window_Closed opener, const Toolkit_Side& side) {
  opener_ = std::move(opener);
  if (side.is_open()) {
    side.bring_forward();
    return;
  }
  if (!side.open([this] { Closed(); })) Closed();
}

void Single_Window::Closed() {
  if (Window_Closed told = std::exchange(opener_, {})) told();
}

}  // namespace orv
