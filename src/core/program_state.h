// The program's shared state: the settings, the display switches, the airport database lists,
// the scenery areas and magnetic grid, the chosen airport and its airspaces, and the aircraft.
// The program makes one and passes it by reference to the code that needs it; tests make as
// many as they like.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/airport_records.h"
#include "core/airspace_records.h"
#include "core/config_rec.h"
#include "core/mag_var_table.h"
#include "core/scenery_area.h"

namespace orv {

struct Program_State {
  // The folder that holds the three data files: the process's current folder in the program.
  std::filesystem::path work_dir = ".";

  // Settings.
  Config_Rec cfg;
  bool first_run = false;
  bool db_ready = false;
  uint8_t sim_version = 0;
  std::string fs_path;
  int32_t airport_count = 0;
  int32_t airspace_file_count = 0;

  // Display switches: live for one run, set on each load of the chart window.
  bool show_twy_ids = false;
  bool show_twys = false;
  bool show_ils = false;
  bool show_airspace = false;
  bool show_gates = false;
  bool follow_acft = false;
  uint8_t altim_units = 0;  // 0 millibars, 1 inches of mercury
  // The aircraft's trail on the chart: off unless the pilot asks; like the switches above it
  // lives for one run and is set to its default on each load of the chart window.
  bool show_trail = false;
  // The chart's style and colours, kept between runs in a file of their own.
  bool diagram_style = false;
  bool night_colours = false;

  // Airport database: used entries, then one empty spare.
  std::vector<Airport_Entry> airports = std::vector<Airport_Entry>(1);
  std::vector<std::string> airspace_files = std::vector<std::string>(1);

  // Scenery library and magnetic grid.
  std::vector<Scenery_Area> areas = std::vector<Scenery_Area>(1);
  int16_t area_count = 0;
  Mag_Var_Table mag_var_table{};

  // The chosen airport and the airspaces around it.
  Airport_Entry cur_airport;
  std::vector<Airspace_Entry> airspaces;
  int32_t airspace_count = 0;

  // The user's aircraft as last read from the simulator.
  double acft_lon = 0.0;
  double acft_lat = 0.0;
  int16_t acft_hdg = 0;
  double altim_value = 0.0;
};

}  // namespace orv
