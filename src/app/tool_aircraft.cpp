// orvane-tool aircraft: opens the simulator link as the chart window does, makes one tick's
// four reads and prints what they gave.
#include <cstdio>
#include <memory>
#include <string>

#include "app/json_text.h"
#include "app/tool_commands.h"
#include "chart/aircraft_tracking.h"
#include "core/program_state.h"
#include "simlink/link_client.h"
#include "simlink/sim_choice.h"

namespace orv::tool {

namespace {

int Link_Failed(Link_State& link, int32_t result) {
  std::fprintf(stderr, "orvane-tool: simulator link failed: %d %s\n", result,
               Link_Result_Name(result));
  Link_Close(link);
  return EXIT_LINK;
}

// The stored choice of the working folder, with what the command line gives over it.
Sim_Choice Choose_Sim(const Sim_Args& sim) {
  Sim_Choice choice;
  if (Load_Sim_Choice(SIM_CHOICE_FILE, choice) == Sim_Choice_Load::damaged) {
    std::fprintf(stderr, "orvane-tool: %s is damaged; following this computer's simulator\n",
                 SIM_CHOICE_FILE);
  }
  if (sim.given) {
    choice.remote = true;
    choice.address = sim.address;
  }
  if (sim.key_given) choice.key = sim.key;
  return choice;
}

}  // namespace

int Tool_Aircraft(int32_t sim_code, const Sim_Args& sim) {
  Link_State link;
  link.transport = Make_Link_Transport(Choose_Sim(sim));
  Link_Init(link);
  int32_t result = LINK_OK;
  if (!Link_Open(link, sim_code, result)) return Link_Failed(link, result);

  auto state = std::make_unique<Program_State>();
  Aircraft_Raw raw;
  if (!Read_Aircraft(link, *state, result, &raw)) return Link_Failed(link, result);
  Link_Close(link);

  // Numbers with a fraction print in their shortest form that reads back to the same bits: the
  // position keeps every bit and the altimeter prints as the chart shows it (29.92, 1013).
  const Json reply = {
      {"lat", state->acft_lat},
      {"lon", state->acft_lon},
      {"hdg", state->acft_hdg},
      {"pressure_raw", raw.pressure},
      {"altimeter_mb", static_cast<int64_t>(Altimeter_From_Raw(raw.pressure, 0, 0.0))},
      {"altimeter_inhg", Altimeter_From_Raw(raw.pressure, 1, 0.0)}};
  const std::string text =
      Json_Text(reply, {.spaced = true, .float_text = Shortest_Decimal}) + "\n";
  return Print_Output(text, "result");
}

}  // namespace orv::tool
