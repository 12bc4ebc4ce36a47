// orvane-tool fetch ITEM: the airport fetch without windows, printed as JSON.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "airspace/airport_fetch.h"
#include "app/json_text.h"
#include "app/tool_commands.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "scenery/database_build.h"

namespace orv::tool {
namespace {

// Elements 0 .. count - 1 of a list, never past its end, each made by `make`.
template <typename T, typename Make>
Json List_Json(const std::vector<T>& list, int32_t count, Make make) {
  Json out = Json::array();
  for (int32_t i = 0; i < count && static_cast<size_t>(i) < list.size(); ++i) {
    out.push_back(make(list[static_cast<size_t>(i)]));
  }
  return out;
}

Json Runway_Json(const Runway_Rec& r) {
  return {{"end1_name", Json_1252(r.end1_name)},
          {"end2_name", Json_1252(r.end2_name)},
          {"end1_lat", r.end1_lat},
          {"end1_lon", r.end1_lon},
          {"end2_lat", r.end2_lat},
          {"end2_lon", r.end2_lon},
          {"elev_ft", r.elev_ft},
          {"end1_mag_hdg", r.end1_mag_hdg},
          {"end2_mag_hdg", r.end2_mag_hdg},
          {"length_ft", r.length_ft},
          {"width_ft", r.width_ft}};
}

Json Ils_Json(const Ils_Rec& r) {
  return {{"ident", Json_1252(r.ident)},
          {"lat", r.lat},
          {"lon", r.lon},
          {"mag_hdg", r.mag_hdg},
          {"freq", Json_1252(r.freq)}};
}

Json Taxi_Point_Json(const Taxi_Point& p) {
  return {{"kind", p.kind}, {"lat", p.lat}, {"lon", p.lon}};
}

Json Parking_Json(const Parking_Rec& p) {
  return {
      {"label", Json_1252(p.label)}, {"lat", p.lat}, {"lon", p.lon}, {"radius_ft", p.radius_ft}};
}

Json Taxi_Path_Json(const Taxi_Path& p) {
  return {{"kind", p.kind},
          {"start_pt", p.start_pt},
          {"end_pt", p.end_pt},
          {"label", Json_1252(p.label)}};
}

Json Airport_Json(const Airport_Entry& a) {
  return {{"ident", Json_1252(a.ident)},
          {"name", Json_1252(a.name)},
          {"lat", a.lat},
          {"lon", a.lon},
          {"freq7", Json_1252(a.freq7)},
          {"freq5", Json_1252(a.freq5)},
          {"freq6", Json_1252(a.freq6)},
          {"freq9", Json_1252(a.freq9)},
          {"freq8", Json_1252(a.freq8)},
          {"freq10", Json_1252(a.freq10)},
          {"freq1", Json_1252(a.freq1)},
          {"runways", List_Json(a.runways, a.runway_count, Runway_Json)},
          {"ils", List_Json(a.ils, a.ils_count, Ils_Json)},
          {"taxi_points", List_Json(a.taxi_points, a.taxi_point_count, Taxi_Point_Json)},
          {"parkings", List_Json(a.parkings, a.parking_count, Parking_Json)},
          {"taxi_paths", List_Json(a.taxi_paths, a.taxi_path_count, Taxi_Path_Json)}};
}

Json Boundary_Point_Json(const Boundary_Point& p) {
  return {{"kind", p.kind}, {"lat", p.lat}, {"lon", p.lon}, {"radius", p.radius}};
}

Json Airspace_Json(const Airspace_Entry& s) {
  return {{"class_label", Json_1252(s.class_label)},
          {"airspace_name", Json_1252(s.airspace_name)},
          {"com_name", Json_1252(s.com_name)},
          {"freq_text", Json_1252(s.freq_text)},
          {"alt_low", s.alt_low},
          {"alt_high", s.alt_high},
          {"points", List_Json(s.points, s.point_count, Boundary_Point_Json)}};
}

std::string Fetch_Json(const Program_State& st) {
  const Json doc = {{"airport", Airport_Json(st.cur_airport)},
                    {"airspaces", List_Json(st.airspaces, st.airspace_count, Airspace_Json)}};
  return Json_Text(doc) + "\n";
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

int Tool_Fetch(const std::string& item) {
  Program_State st;
  Airport_Index index;
  if (const int code = Load_Normal_Run_Index(st, index); code != EXIT_OK) return code;
  if (!Find_Indexed_Airport(st, index, item)) {
    std::fprintf(stderr, "orvane-tool: no airport '%.*s' in the database\n",
                 static_cast<int>(item.size()), item.data());
    return EXIT_NO_AIRPORT;
  }
  index = {};
  Report_Skipped(Fetch_Airspaces(st));

  const std::string json = Fetch_Json(st);
  return Print_Output(json, "result");
}

}  // namespace orv::tool
