// The setup wizard's engine side: the test that a folder is the simulator's main folder, and
// the settings record written when the wizard accepts it. The wizard window and the tool's
// build both use these.
#pragma once

#include <string>
#include <string_view>

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

// True when `folder` holds a regular file named fs2002.exe, letter case ignored in the file
// name and in the folder's components. An empty folder text is never the simulator's folder.
bool Is_Sim_Folder(std::string_view folder);

// What the wizard writes on accepting `folder`: cfg becomes banner "Orvane v1.2", cfg_valid 1,
// sim_version 1, fs_path `folder`, both counts 0; the globals sim_version and fs_path follow;
// then the record is saved to orv_config.cfg in the working folder.
Write_Result Write_Wizard_Settings(Program_State& st, std::string_view folder);

}  // namespace orv
