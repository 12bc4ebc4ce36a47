// orvane-tool aircraft: opens the simulator link as the chart window does, makes one tick's
// four reads and prints what they gave.
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>

#include "app/json_out.h"
#include "app/tool_commands.h"
#include "chart/aircraft_tracking.h"
#include "core/program_state.h"
#include "simlink/link_client.h"

namespace orv::tool {

namespace {

constexpr int32_t kChartSimCode = 6;  // FS2002, the code the chart window asks for

bool Parse_Sim_Code(Args args, int32_t& sim_code) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--sim-code" || i + 1 >= args.size()) return false;
    const std::string_view v = args[++i];
    const auto r = std::from_chars(v.data(), v.data() + v.size(), sim_code);
    if (r.ec != std::errc{} || r.ptr != v.data() + v.size()) return false;
  }
  return true;
}

int Link_Failed(Link_State& link, int32_t result) {
  std::fprintf(stderr, "orvane-tool: simulator link failed: %d %s\n", result,
               Link_Result_Name(result));
  Link_Close(link);
  return EXIT_LINK;
}

}  // namespace

int Tool_Aircraft(Args args) {
  int32_t sim_code = kChartSimCode;
  if (!Parse_Sim_Code(args, sim_code)) {
    std::fputs("usage: orvane-tool aircraft [--sim-code N]\n", stderr);
    return EXIT_USAGE;
  }
  Link_State link;
  link.transport = Make_Platform_Transport();
  Link_Init(link);
  int32_t result = LINK_OK;
  if (!Link_Open(link, sim_code, result)) return Link_Failed(link, result);

  auto state = std::make_unique<Program_State>();
  Aircraft_Raw raw;
  if (!Read_Aircraft(link, *state, result, &raw)) return Link_Failed(link, result);
  Link_Close(link);

  // Positions keep every bit; the altimeter values are already rounded and print as the
  // chart shows them (29.92, 1013).
  std::printf(
      "{\"lat\": %s, \"lon\": %s, \"hdg\": %d, \"pressure_raw\": %u, \"altimeter_mb\": %s, "
      "\"altimeter_inhg\": %s}\n",
      Json_Double(state->acft_lat).c_str(), Json_Double(state->acft_lon).c_str(),
      static_cast<int>(state->acft_hdg), static_cast<unsigned>(raw.pressure),
      Shortest_Decimal(Altimeter_From_Raw(raw.pressure, 0, 0.0)).c_str(),
      Shortest_Decimal(Altimeter_From_Raw(raw.pressure, 1, 0.0)).c_str());
  return EXIT_OK;
}

}  // namespace orv::tool
