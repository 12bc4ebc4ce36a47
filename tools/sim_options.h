// Option parsing shared by the stand-in simulators.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace orv::sim_options
