// A small JSON writer for the tool's output: objects, arrays, keys and values appended to one
// text, with the commas placed for the caller. Doubles carry 17 significant digits so that they
// read back to the same bits; texts are escaped as JSON requires.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class Json_Out {
 public:
  Json_Out& Begin_Object();
  Json_Out& End_Object();
  Json_Out& Begin_Array();
  Json_Out& End_Array();

  // The name of the next member of the object being written.
  Json_Out& Key(std::string_view name);

  // A UTF-8 text.
  Json_Out& String(std::string_view utf8);
  // A single-byte Windows-1252 text, as the scenery files and the database hold it.
  Json_Out& Text_1252(std::string_view text);
  Json_Out& Number(int64_t value);
  // 17 significant digits; a whole number keeps a ".0"; a value that is not finite is null.
  Json_Out& Number(double value);
  Json_Out& Bool(bool value);
  Json_Out& Null();

  // Key and value in one call.
  template <typename T>
  Json_Out& Member(std::string_view name, T value) {
    Key(name);
    return Value(value);
  }
  Json_Out& Member_1252(std::string_view name, std::string_view text) {
    Key(name);
    return Text_1252(text);
  }

  const std::string& text() const { return text_; }

 private:
  Json_Out& Value(std::string_view v) { return String(v); }
  Json_Out& Value(const char* v) { return String(v); }
  Json_Out& Value(double v) { return Number(v); }
  Json_Out& Value(bool v) { return Bool(v); }
  Json_Out& Value(int64_t v) { return Number(v); }
  Json_Out& Value(int32_t v) { return Number(int64_t{v}); }
  Json_Out& Value(int16_t v) { return Number(int64_t{v}); }
  Json_Out& Value(uint8_t v) { return Number(int64_t{v}); }

  // Writes the comma before a value or member that is not the first of its container.
  void Separate();

  std::string text_;
  std::vector<bool> has_items_;  // one per open container
  bool after_key_ = false;
};

// The text as a JSON string literal, quotes included.
std::string Json_Quote(std::string_view utf8);

// The number as Json_Out writes it.
std::string Json_Double(double value);

}  // namespace orv
