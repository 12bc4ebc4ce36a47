#include "core/text_1252.h"

#include <array>
#include <cstdint>

namespace orv {
namespace {

// Code points of the bytes 0x80..0x9F; zero marks the five bytes that have none.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

uint8_t Upper_Byte(uint8_t b) {
  if (b >= 'a' && b <= 'z') return static_cast<uint8_t>(b - 0x20);
  if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<uint8_t>(b - 0x20);
  switch (b) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return b;
  }
}

uint8_t Lower_Byte(uint8_t b) {
  if (b >= 'A' && b <= 'Z') return static_cast<uint8_t>(b + 0x20);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<uint8_t>(b + 0x20);
  switch (b) {
    case 0x8A:
      return 0x9A;
    case 0x8C:
      return 0x9C;
    case 0x8E:
      return 0x9E;
    case 0x9F:
      return 0xFF;
    default:
      return b;
  }
}

template <typename Map>
std::string Map_Bytes(std::string_view text, Map map) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(map(static_cast<uint8_t>(c)));
  return out;
}

void Append_Utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The next code point of well-formed UTF-8 at `at`, advancing `at`; nothing at a malformed,
// overlong or surrogate sequence.
std::optional<char32_t> Next_Code_Point(std::string_view text, size_t& at) {
  const auto lead = static_cast<uint8_t>(text[at++]);
  if (lead < 0x80) return lead;
  size_t extra = 0;
  char32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07u;
  } else {
    return std::nullopt;
  }
  if (extra > text.size() - at) return std::nullopt;
  for (size_t k = 0; k < extra; ++k) {
    const auto b = static_cast<uint8_t>(text[at++]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (b & 0x3Fu);
  }
  constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kShortest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return std::nullopt;
  }
  return cp;
}

// The Windows-1252 byte that Utf8_From_1252 decodes to `cp`, or nothing.
std::optional<uint8_t> Byte_1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<uint8_t>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    const char32_t decoded =
        kHighControls[i] != 0 ? kHighControls[i] : static_cast<char32_t>(0x80 + i);
    if (cp == decoded) return static_cast<uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

std::string Upper_1252(std::string_view text) {
  return Map_Bytes(text, Upper_Byte);
}

std::string Lower_1252(std::string_view text) {
  return Map_Bytes(text, Lower_Byte);
}

std::string Lower_Ascii(std::string_view text) {
  return Map_Bytes(
      text, [](uint8_t b) { return (b >= 'A' && b <= 'Z') ? static_cast<uint8_t>(b + 0x20) : b; });
}

std::string Utf8_From_1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto b = static_cast<uint8_t>(c);
    char32_t cp = b;
    if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0) cp = kHighControls[b - 0x80];
    Append_Utf8(out, cp);
  }
  return out;
}

std::optional<std::string> Text_1252_From_Utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const std::optional<char32_t> cp = Next_Code_Point(text, at);
    if (!cp) return std::nullopt;
    const std::optional<uint8_t> b = Byte_1252(*cp);
    if (!b) return std::nullopt;
    out.push_back(static_cast<char>(*b));
  }
  return out;
}

}  // namespace orv
