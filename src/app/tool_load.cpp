// The normal-run load shared by the subcommands that read the database.
#include <cstdio>
#include <filesystem>

#include "app/tool_commands.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "scenery/database_build.h"
#include "scenery/database_files.h"

namespace orv::tool {

int Load_Normal_Run(Program_State& st) {
  const std::filesystem::path settings = Data_File_Path(st.work_dir, SETTINGS_FILE);
  switch (Load_Settings(st, settings)) {
    case Settings_Status::ok:
      break;
    case Settings_Status::missing:
      std::fprintf(stderr, "orvane-tool: cannot read %s; run orvane-tool build FS_PATH first\n",
                   settings.string().c_str());
      return EXIT_FILE;
    case Settings_Status::damaged:
      std::fprintf(stderr, "orvane-tool: %s is damaged; run orvane-tool build FS_PATH again\n",
                   settings.string().c_str());
      return EXIT_FILE;
  }
  Load_Mag_Grid(st);  // as the airport list does before every load
  st.first_run = false;
  st.db_ready = true;
  const Database_Load load = Load_Database(st);
  if (load.status != Database_Status::ok) {
    std::fprintf(stderr,
                 "orvane-tool: the airport database cannot be used: %s; run orvane-tool build "
                 "FS_PATH again\n",
                 load.error.c_str());
    return EXIT_FILE;
  }
  return EXIT_OK;
}

}  // namespace orv::tool
