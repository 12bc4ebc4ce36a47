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
#include "chart/recording_canvas.h"
#include "chart/svg_canvas.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "core/settings_file.h"
#include "core/text_1252.h"
#include "scenery/database_files.h"

#ifdef ORVANE_HAS_QT
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>

#include "qt/qpainter_canvas.h"
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
      std::fprintf(stderr, "orvane-tool: skipped %s: missing or unreadable\n", f.path.c_str());
    }
  }
}

#ifdef ORVANE_HAS_QT
// One redraw painted into an image of the window's size, as PNG bytes; empty when Qt could not
// encode it. Text needs the platform's fonts, so a painting-only application is made when the
// tool has none yet (off screen unless QT_QPA_PLATFORM says otherwise), for this picture only.
std::string Png_Chart(Program_State& st, const Chart_View& view, bool aircraft) {
  static int argc = 1;
  static char name[] = "orvane-tool";
  static char* argv[] = {name, nullptr};
  // Made and ended here, before the program's static objects go: Qt must not outlive main.
  std::unique_ptr<QGuiApplication> app;
  if (QCoreApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  QImage image(view.win_w_px, view.win_h_px, QImage::Format_RGB32);
  if (image.isNull()) return {};
  {
    QPainter painter(&image);
    Qpainter_Canvas canvas(painter, image.rect());
    Redraw_Chart(canvas, st, view, aircraft);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
#endif

}  // namespace

int Tool_Chart(const Chart_Args& a) {
  Program_State st;
  if (const int code = Load_Normal_Run(st); code != EXIT_OK) return code;
  // The list prints items in UTF-8, so the item given is compared with the decoded text.
  const bool found = Find_Fetch_Airport_Where(
      st, [&a](const std::string& text) { return Utf8_From_1252(text) == a.item; });
  if (!found) {
    std::fprintf(stderr, "orvane-tool: no airport '%s' in the database\n", a.item.c_str());
    return EXIT_NO_AIRPORT;
  }
  Report_Skipped(Fetch_Airspaces(st));

  st.show_twy_ids = st.show_twys = st.show_ils = st.show_airspace = st.show_gates = true;
  st.follow_acft = true;
  st.acft_lat = a.acft_lat;
  st.acft_lon = a.acft_lon;
  st.acft_hdg = a.acft_hdg;
  const Chart_View view = Make_View(a, st.cur_airport);

  std::string result;
  if (a.kind == Out_Kind::png) {
#ifdef ORVANE_HAS_QT
    result = Png_Chart(st, view, a.aircraft);
    if (result.empty()) {
      std::fprintf(stderr, "orvane-tool: the %dx%d picture could not be drawn as PNG\n",
                   view.win_w_px, view.win_h_px);
      return EXIT_FILE;
    }
#endif
  } else if (a.kind == Out_Kind::svg) {
    Svg_Canvas canvas(view.win_w_px, view.win_h_px);
    Redraw_Chart(canvas, st, view, a.aircraft);
    result = canvas.Document();
  } else {
    Recording_Canvas canvas;
    Redraw_Chart(canvas, st, view, a.aircraft);
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
