// The normal-run load shared by the subcommands that read the database.
#include <cstdio>
#include <filesystem>

#include "app/tool_commands.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "scenery/database_build.h"

namespace orv::tool {

namespace {

// The settings and the magnetic grid, as the airport list reads them before every load.
int Load_Settings_And_Grid(Program_State& st) {
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
  Load_Mag_Grid(st);
  st.first_run = false;
  st.db_ready = true;
  return EXIT_OK;
}

int Report_Load(const Database_Load& load) {
  if (load.status == Database_Status::ok) return EXIT_OK;
  std::fprintf(stderr,
               "orvane-tool: the airport database cannot be used: %s; run orvane-tool build "
               "FS_PATH again\n",
               load.error.c_str());
  return EXIT_FILE;
}

}  // namespace

int Print_Output(const std::string& text, const char* what) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "orvane-tool: cannot write the %s\n", what);
    return EXIT_FILE;
  }
  return EXIT_OK;
}

int Load_Normal_Run(Program_State& st) {
  if (const int code = Load_Settings_And_Grid(st); code != EXIT_OK) return code;
  return Report_Load(Load_Database(st));
}

int Load_Normal_Run_Index(Program_State& st, Airport_Index& index) {
  if (const int code = Load_Settings_And_Grid(st); code != EXIT_OK) return code;
  return Report_Load(Load_Database_Index(st, index));
}

bool Find_Indexed_Airport(Program_State& st, const Airport_Index& index, std::string_view item) {
  // Every entry is compared and the last match wins, as in the airport list. The list prints
  // items in UTF-8, so the item given is compared with the decoded text.
  const Airport_Index_Entry* match = nullptr;
  for (const Airport_Index_Entry& e : index.entries) {
    if (Utf8_From_1252(e.ident + " (" + e.name + ")") == item) match = &e;
  }
  return match != nullptr &&
         Decode_Airport_At(index.bytes.Bytes(), match->offset, st.cur_airport).ok;
}

}  // namespace orv::tool
