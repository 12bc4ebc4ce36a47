// The airport selection window's behaviour (Form3, "Choosing an airport"): the database load,
// or on a first run the build in timer ticks with its status texts, progress and messages; the
// airport list; GET AIRPORT; the close rules; and which window comes next.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "behaviour/program_windows.h"
#include "behaviour/window_table.h"
#include "scenery/database_build.h"
#include "scenery/scan_bgl_file.h"

namespace orv {

struct Program_State;

inline constexpr const char* STATUS_NONE = "-None-";
inline constexpr const char* STATUS_PLEASE_WAIT = "Please wait...";
inline constexpr const char* STATUS_FETCH_GETTING_INFO = "Getting Airport's Info...";
inline constexpr const char* STATUS_FETCH_LOOKING = "Looking for Airspace...";
inline constexpr const char* COMBO_PROMPT = "[Type and select an airport from the list]";
inline constexpr int READ_SCENERIES_PATHS_MS = 1000;
inline constexpr int SCAN_BGLS_MS = 5;
// How long one Scan_Bgls tick goes on scanning files before it shows its progress.
inline constexpr std::chrono::microseconds SCAN_SLICE{10000};

enum class Selection_Timer { read_sceneries_paths, scan_bgls };

// The selection window (Form3): its controls in tab order, and its menu.
extern const Window_Table SELECTION_WINDOW;

class Selection_View : public Window_View {
 public:
  // Text1, the status box, repainted at once.
  virtual void Set_Status(const std::string& text) = 0;
  // Combo1, Command3 and Command2 together.
  virtual void Enable_Controls(bool on) = 0;
  // ProgressBar1 from 0 to maximum (at least 1) at value (0 to maximum), repainted at once.
  virtual void Set_Progress(int32_t value, int32_t maximum) = 0;
  // Combo1's items (UTF-8), nothing chosen, and the text of its edit field.
  virtual void Fill_List(const std::vector<std::string>& items, const std::string& edit_text) = 0;
  virtual void Enable_Timer(Selection_Timer timer, bool on) = 0;
  // The whole window, at once.
  virtual void Repaint() = 0;
};

// Called with (files done, files listed) while the airspaces are read.
using Airspace_Progress = std::function<void(int32_t done, int32_t total)>;

// A monotonic time source; tests hand in a clock of their own.
using Tick_Clock = std::function<std::chrono::microseconds()>;
std::chrono::microseconds Steady_Now();

class Selection_Behaviour {
 public:
  Selection_Behaviour(Program_State& st, Selection_View& view, Program_Windows& windows,
                      Tick_Clock clock = Steady_Now);

  void Load();
  void Read_Sceneries_Paths_Timer();
  void Scan_Bgls_Timer();
  // GET AIRPORT with Combo1's chosen index (-1 for none) and the text of its edit field.
  void Get_Airport(int index, const std::string& edit_text);
  void Close_Program();
  void Open_About();
  // The positions, in list order, of the items the airport list shows for the text typed into
  // it: those that hold the text anywhere, letter case folded as Windows-1252 folds it; every
  // item for no text. One rule for both toolkits.
  std::vector<int> Items_Shown_For(const std::string& typed) const;
  // The window is being closed; false keeps it open (a handler of it is still running).
  bool Unload();

  const std::string& Status() const { return status_; }
  const Database_Build& Build() const { return build_; }

 private:
  void Set_Status(const std::string& text);
  void Load_Database_Files();
  void Database_Damaged(const std::string& error);
  void Finish_Build();
  void Report_Scan_Problems();
  void Fill_Airport_List();
  void Quit_Program();

  Program_State& st_;
  Selection_View& view_;
  Program_Windows& windows_;
  Tick_Clock clock_;
  Database_Build build_;
  std::vector<std::string> items_;
  std::vector<std::string> folded_items_;  // items_ as the narrowing compares them
  void Show_Progress(int32_t done, int32_t total);

  std::string status_ = STATUS_NONE;
  // The list is filled and waits for the pilot: closing the window now ends the program.
  bool ready_ = false;
  int busy_ = 0;            // > 0 while a handler runs: a close from outside then waits
  bool unloading_ = false;  // the window closes itself (fetch done, setup again, the end)
  bool scenery_cfg_unread_ = false;
  bool magdec_unread_ = false;
};

}  // namespace orv
