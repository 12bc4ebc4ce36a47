#include "scenery/bcd_frequency.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(FrequencyText, ReadsHexDigitsAsDecimalHundredsOfHertz) {
  EXPECT_EQ(Frequency_Text(0x01183500), "118.35");
  EXPECT_EQ(Frequency_Text(0x01210000), "121");
  EXPECT_EQ(Frequency_Text(0x01183750), "118.375");
  EXPECT_EQ(Frequency_Text(0x01103000), "110.3");
  // Zeros inside the fraction stay; only trailing ones go.
  EXPECT_EQ(Frequency_Text(0x01180050), "118.005");
  EXPECT_EQ(Frequency_Text(0x01180001), "118.0001");
  // Below one megahertz and zero itself.
  EXPECT_EQ(Frequency_Text(0x00003500), "0.35");
  EXPECT_EQ(Frequency_Text(0), "0");
  // The largest positive pattern is still eight decimal digits.
  EXPECT_EQ(Frequency_Text(0x79999999), "7999.9999");
}

TEST(FrequencyText, NonDecimalDigitsAndNegativeValuesHaveNoText) {
  EXPECT_EQ(Frequency_Text(0x0118350A), std::nullopt);
  EXPECT_EQ(Frequency_Text(0x011F3500), std::nullopt);
  EXPECT_EQ(Frequency_Text(0x0A000000), std::nullopt);
  // The top nibble set makes the Long negative: 0x81183500 is not a frequency.
  EXPECT_EQ(Frequency_Text(static_cast<int32_t>(0x81183500u)), std::nullopt);
  EXPECT_EQ(Frequency_Text(-1), std::nullopt);
}

}  // namespace
}  // namespace orv
