// The setup wizard's engine side: the test that a folder is the simulator's main folder, and
// the settings record written when the wizard accepts it. The wizard window and the tool's
// build both use these.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"

namespace orv {

struct Program_State;

inline constexpr const char* SIM_EXECUTABLE = "fs2002.exe";

inline constexpr const char* MSG_NOT_SIM_FOLDER =
    "The directory or path that you selected is not your currently FS2002 main folder, because "
    "this program didn't found the FS2002.EXE file. Please try again.";
inline constexpr const char* MSG_SETTINGS_CREATED = "Settings file created successfully!";
inline constexpr const char* MSG_SETUP_NOT_FINISHED =
    "You didn't finish setup process, program will end";

// The wizard's path text: a drive root with its separator ("C:\" or "C:/") becomes "C:", so no
// stored folder ends in a separator; any other text stays as it is.
std::string Wizard_Path_Text(std::string_view text);

// The wizard's text (UTF-8, as the window shows it) as the folder the program checks and
// stores: Wizard_Path_Text of it in the system's own encoding, so the stored fs_path reaches the
// file calls unchanged (the ANSI code page on Windows). Nothing when the text holds a character
// that encoding lacks: such a folder cannot be stored, and the wizard refuses it.
std::optional<std::string> Wizard_Stored_Path(std::string_view text);

// Where the wizard's lists stand when its window loads: the drive list on the drive of the
// working folder, the folder list on the working folder itself.
struct Wizard_Start {
  size_t drive = 0;  // the entry of the drive list; the first when no entry holds the folder
  std::string text;  // Text1: the folder list's path in UTF-8, as Wizard_Path_Text leaves it
};

// `drives` as Drive_List gives them ("c: [system]", or "/"); `working_folder` native.
Wizard_Start Wizard_Start_Place(std::span<const std::string> drives,
                                std::string_view working_folder);

// Text1 after the drive list changes to `entry`: that drive's current folder, in UTF-8.
std::string Wizard_Drive_Text(std::string_view entry);

// One line of the wizard's folder list.
struct Folder_Line {
  std::string
      path;  // the folder in UTF-8, as the list reports it: a drive root keeps its separator
  std::string name;   // what the line shows: the root as it is spelled, else the folder's name
  int depth = 0;      // how far the line is indented: 0 for the root
  bool open = false;  // a folder on the way down from the root, the shown folder included
};

// The folder list showing `folder` (UTF-8): its folders from the drive root down, each open and
// one step further in, then the folders inside it, one step further still. `current` is the line
// of `folder` itself. A drive "C:" means its root. Nothing for an empty text.
struct Folder_List {
  std::vector<Folder_Line> lines;
  size_t current = 0;
};
Folder_List Folder_List_Of(std::string_view folder);

// True when `folder` holds a regular file named fs2002.exe, letter case ignored in the file
// name and in the folder's components. An empty folder text is never the simulator's folder.
bool Is_Sim_Folder(std::string_view folder);

// What the wizard writes on accepting `folder`: cfg becomes banner "Orvane v1.2", cfg_valid 1,
// sim_version 1, fs_path `folder`, both counts 0; the globals sim_version and fs_path follow;
// then the record is saved to orv_config.cfg in the working folder.
Write_Result Write_Wizard_Settings(Program_State& st, std::string_view folder);

}  // namespace orv
