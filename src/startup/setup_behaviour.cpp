#include "startup/setup_behaviour.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/program_state.h"
#include "scenery/scenery_cfg.h"
#include "startup/data_files.h"
#include "startup/setup_check.h"

namespace orv {
namespace {

bool Starts_With_Ci(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[i]);
    const auto b = static_cast<unsigned char>(prefix[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

std::string Current_Folder() {
  std::error_code ec;
  std::filesystem::path current = std::filesystem::current_path(ec);
  return ec ? std::string() : current.make_preferred().string();
}

}  // namespace

std::vector<std::string> Wizard_Drives() {
  std::vector<std::string> drives;
  for (const std::string& entry : Drive_List()) {
    // A Windows entry names its drive first ("c: [system]"): the list shows its root.
    if (entry.size() >= 2 && entry[1] == ':') {
      const auto letter = static_cast<char>(std::toupper(static_cast<unsigned char>(entry[0])));
      drives.push_back(std::string(1, letter) + ":\\");
    } else {
      drives.push_back(entry);
    }
  }
  return drives;
}

std::string Drive_Current_Folder(const std::string& drive, const std::string& current) {
  return Starts_With_Ci(current, drive) ? current : drive;
}

void Setup_Behaviour::Load() {
  Option1_Click();
  view_.Set_Option1(true);
  setup_done_ = false;
  const std::vector<std::string> drives = Wizard_Drives();
  view_.Fill_Drives(drives);
  if (!drives.empty()) Drive1_Change(drives.front());
}

void Setup_Behaviour::Drive1_Change(const std::string& drive) {
  const std::string folder = Drive_Current_Folder(drive, Current_Folder());
  view_.Show_Folder(folder);
  Dir1_Change(folder);
}

void Setup_Behaviour::Dir1_Change(const std::string& folder) {
  if (!folder.empty()) view_.Set_Text1(folder);
}

void Setup_Behaviour::Text1_Change(const std::string& text) {
  const std::string kept = Wizard_Path_Text(text);
  if (kept != text) view_.Set_Text1(kept);
}

void Setup_Behaviour::Option1_Click() {
  st_.sim_version = 1;
}

void Setup_Behaviour::Command1_Click(const std::string& text1) {
  if (!Is_Sim_Folder(text1)) {
    view_.Show_Message(Message_Icon::exclamation, MSG_NOT_SIM_FOLDER);
    return;
  }
  const Write_Result written = Write_Wizard_Settings(st_, text1);
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
