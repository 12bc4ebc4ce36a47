#include "chart/aircraft_tracking.h"

#include <gtest/gtest.h>

#include <memory>

#include "simlink/fake_link_transport.h"

namespace orv {
namespace {

using testing::Fake_Link;

struct Tracking : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(f.Open());
    Image_Put(f.fake->image, 0x0560, 0xFFFFFFFF, 4);  // low halves must not be read
    Image_Put(f.fake->image, 0x0564, 5273033, 4);
    Image_Put(f.fake->image, 0x0568, 0xFFFFFFFF, 4);
    Image_Put(f.fake->image, 0x056C, static_cast<uint32_t>(-1459333000), 4);
    Image_Put(f.fake->image, 0x0580, 0xC0000000, 4);  // 270 degrees
    Image_Put(f.fake->image, 0x0EC6, 16208, 2);
    Image_Put(f.fake->image, 0x0EC8, 0xFFFF, 2);  // beyond the 2 bytes asked for
  }
  Fake_Link f;
  std::unique_ptr<Program_State> state = std::make_unique<Program_State>();
};

TEST_F(Tracking, ReadsFourValuesInFourExchangesInOrder) {
  state->altim_units = 1;
  int32_t result = -1;
  Aircraft_Raw raw;
  ASSERT_TRUE(Read_Aircraft(f.link, *state, result, &raw));
  EXPECT_EQ(result, LINK_OK);
  EXPECT_EQ(state->acft_lat, 5273033 * 90.0 / 10001750.0);
  EXPECT_NEAR(state->acft_lat, 47.449, 1e-5);
  EXPECT_EQ(state->acft_lon, -1459333000 * 360.0 / 4294967296.0);
  EXPECT_NEAR(state->acft_lon, -122.3, 0.1);
  EXPECT_EQ(state->acft_hdg, -90);
  EXPECT_EQ(state->altim_value, 29.92);
  EXPECT_EQ(raw.pressure, 16208u) << "a 2-byte value lands in the low half only";
  EXPECT_EQ(raw.hdg, static_cast<int32_t>(0xC0000000));

  // One read per exchange: offset and size of each, in order.
  ASSERT_EQ(f.fake->sent_blocks.size(), 4u);
  const uint32_t offsets[] = {0x0564, 0x056C, 0x0580, 0x0EC6};
  const uint32_t sizes[] = {4, 4, 4, 2};
  for (size_t i = 0; i < 4; ++i) {
    const auto& b = f.fake->sent_blocks[i];
    EXPECT_EQ(Block_Get32(b, 0), 1u);
    EXPECT_EQ(Block_Get32(b, 4), offsets[i]);
    EXPECT_EQ(Block_Get32(b, 8), sizes[i]);
    EXPECT_EQ(Block_Get32(b, 16 + sizes[i]), 0u) << "terminator right after the request";
  }

  state->altim_units = 0;
  ASSERT_TRUE(Read_Aircraft(f.link, *state, result));
  EXPECT_EQ(state->altim_value, 1013.0);
  EXPECT_EQ(Altimeter_Caption(state->altim_value), "Altimeter: 1013");
}

TEST_F(Tracking, StopsAtTheFirstFailureAndKeepsWhatItHad) {
  // The heading exchange is never answered.
  f.fake->module = [this](std::span<uint8_t> block, int attempt) {
    if (attempt >= 2) return Link_Send_Result{false, 0, 0};
    return f.fake->Answer_From_Image(block);
  };
  state->acft_hdg = 123;
  state->altim_value = 30.01;
  state->altim_units = 1;
  int32_t result = -1;
  EXPECT_FALSE(Read_Aircraft(f.link, *state, result));
  EXPECT_EQ(result, LINK_TIMEOUT);
  EXPECT_NEAR(state->acft_lat, 47.449, 1e-5);
  EXPECT_NE(state->acft_lon, 0.0);
  EXPECT_EQ(state->acft_hdg, 123);
  EXPECT_EQ(state->altim_value, 30.01);
  EXPECT_EQ(f.fake->sends, 2 + 11) << "no pressure exchange after the failed one";

  Link_Close(f.link);
  EXPECT_FALSE(Read_Aircraft(f.link, *state, result));
  EXPECT_EQ(result, LINK_NOT_OPEN);
}

TEST(AircraftConversions, HeadingRoundsHalvesToEven) {
  EXPECT_EQ(Hdg_From_Raw(0), 0);
  EXPECT_EQ(Hdg_From_Raw(1 << 28), 22);      // 22.5
  EXPECT_EQ(Hdg_From_Raw(3 << 28), 68);      // 67.5
  EXPECT_EQ(Hdg_From_Raw(-(1 << 28)), -22);  // -22.5
  EXPECT_EQ(Hdg_From_Raw(INT32_MIN), -180);  // due south
  EXPECT_EQ(Hdg_From_Raw(INT32_MAX), 180);   // just short of a full turn
  EXPECT_EQ(Hdg_From_Raw(0x40000000), 90);
  EXPECT_EQ(Lat_From_Raw(-10001750), -90.0);
  EXPECT_EQ(Lon_From_Raw(INT32_MIN), -180.0);
}

TEST(AircraftConversions, AltimeterIsUnsignedAndRoundedPerUnit) {
  EXPECT_EQ(Altimeter_From_Raw(16208, 0, 5.0), 1013.0);
  EXPECT_EQ(Altimeter_From_Raw(16208, 1, 5.0), 29.92);
  EXPECT_EQ(Altimeter_From_Raw(16208, 2, 5.0), 5.0);
  EXPECT_EQ(Altimeter_From_Raw(16208, 255, 5.0), 5.0);
  EXPECT_EQ(Altimeter_From_Raw(16200, 0, 0.0), 1012.0);  // 1012.5
  EXPECT_EQ(Altimeter_From_Raw(16216, 0, 0.0), 1014.0);  // 1013.5
  EXPECT_EQ(Altimeter_From_Raw(0xFFFF, 0, 0.0), 4096.0);
  EXPECT_EQ(Altimeter_From_Raw(0xFFFF, 1, 0.0), 120.97);
  EXPECT_EQ(Altimeter_From_Raw(0x8000, 0, 0.0), 2048.0);
}

TEST(AircraftConversions, CaptionUsesTheShortestDecimalForm) {
  EXPECT_EQ(Altimeter_Caption(29.92), "Altimeter: 29.92");
  EXPECT_EQ(Altimeter_Caption(1013.0), "Altimeter: 1013");
  EXPECT_EQ(Altimeter_Caption(0.0), "Altimeter: 0");
  EXPECT_EQ(Altimeter_Caption(30.1), "Altimeter: 30.1");
  EXPECT_EQ(Altimeter_Caption(Altimeter_From_Raw(16210, 1, 0.0)), "Altimeter: 29.92");
  EXPECT_EQ(Altimeter_Caption(4096.0), "Altimeter: 4096");
}

}  // namespace
}  // namespace orv
