#include "app/json_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "core/text_1252.h"

namespace orv {
namespace {

// Every byte a scenery file may hold in a name comes out as valid JSON that reads back to the
// name's UTF-8 text; control characters (DEL too) are escaped, nothing else is.
TEST(Json_Text, Writes_Every_Windows_1252_Byte_As_Valid_Json) {
  std::string name;
  for (int b = 1; b < 256; ++b) name += static_cast<char>(b);
  const std::string text = Json_Text(Json{{"name", Json_1252(name)}});
  const Json back = Json::parse(text);
  EXPECT_EQ(back["name"].get<std::string>(), Utf8_From_1252(name));
  EXPECT_NE(text.find(R"(\u0001)"), std::string::npos);
  EXPECT_NE(text.find(R"(\u007f)"), std::string::npos);
  EXPECT_NE(text.find(R"(\n)"), std::string::npos);
  EXPECT_NE(text.find("\xE2\x82\xAC"), std::string::npos);  // 0x80, the euro sign
  for (const char c : text) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
}

// Numbers with a fraction carry 17 significant digits and read back to the same bits; whole
// numbers stay whole, a whole double keeps ".0", and what is not finite is null.
TEST(Json_Text, Keeps_Every_Bit_Of_A_Double_In_Order) {
  const double lat = 47.542372193128458;
  const Json doc = {{"z", lat},
                    {"a", -122.0},
                    {"n", 150},
                    {"inf", std::numeric_limits<double>::infinity()},
                    {"list", {0.1, 1e-300}}};
  const std::string text = Json_Text(doc);
  EXPECT_EQ(text, R"({"z":47.542372193128458,"a":-122.0,"n":150,"inf":null,)"
                  R"("list":[0.10000000000000001,1e-300]})");
  EXPECT_EQ(std::bit_cast<uint64_t>(Json::parse(text)["z"].get<double>()),
            std::bit_cast<uint64_t>(lat));
  EXPECT_EQ(Json_Text(Json{{"a", 29.92}, {"b", 1}}, {.spaced = true}),
            R"({"a": 29.920000000000002, "b": 1})");
}

}  // namespace
}  // namespace orv
