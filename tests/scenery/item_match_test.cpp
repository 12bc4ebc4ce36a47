#include "scenery/item_match.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Found = std::vector<int>;

TEST(ItemMatch, FindsTheTypedTextAnywhereWithWindows1252LettersFolded) {
  // Œ and Ÿ: their small letters lie elsewhere in the code page.
  const std::vector<std::string> folded = Fold_Items(std::vector<std::string>{
      "KSEA (SEATTLE-TACOMA INTL)", "KBFI (BOEING FLD)", "LSZH (Z\xC3\x9CRICH)", "KPAE (PAINE)",
      "LFXX (\xC5\x92UVRE \xC5\xB8)"});
  EXPECT_EQ(Items_Containing(folded, "k"), Found({0, 1, 3}));
  EXPECT_EQ(Items_Containing(folded, "z\xC3\xBCr"), Found({2}));             // zür
  EXPECT_EQ(Items_Containing(folded, "\xC5\x93uvre \xC3\xBF"), Found({4}));  // œuvre ÿ
  EXPECT_EQ(Items_Containing(folded, ""), Found({0, 1, 2, 3, 4}));
  EXPECT_EQ(Items_Containing(folded, "\xCE\xA9"), Found({}));  // Ω: in no Windows-1252 text
}

}  // namespace
}  // namespace orv
