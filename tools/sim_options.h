// The command line of the stand-in simulators, read with CLI11: --help and --version, and a
// wrong option or value gives one line, the usage and exit code 2. Numbers keep the forms the
// tests use: whole numbers decimal or with a 0x prefix, positions as "LAT,LON[,HDG]".
#pragma once

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane_version.h"
#include "simlink/link_client.h"

namespace orv::sim_options {

// A whole number, decimal or with a 0x prefix hexadecimal.
inline bool Parse_Unsigned(std::string_view text, uint64_t& value) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return r.ec == std::errc{} && r.ptr == text.data() + text.size();
}

// Exactly `count` finite numbers separated by commas, such as "47.449,-122.309,90".
inline bool Parse_Doubles(std::string_view text, std::vector<double>& values, size_t count) {
  values.clear();
  while (values.size() < count) {
    const size_t comma = text.find(',');
    const std::string part(text.substr(0, comma));
    char* end = nullptr;
    const double v = std::strtod(part.c_str(), &end);
    if (part.empty() || end != part.c_str() + part.size() || !std::isfinite(v)) return false;
    values.push_back(v);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return values.size() == count && text.find(',') == std::string_view::npos;
}

// --version, printing the program's name and the project's version.
inline void Add_Version(CLI::App& app) {
  app.set_version_flag("--version", app.get_name() + " " + ORVANE_VERSION,
                       "print the version and exit");
}

// An option taking a whole number 0 .. `max`, decimal or 0x-prefixed.
inline CLI::Option* Add_Unsigned(CLI::App& app, const std::string& name, uint64_t max,
                                 std::function<void(uint64_t)> set, const std::string& help) {
  auto take = [name, max, set](const std::string& text) {
    uint64_t n = 0;
    if (!Parse_Unsigned(text, n) || n > max) {
      throw CLI::ValidationError(name, "takes a whole number up to " + std::to_string(max));
    }
    set(n);
  };
  return app.add_option_function<std::string>(name, take, help)->type_name("N");
}

// An option taking `count` finite numbers separated by commas.
inline CLI::Option* Add_Doubles(CLI::App& app, const std::string& name, size_t count,
                                std::function<void(const std::vector<double>&)> set,
                                const std::string& help, const std::string& type_name) {
  auto take = [name, count, set, type_name](const std::string& text) {
    std::vector<double> values;
    if (!Parse_Doubles(text, values, count)) throw CLI::ValidationError(name, "takes " + type_name);
    set(values);
  };
  return app.add_option_function<std::string>(name, take, help)->type_name(type_name);
}

// Reads the command line: nothing to go on, else the exit code (0 after --help or --version,
// 2 after a wrong option or value, with the reason and the usage on stderr).
inline std::optional<int> Parse_Command_Line(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);
    std::fprintf(stderr, "%s: %s\n%s", app.get_name().c_str(), e.what(), app.help().c_str());
    return 2;
  }
  return std::nullopt;
}

// The values both stand-ins answer the link with: the pressure setting at 0x0EC6, and the
// interface version and simulator word the link checks when it opens.
inline void Add_Interface_Options(CLI::App& app, uint32_t& pressure, uint32_t& iface_version,
                                  uint32_t& sim_word) {
  Add_Unsigned(
      app, "--pressure", 0xFFFF, [&pressure](uint64_t n) { pressure = static_cast<uint32_t>(n); },
      "pressure setting in millibars x 16 (16208)");
  Add_Unsigned(
      app, "--iface-version", 0xFFFFFFFF,
      [&iface_version](uint64_t n) { iface_version = static_cast<uint32_t>(n); },
      "interface version at 0x3304 (0x19980005)");
  Add_Unsigned(
      app, "--sim-code", 0xFFFF,
      [&sim_word](uint64_t n) { sim_word = orv::LINK_SIM_MAGIC | static_cast<uint32_t>(n); },
      "simulator code in the low half of 0x3308 (6, FS2002)");
}

}  // namespace orv::sim_options
