#include "app/json_out.h"

#include <charconv>
#include <cmath>

#include "core/text_1252.h"

namespace orv {

std::string Json_Quote(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(utf8.size() + 2);
  out += '"';
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
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

void Json_Out::Separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!has_items_.empty()) {
    if (has_items_.back()) text_ += ',';
    has_items_.back() = true;
  }
}

Json_Out& Json_Out::Begin_Object() {
  Separate();
  text_ += '{';
  has_items_.push_back(false);
  return *this;
}

Json_Out& Json_Out::End_Object() {
  text_ += '}';
  if (!has_items_.empty()) has_items_.pop_back();
  return *this;
}

Json_Out& Json_Out::Begin_Array() {
  Separate();
  text_ += '[';
  has_items_.push_back(false);
  return *this;
}

Json_Out& Json_Out::End_Array() {
  text_ += ']';
  if (!has_items_.empty()) has_items_.pop_back();
  return *this;
}

Json_Out& Json_Out::Key(std::string_view name) {
  Separate();
  text_ += Json_Quote(name);
  text_ += ':';
  after_key_ = true;
  return *this;
}

Json_Out& Json_Out::String(std::string_view utf8) {
  Separate();
  text_ += Json_Quote(utf8);
  return *this;
}

Json_Out& Json_Out::Text_1252(std::string_view text) {
  return String(Utf8_From_1252(text));
}

Json_Out& Json_Out::Number(int64_t value) {
  Separate();
  text_ += std::to_string(value);
  return *this;
}

Json_Out& Json_Out::Number(double value) {
  Separate();
  text_ += Json_Double(value);
  return *this;
}

Json_Out& Json_Out::Bool(bool value) {
  Separate();
  text_ += value ? "true" : "false";
  return *this;
}

Json_Out& Json_Out::Null() {
  Separate();
  text_ += "null";
  return *this;
}

}  // namespace orv
