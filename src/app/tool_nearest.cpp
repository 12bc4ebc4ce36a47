// orvane-tool nearest LAT,LON: the airports of the database nearest to a position, as the
// chart's nearest airports window lists them, one line each or as JSON.
#include <cstdio>
#include <memory>
#include <string>

#include "app/json_text.h"
#include "app/tool_commands.h"
#include "chart/nearest_airports.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/database_files.h"

namespace orv::tool {

int Tool_Nearest(const Nearest_Args& a) {
  auto st = std::make_unique<Program_State>();
  Airport_Index index;
  if (const int code = Load_Normal_Run_Index(*st, index); code != EXIT_OK) return code;
  const std::vector<Nearest_Airport> near =
      Find_Nearest(index.entries, st->mag_var_table, a.lat, a.lon, a.count);
  std::string out;
  if (a.json) {
    Json list = Json::array();
    for (const Nearest_Airport& n : near) {
      const Airport_Index_Entry& e = index.entries[n.entry];
      list.push_back({{"item", Json_1252(e.ident + " (" + e.name + ")")},
                      {"ident", Json_1252(e.ident)},
                      {"lat", e.lat},
                      {"lon", e.lon},
                      {"distance_nm", n.distance_nm},
                      {"bearing_mag", n.bearing_mag}});
    }
    out = Json_Text(list) + "\n";
  } else {
    for (const Nearest_Airport& n : near) {
      out += Utf8_From_1252(Nearest_Line(index.entries[n.entry], n));
      out += '\n';
    }
  }
  return Print_Output(out, "list");
}

}  // namespace orv::tool
