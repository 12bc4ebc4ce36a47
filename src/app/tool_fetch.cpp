// orvane-tool fetch ITEM: the airport fetch without windows, printed as JSON.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "airspace/airport_fetch.h"
#include "app/json_out.h"
#include "app/tool_commands.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "core/text_1252.h"
#include "scenery/database_build.h"
#include "scenery/database_files.h"

namespace orv::tool {
namespace {

// Elements 0 .. count - 1 of a list, never past its end.
template <typename T, typename Write>
void Write_List(Json_Out& js, std::string_view name, const std::vector<T>& list, int32_t count,
                Write write) {
  js.Key(name).Begin_Array();
  for (int32_t i = 0; i < count && static_cast<size_t>(i) < list.size(); ++i) {
    write(list[static_cast<size_t>(i)]);
  }
  js.End_Array();
}

void Write_Airport(Json_Out& js, const Airport_Entry& a) {
  js.Begin_Object();
  js.Member_1252("ident", a.ident).Member_1252("name", a.name);
  js.Member("lat", a.lat).Member("lon", a.lon);
  js.Member_1252("freq7", a.freq7).Member_1252("freq5", a.freq5).Member_1252("freq6", a.freq6);
  js.Member_1252("freq9", a.freq9).Member_1252("freq8", a.freq8);
  js.Member_1252("freq10", a.freq10).Member_1252("freq1", a.freq1);
  Write_List(js, "runways", a.runways, a.runway_count, [&js](const Runway_Rec& r) {
    js.Begin_Object();
    js.Member_1252("end1_name", r.end1_name).Member_1252("end2_name", r.end2_name);
    js.Member("end1_lat", r.end1_lat).Member("end1_lon", r.end1_lon);
    js.Member("end2_lat", r.end2_lat).Member("end2_lon", r.end2_lon);
    js.Member("elev_ft", r.elev_ft);
    js.Member("end1_mag_hdg", r.end1_mag_hdg).Member("end2_mag_hdg", r.end2_mag_hdg);
    js.Member("length_ft", r.length_ft).Member("width_ft", r.width_ft);
    js.End_Object();
  });
  Write_List(js, "ils", a.ils, a.ils_count, [&js](const Ils_Rec& r) {
    js.Begin_Object();
    js.Member_1252("ident", r.ident).Member("lat", r.lat).Member("lon", r.lon);
    js.Member("mag_hdg", r.mag_hdg).Member_1252("freq", r.freq);
    js.End_Object();
  });
  Write_List(js, "taxi_points", a.taxi_points, a.taxi_point_count, [&js](const Taxi_Point& p) {
    js.Begin_Object().Member("kind", p.kind).Member("lat", p.lat).Member("lon", p.lon);
    js.End_Object();
  });
  Write_List(js, "parkings", a.parkings, a.parking_count, [&js](const Parking_Rec& p) {
    js.Begin_Object().Member_1252("label", p.label).Member("lat", p.lat).Member("lon", p.lon);
    js.Member("radius_ft", p.radius_ft).End_Object();
  });
  Write_List(js, "taxi_paths", a.taxi_paths, a.taxi_path_count, [&js](const Taxi_Path& p) {
    js.Begin_Object().Member("kind", p.kind).Member("start_pt", p.start_pt);
    js.Member("end_pt", p.end_pt).Member_1252("label", p.label).End_Object();
  });
  js.End_Object();
}

void Write_Airspace(Json_Out& js, const Airspace_Entry& s) {
  js.Begin_Object();
  js.Member_1252("class_label", s.class_label).Member_1252("airspace_name", s.airspace_name);
  js.Member_1252("com_name", s.com_name).Member_1252("freq_text", s.freq_text);
  js.Member("alt_low", s.alt_low).Member("alt_high", s.alt_high);
  Write_List(js, "points", s.points, s.point_count, [&js](const Boundary_Point& p) {
    js.Begin_Object().Member("kind", p.kind).Member("lat", p.lat).Member("lon", p.lon);
    js.Member("radius", p.radius).End_Object();
  });
  js.End_Object();
}

std::string Fetch_Json(const Program_State& st) {
  Json_Out js;
  js.Begin_Object().Key("airport");
  Write_Airport(js, st.cur_airport);
  Write_List(js, "airspaces", st.airspaces, st.airspace_count,
             [&js](const Airspace_Entry& s) { Write_Airspace(js, s); });
  js.End_Object();
  return js.text() + "\n";
}

void Report_Skipped(const std::vector<Fetch_File_Result>& files) {
  for (const Fetch_File_Result& f : files) {
    if (f.outcome == Fetch_File_Outcome::unreadable) {
      std::fprintf(stderr, "orvane-tool: skipped %s: missing or unreadable\n",
                   Utf8_From_Native_Path(f.path).c_str());
    } else if (f.outcome == Fetch_File_Outcome::read && f.stop != Walk_Stop::none) {
      std::fprintf(stderr, "orvane-tool: %s: airspaces read up to a %s\n",
                   Utf8_From_Native_Path(f.path).c_str(), Walk_Stop_Name(f.stop));
    }
  }
}

}  // namespace

int Tool_Fetch(Args args) {
  if (args.size() != 1) {
    std::fputs("usage: orvane-tool fetch ITEM\n", stderr);
    return EXIT_USAGE;
  }
  const std::string_view item = args[0];
  Program_State st;
  if (const int code = Load_Normal_Run(st); code != EXIT_OK) return code;

  // The list prints items in UTF-8; the item given is looked for in Windows-1252, as the list
  // holds it. An item with a character Windows-1252 lacks names no airport.
  const std::optional<std::string> item_1252 = Text_1252_From_Utf8(item);
  if (!item_1252 || !Find_Fetch_Airport(st, *item_1252)) {
    std::fprintf(stderr, "orvane-tool: no airport '%.*s' in the database\n",
                 static_cast<int>(item.size()), item.data());
    return EXIT_NO_AIRPORT;
  }
  Report_Skipped(Fetch_Airspaces(st));

  const std::string json = Fetch_Json(st);
  if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0) {
    std::fputs("orvane-tool: cannot write the result\n", stderr);
    return EXIT_FILE;
  }
  return EXIT_OK;
}

}  // namespace orv::tool
