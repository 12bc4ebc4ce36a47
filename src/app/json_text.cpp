#include "app/json_text.h"

#include <charconv>
#include <cmath>

#include "core/text_1252.h"

namespace orv {
namespace {

// A UTF-8 text as a JSON string literal. Bytes that are not UTF-8 (none reach here: every text
// is decoded first) would become U+FFFD rather than stop the output. DEL is a control
// character too and is escaped as the tool always has.
std::string Quote(const std::string& utf8) {
  const std::string quoted =
      Json(utf8).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::string out;
  out.reserve(quoted.size());
  for (const char c : quoted) {
    if (c == '\x7f') {
      out += "\\u007f";
    } else {
      out += c;
    }
  }
  return out;
}

void Write(const Json& j, const Json_Style& style, std::string& out) {
  const char* separator = style.spaced ? ", " : ",";
  switch (j.type()) {
    case Json::value_t::object: {
      out += '{';
      bool first = true;
      for (const auto& [key, value] : j.items()) {
        if (!first) out += separator;
        first = false;
        out += Quote(key);
        out += style.spaced ? ": " : ":";
        Write(value, style, out);
      }
      out += '}';
      break;
    }
    case Json::value_t::array: {
      out += '[';
      for (size_t i = 0; i < j.size(); ++i) {
        if (i > 0) out += separator;
        Write(j[i], style, out);
      }
      out += ']';
      break;
    }
    case Json::value_t::string:
      out += Quote(j.get_ref<const std::string&>());
      break;
    case Json::value_t::number_float: {
      const double v = j.get<double>();
      out += style.float_text != nullptr ? style.float_text(v) : Json_Double(v);
      break;
    }
    default:  // whole numbers, booleans and null as nlohmann writes them
      out += j.dump();
  }
}

}  // namespace

std::string Json_Text(const Json& doc, const Json_Style& style) {
  std::string out;
  Write(doc, style, out);
  return out;
}

Json Json_1252(std::string_view text) {
  return Utf8_From_1252(text);
}

std::string Json_Double(double value) {
  if (!std::isfinite(value)) return "null";
  char buf[40];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
  if (ec != std::errc()) return "null";
  std::string text(buf, end);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

}  // namespace orv
