// The subcommands of orvane-tool. The command line is read in orvane_tool_main.cpp; each
// subcommand takes its checked values and returns the process exit code: 0 success, 1 a file
// could not be read or written, 2 bad arguments or folder, 3 no such airport, 4 the simulator
// link failed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart_projection.h"
#include "chart/diagram_page.h"
#include "simlink/net_socket.h"

namespace orv {
struct Program_State;
struct Airport_Index;
}  // namespace orv

namespace orv::tool {

inline constexpr int EXIT_OK = 0;
inline constexpr int EXIT_FILE = 1;
inline constexpr int EXIT_USAGE = 2;
inline constexpr int EXIT_NO_AIRPORT = 3;
inline constexpr int EXIT_LINK = 4;

// The default window size of a chart, the chart window's design size.
inline constexpr int32_t CHART_DEFAULT_W_PX = 271;
inline constexpr int32_t CHART_DEFAULT_H_PX = 228;
// The largest picture side the tool draws, in pixels.
inline constexpr int32_t MAX_SIDE_PX = 65535;
// A PNG picture is painted whole in memory, four bytes a pixel: at most 256 MiB.
inline constexpr int64_t MAX_PNG_PIXELS = int64_t{8192} * 8192;

// Writes a command's whole output to standard output: EXIT_OK, or EXIT_FILE with "orvane-tool:
// cannot write the WHAT" on standard error when it cannot be written.
int Print_Output(const std::string& text, const char* what);

enum class Out_Kind : uint8_t { svg, json, png, pdf };

// What `orvane-tool chart` was asked for.
struct Chart_Args {
  std::string item;
  std::filesystem::path out;
  Out_Kind kind = Out_Kind::svg;
  int32_t zoom = ZOOM_AT_LOAD;
  int32_t width = CHART_DEFAULT_W_PX;
  int32_t height = CHART_DEFAULT_H_PX;
  std::optional<Geo_Pos> center;
  bool aircraft = false;
  double acft_lat = 0.0;
  double acft_lon = 0.0;
  int16_t acft_hdg = 0;
  bool diagram = false;  // --style diagram
  bool night = false;    // --night
  Paper paper = Paper::a4;
};

// The whole command line after the program's name; returns the exit code.
int Run_Tool(std::vector<std::string> args);  // orvane_tool_main.cpp

// Loads the settings, the magnetic grid and the database from the current folder as the airport
// list does on a normal run; on failure says why on stderr and returns the exit code.
int Load_Normal_Run(Program_State& st);  // tool_load.cpp

// The same load with the airport file kept as an index (database_files.h): what the list and
// the fetch of one airport need, without decoding every airport's detail.
int Load_Normal_Run_Index(Program_State& st, Airport_Index& index);  // tool_load.cpp

// Decodes into cur_airport the last indexed airport whose item text, in UTF-8, is `item`.
bool Find_Indexed_Airport(Program_State& st, const Airport_Index& index,
                          std::string_view item);  // tool_load.cpp

int Tool_Build(const std::string& fs_path);  // tool_build.cpp
int Tool_List();                             // tool_build.cpp
int Tool_Fetch(const std::string& item);     // tool_fetch.cpp
int Tool_Chart(const Chart_Args& a);         // tool_chart.cpp
// The simulator the aircraft subcommand follows, as the command line gave it.
struct Sim_Args {
  bool given = false;  // --sim
  Net_Address address;
  bool key_given = false;  // --key
  std::string key;
};
int Tool_Aircraft(int32_t sim_code, const Sim_Args& sim);  // tool_aircraft.cpp

// What `orvane-tool nearest` was asked for.
struct Nearest_Args {
  double lat = 0.0;
  double lon = 0.0;
  int32_t count = 20;
  bool json = false;
};
int Tool_Nearest(const Nearest_Args& a);  // tool_nearest.cpp

}  // namespace orv::tool
