// orvane-tool chart ITEM --out FILE: one redraw of the chart window for an airport, written as
// SVG or as the list of drawing commands in JSON.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "airspace/airport_fetch.h"
#include "app/drawing_json.h"
#include "app/tool_commands.h"
#include "chart/chart_layers.h"
#include "chart/chart_projection.h"
#include "chart/diagram_page.h"
#include "chart/diagram_painter.h"
#include "chart/recording_canvas.h"
#include "chart/svg_canvas.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/database_files.h"
#include "data/settings_file.h"

#ifdef ORVANE_HAS_PNG
#include "app/png_module.h"
#endif

namespace orv::tool {
namespace {

// The view of the chart window after its load, at the zoom level asked for.
Chart_View Make_View(const Chart_Args& a, const Airport_Entry& airport) {
  Chart_View view;
  view.win_w_px = a.width;
  view.win_h_px = a.height;
  Reset_View(view);
  Recenter_View(view, airport.lon, airport.lat);  // the load
  Recenter_View(view, airport.lon, airport.lat);  // its first redraw
  for (int32_t level = 1; level < a.zoom; ++level) Zoom_In(view);
  if (a.center) Recenter_View(view, a.center->lon, a.center->lat);
  return view;
}

void Report_Skipped(const std::vector<Fetch_File_Result>& files) {
  for (const Fetch_File_Result& f : files) {
    if (f.outcome == Fetch_File_Outcome::unreadable) {
      std::fprintf(stderr, "orvane-tool: skipped %s: missing or unreadable\n",
                   Utf8_From_Native_Path(f.path).c_str());
    }
  }
}

// One redraw of the chart in the style asked for.
void Draw(Canvas& canvas, const Chart_Args& a, Program_State& st, const Chart_View& view) {
  if (a.diagram) {
    Draw_Diagram(canvas, st, view, view.win_w_px, view.win_h_px, a.night, a.aircraft);
  } else {
    Redraw_Chart(canvas, st, view, a.aircraft);
  }
}

#ifdef ORVANE_HAS_PNG
// One redraw recorded here and painted as PNG by the PNG module; empty, after a message, when
// the module is missing or could not paint it.
std::string Png_Chart(Program_State& st, const Chart_View& view, const Chart_Args& a) {
  Recording_Canvas canvas;
  Draw(canvas, a, st, view);
  std::string png, error;
  if (!Paint_Png(canvas.Calls(), view.win_w_px, view.win_h_px, png, error)) {
    std::fprintf(stderr, "orvane-tool: the %dx%d picture could not be drawn as PNG: %s\n",
                 view.win_w_px, view.win_h_px, error.c_str());
    return {};
  }
  return png;
}
#endif

#ifdef ORVANE_HAS_PNG
constexpr int32_t PDF_DPI = 300;

// The kneeboard page: the airport fitted to the paper, recorded here and written by the module.
std::string Pdf_Page(const Chart_Args& a, const Program_State& st) {
  const Paper_Size paper = Size_Of(a.paper);
  const auto w = static_cast<int32_t>(std::lround(paper.w_mm / 25.4 * PDF_DPI));
  const auto h = static_cast<int32_t>(std::lround(paper.h_mm / 25.4 * PDF_DPI));
  Recording_Canvas canvas;
  Draw_Diagram_Page(canvas, st, w, h, PDF_DPI, a.night, a.aircraft);
  std::string pdf, error;
  if (!Paint_Pdf(canvas.Calls(), paper.w_mm, paper.h_mm, PDF_DPI, pdf, error)) {
    std::fprintf(stderr, "orvane-tool: the page could not be written as PDF: %s\n", error.c_str());
    return {};
  }
  return pdf;
}
#endif

}  // namespace

int Tool_Chart(const Chart_Args& a) {
  Program_State st;
  Airport_Index index;
  if (const int code = Load_Normal_Run_Index(st, index); code != EXIT_OK) return code;
  if (!Find_Indexed_Airport(st, index, a.item)) {
    std::fprintf(stderr, "orvane-tool: no airport '%s' in the database\n", a.item.c_str());
    return EXIT_NO_AIRPORT;
  }
  index = {};
  Report_Skipped(Fetch_Airspaces(st));

  st.show_twy_ids = st.show_twys = st.show_ils = st.show_airspace = st.show_gates = true;
  st.follow_acft = true;
  st.acft_lat = a.acft_lat;
  st.acft_lon = a.acft_lon;
  st.acft_hdg = a.acft_hdg;
  const Chart_View view = Make_View(a, st.cur_airport);

  std::string result;
  if (a.kind == Out_Kind::png) {
#ifdef ORVANE_HAS_PNG
    result = Png_Chart(st, view, a);
    if (result.empty()) return EXIT_FILE;
#endif
  } else if (a.kind == Out_Kind::pdf) {
#ifdef ORVANE_HAS_PNG
    result = Pdf_Page(a, st);
    if (result.empty()) return EXIT_FILE;
#endif
  } else if (a.kind == Out_Kind::svg) {
    Svg_Canvas canvas(view.win_w_px, view.win_h_px);
    Draw(canvas, a, st, view);
    result = canvas.Document();
  } else {
    Recording_Canvas canvas;
    Draw(canvas, a, st, view);
    result = Drawing_Commands_Json(canvas.Calls());
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(result.data());
  const Write_Result written = Write_File_Safely(a.out, std::span(bytes, result.size()));
  if (!written.ok) {
    std::fprintf(stderr, "orvane-tool: %s\n", written.error.c_str());
    return EXIT_FILE;
  }
  return EXIT_OK;
}

}  // namespace orv::tool
