// The setup wizard's behaviour (Form2, "Settings"): the simulator choice, the drive and folder
// lists feeding the path box, the check for fs2002.exe, the settings file, and the end of the
// program when the wizard is closed before it has finished.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "behaviour/program_windows.h"
#include "behaviour/window_table.h"
#include "startup/setup_check.h"

namespace orv {

struct Program_State;

// The wizard's window (Form2): its controls, in tab order.
extern const Window_Table SETUP_WINDOW;

class Setup_View : public Window_View {
 public:
  virtual void Set_Option1(bool on) = 0;
  // The drive list holds `drives` with the entry `selected` chosen.
  virtual void Fill_Drives(const std::vector<std::string>& drives, size_t selected) = 0;
  // The folder list shows `lines`, one line each, with the line `current` selected.
  virtual void Show_Folders(const std::vector<Folder_Line>& lines, size_t current) = 0;
  virtual void Set_Text1(const std::string& text) = 0;
};

class Setup_Behaviour {
 public:
  Setup_Behaviour(Program_State& st, Setup_View& view, Program_Windows& windows)
      : st_(st), view_(view), windows_(windows) {}

  void Load();
  void Drive_Chosen(const std::string& drive);
  // A line of the folder list is selected (a click, or the arrow keys): its folder goes into
  // the path box.
  void Folder_Chosen(size_t line);
  // A line of the folder list is opened (a double click, or Enter): the list shows the folders
  // inside it, and its folder goes into the path box.
  void Folder_Opened(size_t line);
  void FS2002_Chosen();
  void Next_Step(const std::string& text1);
  void Unload();

  bool Setup_Done() const { return setup_done_; }

 private:
  Program_State& st_;
  Setup_View& view_;
  Program_Windows& windows_;
  bool setup_done_ = false;
  Folder_List folders_;  // what the folder list shows

  void Show_Folder(const std::string& folder);
  void Put_In_Text1(const std::string& folder);
};

}  // namespace orv
