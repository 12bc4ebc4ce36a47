#include "behaviour/setup_behaviour.h"

#include <optional>

#include "core/file_system.h"
#include "core/program_state.h"
#include "data/data_file_check.h"
#include "scenery/scenery_cfg.h"

namespace orv {

namespace {

using K = Control_Kind;
constexpr Control_Row kSetupControls[] = {
    {"Frame1", K::frame, "Flight Simulator Information", {8, 6, 404, 74}},
    {"Label1",
     K::label,
     "Select the version of your Microsoft Flight Simulator:",
     {20, 26, 380, 18}},
    {"Option1", K::radio_button, "Microsoft Flight Simulator 2002", {20, 48, 380, 20}, true, true},
    {"Frame2", K::frame, "Flight Simulator's Path", {8, 88, 404, 336}},
    {"Label2", K::label, "Enter your Flight Simulator's main path:", {20, 108, 380, 18}},
    {"Drive1", K::drive_list, "", {20, 128, 380, 200}, true, true},
    {"Label4", K::label, "Current Directory:", {20, 160, 380, 18}},
    {"Dir1", K::folder_list, "", {20, 180, 380, 170}, true},
    {"Text1", K::edit, "", {20, 360, 380, 24}, true},
    {"Label3", K::label, "Example: C:\\Program Files\\Microsoft Games\\Fs2002", {20, 394, 380, 18}},
    {"Command1", K::button, "NEXT STEP --->", {272, 432, 140, 28}, true},
};

}  // namespace

const Window_Table SETUP_WINDOW{.name = "Form2",
                                .caption = "Settings",
                                .client = {0, 0, 420, 468},
                                .controls = kSetupControls,
                                .default_button = "Command1",
                                .first_focus = "Text1"};

void Setup_Behaviour::Load() {
  FS2002_Chosen();
  view_.Set_Option1(true);
  setup_done_ = false;
  // The drive list stands on the working folder's drive, the folder list on that folder.
  const std::vector<std::string> drives = Drive_List();
  const Wizard_Start start = Wizard_Start_Place(drives, Current_Folder());
  // Volume labels and share names are the system's bytes; the list shows them as text.
  std::vector<std::string> shown;
  for (const std::string& drive : drives) shown.push_back(Utf8_From_Native_Path(drive));
  view_.Fill_Drives(shown, start.drive);
  Show_Folder(start.text);
  Put_In_Text1(start.text);
}

void Setup_Behaviour::Drive_Chosen(const std::string& drive) {
  const std::string folder = Wizard_Drive_Text(drive);
  Show_Folder(folder);
  Put_In_Text1(folder);
}

void Setup_Behaviour::Folder_Chosen(size_t line) {
  if (line < folders_.lines.size()) Put_In_Text1(folders_.lines[line].path);
}

void Setup_Behaviour::Folder_Opened(size_t line) {
  if (line >= folders_.lines.size()) return;
  const std::string folder = folders_.lines[line].path;
  Show_Folder(folder);
  Put_In_Text1(folder);
}

void Setup_Behaviour::Show_Folder(const std::string& folder) {
  folders_ = Folder_List_Of(folder);
  view_.Show_Folders(folders_.lines, folders_.current);
}

// What the lists put into the path box loses a drive root's separator ("C:\" becomes "C:");
// what the pilot types stays as typed until "NEXT STEP --->" takes it.
void Setup_Behaviour::Put_In_Text1(const std::string& folder) {
  if (!folder.empty()) view_.Set_Text1(Wizard_Path_Text(folder));
}

void Setup_Behaviour::FS2002_Chosen() {
  st_.sim_version = 1;
}

void Setup_Behaviour::Next_Step(const std::string& text1) {
  // The folder as the file calls take it; one this system cannot spell is no simulator folder.
  const std::optional<std::string> folder = Wizard_Stored_Path(text1);
  if (!folder || !Is_Sim_Folder(*folder)) {
    view_.Show_Message(Message_Icon::exclamation, MSG_NOT_SIM_FOLDER);
    return;
  }
  const Write_Result written = Write_Wizard_Settings(st_, *folder);
  if (!written.ok) {
    view_.Show_Message(Message_Icon::error,
                       "The settings file could not be written: " + written.error);
    return;
  }
  view_.Show_Message(Message_Icon::information, MSG_SETTINGS_CREATED);
  setup_done_ = true;
  windows_.Show_Selection();
  view_.Close();
}

void Setup_Behaviour::Unload() {
  if (setup_done_) return;
  // The settings file is the only data file a first run can have written by now; a partial
  // set is of no use to the next start.
  Remove_Data_Files(st_);
  view_.Show_Message(Message_Icon::information, MSG_SETUP_NOT_FINISHED);
  windows_.End_Program();
}

}  // namespace orv
