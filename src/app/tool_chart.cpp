// orvane-tool chart ITEM --out FILE: one redraw of the chart window for an airport, written as
// SVG or as the list of drawing commands in JSON.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "airspace/airport_fetch.h"
#include "app/drawing_json.h"
#include "app/json_out.h"
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

constexpr const char* kUsage =
    "usage: orvane-tool chart ITEM --out FILE [--zoom N] [--size WxH] [--center LON,LAT]\n"
    "                         [--aircraft LAT,LON,HDG]\n"
    "FILE ends in .svg or .png (a picture; PNG needs a build with Qt) or .json (the drawing\n"
    "commands)\n";

// The largest picture side the tool draws, in pixels.
constexpr int32_t MAX_SIDE_PX = 65535;
// A PNG picture is painted whole in memory, four bytes a pixel: at most 256 MiB.
constexpr int64_t MAX_PNG_PIXELS = int64_t{8192} * 8192;

enum class Out_Kind : uint8_t { svg, json, png };

struct Chart_Args {
  std::string item;
  std::filesystem::path out;
  Out_Kind kind = Out_Kind::svg;
  int32_t zoom = ZOOM_AT_LOAD;
  int32_t width = 271;
  int32_t height = 228;
  std::optional<Geo_Pos> center;
  bool aircraft = false;
  double acft_lat = 0.0;
  double acft_lon = 0.0;
  int16_t acft_hdg = 0;
};

// The whole text as one number of type T, or nothing.
template <typename T>
std::optional<T> Parse_Number(std::string_view text) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(value)) return std::nullopt;
  }
  return value;
}

// The parts of a text between `separator`s.
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t from = 0;
  for (size_t at = text.find(separator); at != std::string_view::npos;
       at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + 1;
  }
  parts.push_back(text.substr(from));
  return parts;
}

bool Ends_With_Ignoring_Case(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         Lower_Ascii(text.substr(text.size() - suffix.size())) == suffix;
}

bool Bad(const char* why) {
  std::fprintf(stderr, "orvane-tool chart: %s\n%s", why, kUsage);
  return false;
}

bool Parse_Option(std::string_view name, std::string_view value, Chart_Args& a) {
  if (name == "--out") {
    if (Ends_With_Ignoring_Case(value, ".svg")) {
      a.kind = Out_Kind::svg;
    } else if (Ends_With_Ignoring_Case(value, ".json")) {
      a.kind = Out_Kind::json;
    } else if (Ends_With_Ignoring_Case(value, ".png")) {
#ifdef ORVANE_HAS_QT
      a.kind = Out_Kind::png;
#else
      return Bad("this orvane-tool was built without Qt and cannot draw PNG; use .svg or .json");
#endif
    } else {
      return Bad("the output file must end in .svg, .png or .json");
    }
    a.out = std::filesystem::path(std::string(value));
    return true;
  }
  if (name == "--zoom") {
    const auto zoom = Parse_Number<int32_t>(value);
    if (!zoom || *zoom < ZOOM_MIN || *zoom > ZOOM_MAX) return Bad("--zoom takes 1 to 20");
    a.zoom = *zoom;
    return true;
  }
  if (name == "--size") {
    const auto parts = Split(value, 'x');
    const auto w = parts.size() == 2 ? Parse_Number<int32_t>(parts[0]) : std::nullopt;
    const auto h = parts.size() == 2 ? Parse_Number<int32_t>(parts[1]) : std::nullopt;
    if (!w || !h || *w < 1 || *h < 1 || *w > MAX_SIDE_PX || *h > MAX_SIDE_PX) {
      return Bad("--size takes WxH, each 1 to 65535 pixels");
    }
    a.width = *w;
    a.height = *h;
    return true;
  }
  if (name == "--center") {
    const auto parts = Split(value, ',');
    const auto lon = parts.size() == 2 ? Parse_Number<double>(parts[0]) : std::nullopt;
    const auto lat = parts.size() == 2 ? Parse_Number<double>(parts[1]) : std::nullopt;
    if (!lon || !lat) return Bad("--center takes LON,LAT in degrees");
    a.center = Geo_Pos{*lon, *lat};
    return true;
  }
  if (name == "--aircraft") {
    const auto parts = Split(value, ',');
    const auto lat = parts.size() == 3 ? Parse_Number<double>(parts[0]) : std::nullopt;
    const auto lon = parts.size() == 3 ? Parse_Number<double>(parts[1]) : std::nullopt;
    const auto hdg = parts.size() == 3 ? Parse_Number<int16_t>(parts[2]) : std::nullopt;
    if (!lat || !lon || !hdg) return Bad("--aircraft takes LAT,LON,HDG (HDG whole degrees)");
    a.aircraft = true;
    a.acft_lat = *lat;
    a.acft_lon = *lon;
    a.acft_hdg = *hdg;
    return true;
  }
  return Bad("unknown option");
}

bool Parse_Args(Args args, Chart_Args& a) {
  bool have_item = false;
  bool have_out = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg.starts_with("--")) {
      if (i + 1 >= args.size()) return Bad("an option lacks its value");
      if (!Parse_Option(arg, args[++i], a)) return false;
      have_out = have_out || arg == "--out";
    } else if (!have_item) {
      a.item = std::string(arg);
      have_item = true;
    } else {
      return Bad("only one ITEM is taken");
    }
  }
  if (!have_item) return Bad("ITEM is missing");
  if (!have_out) return Bad("--out FILE is missing");
  return true;
}

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

int Tool_Chart(Args args) {
  Chart_Args a;
  if (!Parse_Args(args, a)) return EXIT_USAGE;
  if (a.kind == Out_Kind::png && static_cast<int64_t>(a.width) * a.height > MAX_PNG_PIXELS) {
    Bad("a PNG picture takes at most 67108864 pixels (8192x8192)");
    return EXIT_USAGE;
  }

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
