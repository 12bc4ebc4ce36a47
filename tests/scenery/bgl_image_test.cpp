#include "scenery/bgl_image.h"

#include <gtest/gtest.h>

#include <vector>

namespace orv {
namespace {

Bgl_Image Image_Of(std::vector<uint8_t> bytes) {
  return Make_Bgl_Image(bytes);
}

TEST(ReadLong, DecodesLittleEndianWithSignedTopByte) {
  const Bgl_Image img = Image_Of({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x21, 0x43, 0x65,
                                  0x87, 0x01, 0x00, 0x03, 0x00});
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Long(rd, 0), -1);
  EXPECT_EQ(Read_Long(rd, 4), INT32_MIN);
  EXPECT_EQ(Read_Long(rd, 8), BGL_SIGNATURE);
  EXPECT_EQ(Read_Long(rd, 12), 0x00030001);
  EXPECT_TRUE(rd.ok());
}

TEST(ReadLong, TheExtraZeroByteIsInsideButNothingBeyond) {
  const Bgl_Image img = Image_Of({1, 2, 3});
  ASSERT_EQ(img.bytes.size(), 4u);
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Long(rd, 0), 0x00030201);  // the fourth byte is the image's extra zero
  EXPECT_TRUE(rd.ok());
  EXPECT_EQ(Read_Long(rd, 1), 0);
  EXPECT_EQ(rd.failure, Walk_Stop::out_of_image);
}

TEST(ReadLong, FailureIsStickyAndLaterReadsGiveZero) {
  const Bgl_Image img = Image_Of({7, 0, 0, 0, 9, 0, 0, 0});
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Long(rd, -1), 0);
  EXPECT_EQ(rd.failure, Walk_Stop::out_of_image);
  EXPECT_EQ(Read_Long(rd, 0), 0);
  EXPECT_EQ(Read_Byte(rd, 4), 0);
  EXPECT_EQ(Read_Text(rd, 0, 4), "");
}

TEST(ReadLong, OffsetsBeyond32BitsFailWithoutWrapping) {
  const Bgl_Image img = Image_Of({1, 2, 3, 4});
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Long(rd, int64_t{1} << 32), 0);  // would wrap to offset 0 in 32 bits
  EXPECT_EQ(rd.failure, Walk_Stop::offset_overflow);
  Bgl_Reader rd2(img);
  EXPECT_EQ(Read_Long(rd2, INT64_MAX - 2), 0);
  EXPECT_FALSE(rd2.ok());
}

TEST(ReadText, SkipsZeroBytesAndHonoursItsLimits) {
  const Bgl_Image img = Image_Of({0x4B, 0x00, 0x53, 0x45, 0x41, 0, 0, 0});
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Text(rd, 0, 5), "KSEA");
  EXPECT_EQ(Read_Text(rd, 0, 8), "KSEA");  // trailing zeros add nothing
  EXPECT_EQ(Read_Text(rd, 0, 0), "");
  EXPECT_EQ(Read_Text(rd, 0, -3), "");
  EXPECT_TRUE(rd.ok());
  EXPECT_EQ(Read_Text(rd, 2, 8), "");  // runs one byte past the image
  EXPECT_EQ(rd.failure, Walk_Stop::out_of_image);

  Bgl_Reader rd2(img);
  EXPECT_EQ(Read_Text(rd2, 0, 32768), "");
  EXPECT_EQ(rd2.failure, Walk_Stop::text_too_long);
}

TEST(ReadText, KeepsHighBytesAsTheyAre) {
  const Bgl_Image img = Image_Of({'Z', 0xFC, 'R', 'I', 'C', 'H'});
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Text(rd, 0, 6), "Z\xFCRICH");
}

TEST(ReadWord, IsSignedSixteenBit) {
  const Bgl_Image img = Image_Of({0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F});
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Word(rd, 0), -1);
  EXPECT_EQ(Read_Word(rd, 2), -32768);
  EXPECT_EQ(Read_Word(rd, 4), 32767);
  EXPECT_EQ(Read_Word(rd, 6), 0);  // reads the extra zero byte and one past it
  EXPECT_FALSE(rd.ok());
}

TEST(NextRecord, EndsAWalkThatWouldNotAdvanceWithoutFailingLaterReads) {
  const Bgl_Image img = Image_Of({1, 0, 0, 0});
  Bgl_Reader rd(img);
  EXPECT_EQ(Next_Record(rd, 100, 0), std::optional<int64_t>(108));
  EXPECT_EQ(Next_Record(rd, 100, -7), std::optional<int64_t>(101));
  EXPECT_EQ(Next_Record(rd, 100, -8), std::nullopt);
  EXPECT_EQ(rd.cut_short, Walk_Stop::no_progress);
  EXPECT_TRUE(rd.ok());
  EXPECT_EQ(Read_Long(rd, 0), 1);
  EXPECT_EQ(Next_Record(rd, INT32_MAX - 10, 100), std::nullopt);
  EXPECT_EQ(rd.Stop_Reason(), Walk_Stop::no_progress);  // the first reason is kept
}

}  // namespace
}  // namespace orv
