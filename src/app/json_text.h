// The tool's JSON: documents are built as nlohmann::ordered_json (members keep the order they
// are added in) and written by Json_Text, which writes every number with a fraction in the
// tool's own form, 17 significant digits, so that it reads back to the same bits.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace orv {

using Json = nlohmann::ordered_json;

// How Json_Text writes a document.
struct Json_Style {
  // A space after every ':' and ',' ({"lat": 1.5, "hdg": 90}).
  bool spaced = false;
  // The text of a number with a fraction.
  std::string (*float_text)(double) = nullptr;  // nullptr: Json_Double
};

// The document as compact JSON text in UTF-8. Texts in it must be UTF-8: a Windows-1252 text
// goes in through Json_1252.
std::string Json_Text(const Json& doc, const Json_Style& style = {});

// A single-byte Windows-1252 text, as the scenery files and the database hold it, as a JSON
// text (decoded to UTF-8).
Json Json_1252(std::string_view text);

// 17 significant digits; a whole number keeps a ".0"; a value that is not finite is null.
std::string Json_Double(double value);

}  // namespace orv
