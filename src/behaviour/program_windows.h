// What the window behaviours ask of the program's windows, without any toolkit: the part every
// window view has (a modal message, closing itself), and the program's side that opens the
// next window or ends the program. The Qt views and the app layer carry these out; the tests
// of the behaviours record them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orv {

inline constexpr const char* MESSAGE_TITLE = "Orvane Message";

enum class Message_Icon { information, exclamation, warning, error };

// What every window view can be asked. Texts are UTF-8.
class Window_View {
 public:
  virtual ~Window_View() = default;
  // A modal message box titled "Orvane Message"; returns once the pilot has dismissed it.
  virtual void Show_Message(Message_Icon icon, const std::string& text) = 0;
  // Unloads the window; its unload event runs as for any other close.
  virtual void Close() = 0;
};

// Called when a window opened by another one has closed, however it closed.
using Window_Closed = std::function<void()>;

// What the chart hands the nearest airports window: its heading, the lines of its list (UTF-8,
// nearest first), whom to tell which line was chosen, and whom to tell that it closed.
struct Nearest_Request {
  std::string heading;
  std::vector<std::string> items;
  std::function<void(size_t item)> chosen;
  Window_Closed closed;
};

// The program's windows as the behaviours see them: which window opens next, and the end.
class Program_Windows {
 public:
  virtual ~Program_Windows() = default;
  virtual void Show_Setup() = 0;
  virtual void Show_Selection() = 0;
  // Opens the chart of cur_airport; its load may end the program.
  virtual void Show_Chart() = 0;
  // Modeless; an open one is brought forward instead of opening another.
  virtual void Show_Preferences(Window_Closed closed) = 0;
  virtual void Show_About(Window_Closed closed) = 0;
  // The nearest airports window, modeless; an open one is replaced. A program without it
  // offers nothing, and its opener is told at once that it closed.
  virtual void Show_Nearest(Nearest_Request request) {
    if (request.closed) request.closed();
  }
  virtual void End_Program() = 0;
};

}  // namespace orv
