// The subcommands of orvane-tool. Each takes the arguments after its own name and returns the
// process exit code: 0 success, 1 a file could not be read or written, 2 bad arguments or
// folder, 3 no such airport, 4 the simulator link failed.
#pragma once

#include <span>
#include <string_view>

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

using Args = std::span<const std::string_view>;

// Loads the settings, the magnetic grid and the database from the current folder as the airport
// list does on a normal run; on failure says why on stderr and returns the exit code.
int Load_Normal_Run(Program_State& st);  // tool_load.cpp

// The same load with the airport file kept as an index (database_files.h): what the list and
// the fetch of one airport need, without decoding every airport's detail.
int Load_Normal_Run_Index(Program_State& st, Airport_Index& index);  // tool_load.cpp

// Decodes into cur_airport the last indexed airport whose item text, in UTF-8, is `item`.
bool Find_Indexed_Airport(Program_State& st, const Airport_Index& index,
                          std::string_view item);  // tool_load.cpp

int Tool_Build(Args args);     // tool_build.cpp
int Tool_List(Args args);      // tool_build.cpp
int Tool_Fetch(Args args);     // tool_fetch.cpp
int Tool_Chart(Args args);     // tool_chart.cpp
int Tool_Aircraft(Args args);  // tool_aircraft.cpp

}  // namespace orv::tool
