// The chart window's behaviour (Form4): its load (link, caption, size, initial view, display
// switches, timer), the zoom and centre buttons, the re-centring click, the resize and minimise
// rules, the once-a-second aircraft tick with its failure, the menus, and the unload.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "behaviour/program_windows.h"
#include "behaviour/selection_behaviour.h"
#include "behaviour/window_table.h"
#include "chart/aircraft_trail.h"
#include "chart/chart_projection.h"
#include "chart/view_motion.h"
#include "simlink/link_client.h"

namespace orv {

class Canvas;
struct Program_State;

inline constexpr int TIMER1_MS = 1000;
inline constexpr int CHART_CLIENT_W = 271;  // client area at design
inline constexpr int CHART_CLIENT_H = 228;

inline constexpr const char* CHART_DESIGN_CAPTION = "Current Airport's Chart";
inline constexpr const char* MSG_NO_SIM_AT_LOAD =
    "This program couldn't connect to the FS2002. Anyway this program will still display the "
    "currently airport's chart.";
inline constexpr const char* MSG_SIM_READ_FAILED =
    "Error while receiving data from FSUIPC. Anyway this program will still display the "
    "currently airport's chart.";
inline constexpr const char* MSG_LOAD_FAILED =
    "Your Microsoft Windows Version doesn't support the current API used by this program. The "
    "program will shutdown.";

inline constexpr const char* MSG_NO_NEAREST =
    "The airport database couldn't be read, so the nearest airports can't be listed.";

// The chart window (Form4): its buttons in tab order, the altimeter label, and its menus.
extern const Window_Table CHART_WINDOW;

// The keys the chart answers, as the views name them: + and - zoom, the arrows pan by a quarter
// of the view, Home centres the airport, F switches "Follow Aircraft".
enum class Chart_Key : uint8_t { plus, minus, left, right, up, down, home, f };

// A press that moves further than this many pixels is a drag, not a click.
inline constexpr int32_t DRAG_START_PX = 4;
// How many airports the nearest airports window lists.
inline constexpr int32_t NEAREST_LISTED = 20;

struct Window_Size {
  int32_t w = 0;
  int32_t h = 0;
};

class Chart_Window_View : public Window_View {
 public:
  virtual void Make_Topmost() = 0;
  virtual void Set_Caption(const std::string& caption) = 0;
  // Label1, repainted at once.
  virtual void Set_Label1(const std::string& caption) = 0;
  virtual void Enable_Timer1(bool on) = 0;
  // Repaints the client area, which draws through Chart_Behaviour::Draw.
  virtual void Redraw() = 0;
  // The window's outer size in pixels: border, title bar and menu bar included.
  virtual Window_Size Outer_Size() const = 0;
  virtual bool Is_Minimized() const = 0;
  // A tooltip at client pixel (x, y): UTF-8, lines split by "\n"; an empty text hides it.
  virtual void Show_Tooltip(const std::string& text, int32_t x, int32_t y) = 0;
};

struct Nearest_Data;

class Chart_Behaviour {
 public:
  Chart_Behaviour(Program_State& st, Chart_Window_View& window, Program_Windows& windows,
                  Link_State link);
  ~Chart_Behaviour();
  Chart_Behaviour(const Chart_Behaviour&) = delete;
  Chart_Behaviour& operator=(const Chart_Behaviour&) = delete;

  // A failure tells the pilot and ends the program; returns false then.
  bool Load();
  // Shown, or moved by its frame: the outer size is measured again.
  void Shown();
  // Resized, minimised, maximised or restored.
  void Resized();
  void Unload();

  void Zoom_In();            // Zoom in
  void Center_On_Airport();  // Center
  void Zoom_Out();           // Zoom out
  // A mouse press at client pixel (px, py) of a client area client_w by client_h.
  void Mouse_Down(bool left_button, int32_t px, int32_t py, int32_t client_w, int32_t client_h);
  void Change_Airport();
  void Open_Preferences();
  void Open_About();
  void Aircraft_Tick();
  // Re-centres the view on longitude x, latitude y and redraws.
  void Center_Airport(double x, double y);

  // One redraw as the window paints it: clear, the layers, then the aircraft.
  void Draw(Canvas& canvas);
  // The same on a client area of that size: the diagram style fills it, centred on the view,
  // its texts and margins grown by `scale`, the client's pixels per design pixel (the window's
  // dots per inch over 96 where the toolkit does not scale by itself).
  void Draw(Canvas& canvas, Window_Size client, double scale = 1.0);
  // A printed page of width x height dots at dpi dots per inch: the diagram fitted to the
  // paper at a round scale, with its title block and frequency box, in either style.
  void Draw_Page(Canvas& canvas, int32_t width, int32_t height, double dpi);

  // The chart as a moving map (chart_moving_map.cpp). Pixels are client pixels, where the
  // chart is drawn. A left press and release that stays within DRAG_START_PX is the click of
  // Mouse_Down at the press; moving further drags the chart along, and turns "Follow
  // Aircraft" off. A move without a press shows what is under the pointer.
  void Mouse_Press(bool left_button, int32_t px, int32_t py);
  void Mouse_Move(int32_t px, int32_t py);
  void Mouse_Release(bool left_button, int32_t client_w, int32_t client_h);
  // The pointer left the chart, or the drag was taken away.
  void Mouse_Leave();
  // A wheel movement at (px, py) in WHEEL_NOTCH units a notch: each whole notch away from the
  // pilot zooms in one level, towards zooms out, about the pointer.
  void Mouse_Wheel(int32_t delta, int32_t px, int32_t py);
  // Returns whether the chart used the key.
  bool Key_Down(Chart_Key key);
  // "Nearest Airports...": the timer stops until the window closes, so that the chart, which
  // puts itself on top at every tick, stays below it.
  void Open_Nearest();
  // Opens the chart of index entry `entry` as "GET AIRPORT" would, closing this one.
  void Open_Nearest_Chart(size_t entry);
  const Aircraft_Trail& Trail() const { return trail_; }
  // Times the trail (tests hand in their own clock).
  void Set_Clock(Tick_Clock clock) { clock_ = std::move(clock); }

  const Chart_View& Projection() const { return projection_; }
  bool Sim_Connected() const { return sim_connected_; }
  const Link_State& Link() const { return link_; }

 private:
  void Run_Load();
  void Measure_Window();
  void Enable_Timer1();
  template <typename Change>
  void Redraw_Sequence(Change change);
  Window_Closed Dialog_Closed(bool Chart_Behaviour::*open);
  void Change_View(const std::function<void(Chart_View&)>& change);
  void Drag_To(int32_t px, int32_t py);
  // Whether the chart shown is the diagram, on a surface of a known size.
  bool Diagram_Shown() const;
  void Show_Hover(int32_t px, int32_t py);
  void Pan_Quarter(int dx, int dy);
  bool Load_Nearest();

  Program_State& st_;
  Chart_Window_View& window_;
  Program_Windows& windows_;
  Link_State link_;
  Chart_View projection_;
  bool sim_connected_ = false;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool prefs_open_ = false;  // the preferences or About window holds the timer stopped
  bool about_open_ = false;
  // The moving map.
  bool pressed_ = false;
  bool dragging_ = false;
  int32_t press_x_ = 0;
  int32_t press_y_ = 0;
  int32_t drag_x_ = 0;
  int32_t drag_y_ = 0;
  Wheel_Notches wheel_;
  Window_Size client_;  // the surface of the last redraw
  double scale_ = 1.0;  // its pixels per design pixel
  std::string tooltip_;
  Aircraft_Trail trail_;
  Tick_Clock clock_ = Steady_Now;
  std::shared_ptr<Nearest_Data> nearest_;
  bool nearest_open_ = false;   // like the preferences, the nearest airports hold the timer
  uint32_t nearest_shown_ = 0;  // which request the open window answers
  // Lets a dialog that outlives this window find out that it is gone.
  std::shared_ptr<Chart_Behaviour*> self_;
};

}  // namespace orv
