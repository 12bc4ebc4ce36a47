#include "core/text_1252.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orv {
namespace {

std::string Byte(int b) {
  return std::string(1, static_cast<char>(b));
}

// Code points of a UTF-8 text; a malformed sequence gives 0xFFFFFFFF and ends the decoding.
std::vector<uint32_t> Code_Points(const std::string& utf8) {
  std::vector<uint32_t> points;
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= utf8.size()) {
      points.push_back(0xFFFFFFFF);
      return points;
    }
    uint32_t cp = extra == 0 ? lead : extra == 1 ? (lead & 0x1Fu) : (lead & 0x0Fu);
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<uint8_t>(utf8[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) {
        points.push_back(0xFFFFFFFF);
        return points;
      }
      cp = (cp << 6) | (next & 0x3Fu);
    }
    points.push_back(cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return points;
}

TEST(Upper1252, UpperCasesTheLettersOfTheCodePageOnly) {
  EXPECT_EQ(Upper_1252("Seattle-Tacoma Intl 16L/34R"), "SEATTLE-TACOMA INTL 16L/34R");
  EXPECT_EQ(Upper_1252("`az{"), "`AZ{");  // neighbours of a..z stay
  EXPECT_EQ(Upper_1252(std::string("a\0b", 3)), std::string("A\0B", 3));
  const std::pair<int, int> moved[] = {{0xE0, 0xC0}, {0xE9, 0xC9}, {0xFE, 0xDE}, {0x9A, 0x8A},
                                       {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
  for (const auto& [from, to] : moved) EXPECT_EQ(Upper_1252(Byte(from)), Byte(to)) << from;
  // Division sign, sharp s, micro sign, ordinal indicators, f with hook, upper-case letters.
  for (int kept : {0xF7, 0xDF, 0xB5, 0xAA, 0xBA, 0x83, 0xC0, 0xDE, 0x8A, 0x9F, 0xD7}) {
    EXPECT_EQ(Upper_1252(Byte(kept)), Byte(kept)) << kept;
  }
  int changed = 0;
  for (int b = 0; b < 256; ++b) changed += Upper_1252(Byte(b)) != Byte(b);
  EXPECT_EQ(changed, 26 + 30 + 4);
}

TEST(Lower1252, IsTheInverseOfUpperCasing) {
  EXPECT_EQ(Lower_1252("KSEA Seattle @[Z]"), "ksea seattle @[z]");
  EXPECT_EQ(Lower_1252(Byte(0xC0) + Byte(0xDE) + Byte(0x9F) + Byte(0x8A)),
            Byte(0xE0) + Byte(0xFE) + Byte(0xFF) + Byte(0x9A));
  for (int kept : {0xD7, 0xDF, 0xE0, 0xFF, 0x9A, 0xB5}) {
    EXPECT_EQ(Lower_1252(Byte(kept)), Byte(kept)) << kept;
  }
  int changed = 0;
  for (int b = 0; b < 256; ++b) {
    const std::string lower = Lower_1252(Byte(b));
    const std::string upper = Upper_1252(Byte(b));
    if (lower != Byte(b)) {
      ++changed;
      EXPECT_EQ(Upper_1252(lower), Byte(b)) << b;
    }
    if (upper != Byte(b)) {
      EXPECT_EQ(Lower_1252(upper), Byte(b)) << b;
    }
  }
  EXPECT_EQ(changed, 26 + 30 + 4);
}

TEST(LowerAscii, LeavesBytesAboveAsciiAlone) {
  EXPECT_EQ(Lower_Ascii("FS2002.EXE"), "fs2002.exe");
  EXPECT_EQ(Lower_Ascii("@[`{" + Byte(0xC9) + Byte(0x8A)), "@[`{" + Byte(0xC9) + Byte(0x8A));
}

TEST(Utf8From1252, DecodesEveryByteToOneCodePoint) {
  EXPECT_EQ(Utf8_From_1252("KSEA"), "KSEA");
  EXPECT_EQ(Utf8_From_1252(Byte(0xE9)), "\xC3\xA9");      // e acute
  EXPECT_EQ(Utf8_From_1252(Byte(0x80)), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Utf8_From_1252(Byte(0x99)), "\xE2\x84\xA2");  // trade mark
  EXPECT_EQ(Utf8_From_1252(Byte(0x9F)), "\xC5\xB8");      // Y diaeresis
  EXPECT_EQ(Utf8_From_1252(Byte(0x83)), "\xC6\x92");      // f with hook
  EXPECT_EQ(Utf8_From_1252(Byte(0xA0)), "\xC2\xA0");
  EXPECT_EQ(Utf8_From_1252(Byte(0xFF)), "\xC3\xBF");
  EXPECT_EQ(Utf8_From_1252(std::string("a\0b", 3)), std::string("a\0b", 3));
  // The five bytes the code page leaves undefined keep their own value as code point.
  for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(Code_Points(Utf8_From_1252(Byte(b))), std::vector<uint32_t>{uint32_t(b)}) << b;
  }

  std::string all;
  for (int b = 0; b < 256; ++b) all += Byte(b);
  const std::vector<uint32_t> points = Code_Points(Utf8_From_1252(all));
  ASSERT_EQ(points.size(), 256u);
  int remapped = 0;
  for (int b = 0; b < 256; ++b) {
    const uint32_t cp = points[static_cast<size_t>(b)];
    if (b < 0x80 || b > 0x9F) {
      EXPECT_EQ(cp, static_cast<uint32_t>(b)) << b;
    } else if (cp != static_cast<uint32_t>(b)) {
      ++remapped;
      EXPECT_GE(cp, 0x100u) << b;  // a defined byte of 0x80..0x9F leaves Latin-1
      EXPECT_LT(cp, 0x2200u) << b;
    }
  }
  EXPECT_EQ(remapped, 27);
}

TEST(Text1252FromUtf8, EncodesWhatTheDecoderGivesAndNothingElse) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += Byte(b);
  EXPECT_EQ(Text_1252_From_Utf8(Utf8_From_1252(all)), all);
  EXPECT_EQ(Text_1252_From_Utf8("SA\xC3\x91ND\xC3\x89"), "SA\xD1ND\xC9");
  // No byte decodes to U+0080 or U+009F (those bytes are the euro sign and Y diaeresis), nor
  // to a CJK letter or an emoji.
  for (const char* none : {"\xC2\x80", "\xC2\x9F", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80"}) {
    EXPECT_EQ(Text_1252_From_Utf8(none), std::nullopt) << none;
  }
  // Malformed: a cut sequence, a stray continuation, an overlong form, a surrogate.
  for (const char* bad : {"a\xC3", "\x80", "\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80", "\xFF"}) {
    EXPECT_EQ(Text_1252_From_Utf8(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace orv
