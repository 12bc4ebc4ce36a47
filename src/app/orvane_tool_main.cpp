// orvane-tool: the engine without windows, for batch use, scripting and tests. Every
// subcommand works in the current folder and uses the same data files as the program. This
// file reads the command line (CLI11) and hands the checked values to the subcommand.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "app/tool_arguments.h"
#include "app/tool_commands.h"
#include "orvane_version.h"
#include "core/file_system.h"
#include "core/text_1252.h"
#include "simlink/relay_wire.h"
#include "simlink/sim_choice.h"

namespace orv::tool {
namespace {


// The whole text as one decimal number of type T, or nothing. Stricter than CLI11's own
// reading, which takes "010" as octal and "0x10" as hexadecimal.
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

// Adds an option whose text `take` checks and stores; `take` throws CLI::ValidationError with
// what the option takes when the text is wrong.
template <typename Take>
CLI::Option* Value_Option(CLI::App& app, const std::string& name, Take take,
                          const std::string& help, const std::string& type_name) {
  return app
      .add_option_function<std::string>(
          name, [name, take](const std::string& text) { take(name, text); }, help)
      ->type_name(type_name);
}

[[noreturn]] void Refuse(const std::string& name, const std::string& why) {
  throw CLI::ValidationError(name, why);
}

void Take_Out(const std::string& name, const std::string& text, Chart_Args& a) {
  if (Ends_With_Ignoring_Case(text, ".svg")) {
    a.kind = Out_Kind::svg;
  } else if (Ends_With_Ignoring_Case(text, ".json")) {
    a.kind = Out_Kind::json;
  } else if (Ends_With_Ignoring_Case(text, ".png")) {
#ifdef ORVANE_HAS_PNG
    a.kind = Out_Kind::png;
#else
    Refuse(name, "this orvane-tool was built without Qt and cannot draw PNG; use .svg or .json");
#endif
  } else if (Ends_With_Ignoring_Case(text, ".pdf")) {
#ifdef ORVANE_HAS_PNG
    a.kind = Out_Kind::pdf;
#else
    Refuse(name, "this orvane-tool has no PDF writer; print the diagram from the chart window "
                 "or use .svg, .png or .json");
#endif
  } else {
    Refuse(name, "the output file must end in .svg, .png or .json");
  }
  a.out = Fs_Path_From_Utf8(text);
  if (a.out.empty()) Refuse(name, "takes a file name in UTF-8");
}

void Take_Size(const std::string& name, const std::string& text, Chart_Args& a) {
  const auto parts = Split(text, 'x');
  const auto w = parts.size() == 2 ? Parse_Number<int32_t>(parts[0]) : std::nullopt;
  const auto h = parts.size() == 2 ? Parse_Number<int32_t>(parts[1]) : std::nullopt;
  if (!w || !h || *w < 1 || *h < 1 || *w > MAX_SIDE_PX || *h > MAX_SIDE_PX) {
    Refuse(name, "takes WxH, each 1 to 65535 pixels");
  }
  a.width = *w;
  a.height = *h;
}

void Take_Center(const std::string& name, const std::string& text, Chart_Args& a) {
  const auto parts = Split(text, ',');
  const auto lon = parts.size() == 2 ? Parse_Number<double>(parts[0]) : std::nullopt;
  const auto lat = parts.size() == 2 ? Parse_Number<double>(parts[1]) : std::nullopt;
  if (!lon || !lat) Refuse(name, "takes LON,LAT in degrees");
  a.center = Geo_Pos{*lon, *lat};
}

void Take_Aircraft(const std::string& name, const std::string& text, Chart_Args& a) {
  const auto parts = Split(text, ',');
  const auto lat = parts.size() == 3 ? Parse_Number<double>(parts[0]) : std::nullopt;
  const auto lon = parts.size() == 3 ? Parse_Number<double>(parts[1]) : std::nullopt;
  const auto hdg = parts.size() == 3 ? Parse_Number<int16_t>(parts[2]) : std::nullopt;
  if (!lat || !lon || !hdg) Refuse(name, "takes LAT,LON,HDG (HDG whole degrees)");
  a.aircraft = true;
  a.acft_lat = *lat;
  a.acft_lon = *lon;
  a.acft_hdg = *hdg;
}

constexpr int32_t MAX_NEAREST_COUNT = 100000;

void Take_Position(const std::string& text, Nearest_Args& a) {
  const auto parts = Split(text, ',');
  const auto lat = parts.size() == 2 ? Parse_Number<double>(parts[0]) : std::nullopt;
  const auto lon = parts.size() == 2 ? Parse_Number<double>(parts[1]) : std::nullopt;
  if (!lat || !lon || *lat < -90.0 || *lat > 90.0 || *lon < -180.0 || *lon > 180.0) {
    Refuse("POSITION", "takes LAT,LON in degrees, latitude -90 to 90, longitude -180 to 180");
  }
  a.lat = *lat;
  a.lon = *lon;
}

void Add_Chart_Options(CLI::App& chart, Chart_Args& a) {
  chart.add_option("ITEM", a.item, "the airport as the list shows it")->required();
  Value_Option(
      chart, "--out", [&a](const std::string& n, const std::string& t) { Take_Out(n, t, a); },
      "the file to write: .svg or .png (a picture), .json (the drawing commands) or .pdf (a "
      "page of the diagram)",
      "FILE")
      ->required();
  Value_Option(
      chart, "--zoom",
      [&a](const std::string& n, const std::string& t) {
        const auto zoom = Parse_Number<int32_t>(t);
        if (!zoom || *zoom < ZOOM_MIN || *zoom > ZOOM_MAX) Refuse(n, "takes 1 to 20");
        a.zoom = *zoom;
      },
      "the zoom level, 1 to 20 (9)", "N");
  Value_Option(
      chart, "--size", [&a](const std::string& n, const std::string& t) { Take_Size(n, t, a); },
      "the window size in pixels (271x228)", "WxH");
  Value_Option(
      chart, "--center", [&a](const std::string& n, const std::string& t) { Take_Center(n, t, a); },
      "centre the view here after zooming", "LON,LAT");
  Value_Option(
      chart, "--aircraft",
      [&a](const std::string& n, const std::string& t) { Take_Aircraft(n, t, a); },
      "draw the aircraft here, heading in whole degrees", "LAT,LON,HDG");
  Value_Option(
      chart, "--style",
      [&a](const std::string& n, const std::string& t) {
        if (t != "classic" && t != "diagram") Refuse(n, "takes classic or diagram");
        a.diagram = t == "diagram";
      },
      "classic (the chart window's) or diagram (to scale)", "STYLE");
  Value_Option(
      chart, "--paper",
      [&a](const std::string& n, const std::string& t) {
        if (!Paper_From_Name(t, a.paper)) Refuse(n, "takes a4, letter or a5");
      },
      "the PDF page's paper: a4, letter or a5 (a4)", "PAPER");
  chart.add_flag("--night", a.night, "the diagram in its night colours");
}

// The error on one line, then how the (sub)command is used, all on stderr.
int Usage_Error(const CLI::App& app, const std::string& why) {
  std::fprintf(stderr, "orvane-tool: %s\n%s", why.c_str(), app.help().c_str());
  return EXIT_USAGE;
}

}  // namespace

int Run_Tool(std::vector<std::string> args) {
  CLI::App app(
      "Airport charts from the simulator's scenery, without windows. Works in the "
      "current folder, on the program's data files.",
      "orvane-tool");
  app.set_version_flag("--version", std::string("orvane-tool ") + ORVANE_VERSION,
                       "print the version and exit");
  // At most one subcommand; "none" is refused after parsing, so that an unknown word is named
  // as unexpected rather than reported as a missing subcommand.
  app.require_subcommand(0, 1);
  app.footer(
      "Exit codes: 0 success, 1 a file could not be read or written, 2 bad arguments or folder, "
      "3 no such airport, 4 the simulator link failed.");

  std::string fs_path;
  CLI::App* build =
      app.add_subcommand("build", "build the airport database from a simulator folder");
  build->add_option("FS_PATH", fs_path, "the simulator's folder (holding fs2002.exe)")->required();

  CLI::App* list = app.add_subcommand("list", "print the airport list, one item a line");

  std::string item;
  CLI::App* fetch = app.add_subcommand("fetch", "print an airport and its airspaces as JSON");
  fetch->add_option("ITEM", item, "the airport as the list shows it")->required();

  Chart_Args chart_args;
  CLI::App* chart = app.add_subcommand("chart", "draw an airport's chart");
  Add_Chart_Options(*chart, chart_args);

  int32_t sim_code = CHART_SIM_CODE;
  CLI::App* aircraft =
      app.add_subcommand("aircraft", "read the aircraft once through the simulator link");
  Value_Option(
      *aircraft, "--sim-code",
      [&sim_code](const std::string& n, const std::string& t) {
        const auto code = Parse_Number<int32_t>(t);
        if (!code) Refuse(n, "takes a whole number");
        sim_code = *code;
      },
      "the simulator code to ask for (6, FS2002)", "N");
  Sim_Args sim_args;
  Value_Option(
      *aircraft, "--sim",
      [&sim_args](const std::string& n, const std::string& t) {
        if (!Parse_Net_Address(t, sim_args.address)) Refuse(n, "takes HOST:PORT");
        sim_args.given = true;
      },
      "follow the simulator behind orvane-relay at this address (default: the address stored "
      "in orv_simulator.cfg, else this computer)",
      "HOST:PORT");
  Value_Option(
      *aircraft, "--key",
      [&sim_args](const std::string& n, const std::string& t) {
        if (t.size() > RELAY_MAX_KEY) Refuse(n, "takes at most 64 characters");
        sim_args.key = t;
        sim_args.key_given = true;
      },
      "the relay's shared key (default: the key stored in orv_simulator.cfg)", "KEY");

  Nearest_Args nearest_args;
  CLI::App* nearest =
      app.add_subcommand("nearest", "print the airports nearest to a position, nearest first");
  nearest
      ->add_option_function<std::string>(
          "POSITION", [&nearest_args](const std::string& t) { Take_Position(t, nearest_args); },
          "the position in degrees, north and east positive")
      ->type_name("LAT,LON")
      ->required();
  Value_Option(
      *nearest, "--count",
      [&nearest_args](const std::string& n, const std::string& t) {
        const auto count = Parse_Number<int32_t>(t);
        if (!count || *count < 1 || *count > MAX_NEAREST_COUNT) Refuse(n, "takes 1 to 100000");
        nearest_args.count = *count;
      },
      "how many airports (20)", "N");
  nearest->add_flag("--json", nearest_args.json, "print a JSON array");

  // CLI11 takes the arguments last first.
  std::reverse(args.begin(), args.end());
  try {
    app.parse(args);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help, --version
    return Usage_Error(app, e.what());
  }

  if (build->parsed()) return Tool_Build(fs_path);
  if (list->parsed()) return Tool_List();
  if (fetch->parsed()) return Tool_Fetch(item);
  if (chart->parsed()) {
    if (chart_args.kind == Out_Kind::png &&
        static_cast<int64_t>(chart_args.width) * chart_args.height > MAX_PNG_PIXELS) {
      return Usage_Error(app, "a PNG picture takes at most 67108864 pixels (8192x8192)");
    }
    if (chart_args.kind == Out_Kind::pdf && !chart_args.diagram) {
      return Usage_Error(app, "a PDF page is drawn in the diagram style: add --style diagram");
    }
    return Tool_Chart(chart_args);
  }
  if (aircraft->parsed()) return Tool_Aircraft(sim_code, sim_args);
  if (nearest->parsed()) return Tool_Nearest(nearest_args);
  return Usage_Error(app, "a subcommand is required");
}

}  // namespace orv::tool

int main(int argc, char** argv) {
  orv::tool::Use_Utf8_Console();
  return orv::tool::Run_Tool(orv::tool::Tool_Arguments(argc, argv));
}
