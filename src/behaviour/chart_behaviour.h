// The chart window's behaviour (Form4): its load (link, caption, size, initial view, display
// switches, timer), the zoom and centre buttons, the re-centring click, the resize and minimise
// rules, the once-a-second aircraft tick with its failure, the menus, and the unload.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "behaviour/program_windows.h"
#include "behaviour/window_table.h"
#include "chart/chart_projection.h"
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

// The chart window (Form4): its buttons in tab order, the altimeter label, and its menus.
extern const Window_Table CHART_WINDOW;

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
};

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
  // The same on a client area of that size: the diagram style fills it, centred on the view.
  void Draw(Canvas& canvas, Window_Size client);
  // A printed page of width x height dots at dpi dots per inch: the diagram fitted to the
  // paper at a round scale, with its title block and frequency box, in either style.
  void Draw_Page(Canvas& canvas, int32_t width, int32_t height, double dpi);

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
  // Lets a dialog that outlives this window find out that it is gone.
  std::shared_ptr<Chart_Behaviour*> self_;
};

}  // namespace orv
