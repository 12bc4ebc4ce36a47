// How the file layer's listings compare names, on every platform: a name ends in a suffix
// ignoring ASCII case, and listings are ordered by upper-cased name, ties by byte order.
#pragma once

#include <string>
#include <string_view>

#include "core/text_1252.h"

namespace orv::file_listing {

inline bool Ends_With_Ci(std::string_view name, std::string_view suffix) {
  if (suffix.size() > name.size()) return false;
  return Lower_Ascii(name.substr(name.size() - suffix.size())) == Lower_Ascii(suffix);
}

inline std::string Upper_Ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return out;
}

inline bool Listing_Less(const std::string& a, const std::string& b) {
  const std::string ua = Upper_Ascii(a);
  const std::string ub = Upper_Ascii(b);
  if (ua != ub) return ua < ub;
  return a < b;
}

}  // namespace orv::file_listing
