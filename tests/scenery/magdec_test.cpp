#include "scenery/magdec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "support/temp_dir.h"

namespace orv {
namespace {

namespace stdfs = std::filesystem;
using testing::Temp_Dir;
using testing::Write_Bytes;

constexpr int64_t kGridPointer = 128;       // where the test files put the grid's block
constexpr int64_t kGridValues = 360 * 181;  // values a complete grid holds
constexpr double kUnit = 360.0 / 65536.0;

// A magnetic variation file: the grid pointer at offset 110, and at the pointer an 8-byte
// block head followed by the grid's words, all zero until set.
struct Grid_File {
  std::vector<uint8_t> bytes;

  explicit Grid_File(int32_t pointer = static_cast<int32_t>(kGridPointer),
                     int64_t size = kGridPointer + 8 + 2 * kGridValues)
      : bytes(static_cast<size_t>(size), 0) {
    Put_Long(110, pointer);
  }
  void Put_Long(int64_t offset, int32_t v) {
    for (int k = 0; k < 4; ++k) {
      bytes.at(static_cast<size_t>(offset + k)) =
          static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k));
    }
  }
  void Put_Word(int64_t offset, uint16_t v) {
    bytes.at(static_cast<size_t>(offset)) = static_cast<uint8_t>(v & 0xFF);
    bytes.at(static_cast<size_t>(offset + 1)) = static_cast<uint8_t>(v >> 8);
  }
  // The grid is stored longitude-major: 360 columns of 181 values, south to north.
  static int64_t Cell(int lat, int lon) {
    return kGridPointer + 8 + 2 * ((lat + 90) + int64_t{lon} * 181);
  }
  void Put_Cell(int lat, int lon, int16_t v) { Put_Word(Cell(lat, lon), static_cast<uint16_t>(v)); }
};

std::unique_ptr<Mag_Var_Table> Table_Of(int16_t fill) {
  auto table = std::make_unique<Mag_Var_Table>();
  table->fill(fill);
  return table;
}

// The table filled from the file's grid, over what an earlier load left in it.
std::unique_ptr<Mag_Var_Table> Table_From(const Grid_File& file) {
  auto table = Table_Of(77);
  Fill_Magvar_Table(*table, Make_Bgl_Image(file.bytes), kGridPointer);
  return table;
}

TEST(FillMagvarTable, ReadsSignedLittleEndianWordsInTheGridLayout) {
  Grid_File file;
  file.Put_Word(136, 0xFFFF);  // lat -90, lon 0: the first value, 8 bytes after the pointer
  file.Put_Word(138, 0x8000);  // lat -89, lon 0
  file.Put_Word(140, 0x7FFF);  // lat -88, lon 0
  file.Put_Word(136 + 2 * 180, 0x0102);    // lat 90, lon 0: top of the first column
  file.Put_Word(136 + 2 * 181, 0xFF02);    // lat -90, lon 1: the next column
  file.Put_Word(86566, 2823);              // lat 47, lon 238 (122 W)
  file.Put_Word(136 + 2 * 65159, 0xFE97);  // lat 90, lon 359: the last value of the grid
  const auto table = Table_From(file);
  const Mag_Var_Table& t = *table;
  EXPECT_EQ(t[0], -1);
  EXPECT_EQ(t[1], -32768);
  EXPECT_EQ(t[2], 32767);
  EXPECT_EQ(t[180], 0x0102);
  EXPECT_EQ(t[181], -254);
  EXPECT_EQ(t[(47 + 90) + 238 * 181], 2823);
  EXPECT_EQ(t[65159], -361);
  EXPECT_EQ(t[65160], 0);  // no position of the grid uses the table's last entry

  // The same through the file loader.
  Temp_Dir dir;
  Write_Bytes(dir / "magdec.bgl", file.bytes);
  auto loaded = Table_Of(-5);
  EXPECT_EQ(Load_Magdec(*loaded, dir / "magdec.bgl"), File_Status::ok);
  EXPECT_EQ(*loaded, t);
}

TEST(FillMagvarTable, AShortFileLosesOnlyTheValuesItLacks) {
  // Cut in the middle of column 100, between the values of latitude 9 and 10.
  const int64_t cut = Grid_File::Cell(10, 100);
  Grid_File file(static_cast<int32_t>(kGridPointer), cut + 1);  // one byte of lat 10 is there
  for (int lat = 0; lat <= 9; ++lat) file.Put_Cell(lat, 100, static_cast<int16_t>(-100 - lat));
  file.Put_Cell(-90, 0, 5);
  file.bytes.back() = 0x7F;
  auto table = Table_Of(77);  // what an earlier load left behind
  Fill_Magvar_Table(*table, Make_Bgl_Image(file.bytes), kGridPointer);
  const Mag_Var_Table& t = *table;
  EXPECT_EQ(t[0], 5);
  EXPECT_EQ(t[(9 + 90) + 100 * 181], -109);
  EXPECT_EQ(t[(0 + 90) + 100 * 181], -100);
  // A value with only one of its bytes in the file is not in the file.
  EXPECT_EQ(t[(10 + 90) + 100 * 181], 0);
  for (size_t i = (11 + 90) + 100 * 181; i < t.size(); ++i) ASSERT_EQ(t[i], 0) << "index " << i;

  // A grid pointer past the end of the file, or so large that the offsets leave 32 bits.
  for (int64_t p : {int64_t{1} << 20, int64_t{INT32_MAX} - 4, int64_t{1} << 40}) {
    auto far = Table_Of(77);
    Fill_Magvar_Table(*far, Make_Bgl_Image(file.bytes), p);
    EXPECT_EQ(*far, *Table_Of(0)) << "pointer " << p;
  }
}

TEST(LoadMagdec, LeavesTheTableAloneWithoutAUsableGridPointer) {
  Temp_Dir dir;
  const auto untouched = Table_Of(77);
  for (int32_t pointer : {0, -1, INT32_MIN}) {
    Grid_File file(pointer);
    file.Put_Cell(0, 0, 1000);
    Write_Bytes(dir / "magdec.bgl", file.bytes);
    auto table = Table_Of(77);
    EXPECT_EQ(Load_Magdec(*table, dir / "magdec.bgl"), File_Status::ok);
    EXPECT_EQ(*table, *untouched) << "pointer " << pointer;
  }

  // Too short to hold the pointer at all.
  Write_Bytes(dir / "short.bgl", std::vector<uint8_t>(112, 0x10));
  auto table = Table_Of(77);
  EXPECT_EQ(Load_Magdec(*table, dir / "short.bgl"), File_Status::unreadable);
  EXPECT_EQ(*table, *untouched);
}

TEST(LoadMagdec, ReportsAMissingOrUnreadableFileAndCreatesNothing) {
  Temp_Dir dir;
  const auto untouched = Table_Of(77);
  auto table = Table_Of(77);
  EXPECT_EQ(Load_Magdec(*table, dir / "scenery" / "magdec.bgl"), File_Status::missing);
  EXPECT_FALSE(stdfs::exists(dir / "scenery"));
  EXPECT_EQ(Load_Magdec(*table, dir / "magdec.bgl"), File_Status::missing);
  EXPECT_FALSE(stdfs::exists(dir / "magdec.bgl"));

  stdfs::create_directories(dir / "folder.bgl");
  EXPECT_EQ(Load_Magdec(*table, dir / "folder.bgl"), File_Status::unreadable);
  EXPECT_EQ(*table, *untouched);
}

class MagHeading : public ::testing::Test {
 protected:
  void Set(int lat, int lon, int16_t units) {
    (*table)[static_cast<size_t>((lat + 90) + lon * 181)] = units;
  }
  int16_t Hdg(double hdg, double lat, double lon) const {
    return Mag_Heading(*table, hdg, lat, lon);
  }
  int32_t Var(double lat, double lon) const { return Mag_Var_Degrees(*table, lat, lon); }

  std::unique_ptr<Mag_Var_Table> table = Table_Of(0);
};

TEST_F(MagHeading, RoundsThePositionHalfToEven) {
  Set(47, 238, 2823);   // 15.5 degrees east
  Set(48, 238, 1000);   // 5.49
  Set(46, 238, 2000);   // 10.99
  Set(47, 239, -1000);  // -5.49
  Set(47, 240, 364);    // 1.999
  EXPECT_EQ(Var(47.4, -122.3), 15);
  EXPECT_EQ(Hdg(90, 47.4, -122.3), 75);
  EXPECT_EQ(Var(47.5, -122.0), 5);   // 47.5 goes to 48
  EXPECT_EQ(Var(46.5, -122.0), 10);  // 46.5 goes to 46
  EXPECT_EQ(Var(47.0, -121.5), 15);  // -121.5 goes to -122
  EXPECT_EQ(Var(47.0, -122.5), 15);  // -122.5 goes to -122
  EXPECT_EQ(Var(47.0, -120.5), 1);   // -120.5 goes to -120
  EXPECT_EQ(Var(47.0, -120.6), -5);  // -121
  EXPECT_EQ(Var(47.0, 238.0), 15);   // east longitudes above 180 use the same column
}

TEST_F(MagHeading, TruncatesTheVariationTowardZeroAndFoldsTheHeading) {
  const std::pair<int16_t, int32_t> cases[] = {
      {182, 0},   {183, 1},     {-182, 0},    {-183, -1},     {273, 1},
      {-273, -1}, {-2731, -15}, {32767, 179}, {-32768, -180}, {0, 0}};
  for (const auto& [units, degrees] : cases) {
    Set(10, 20, units);
    EXPECT_EQ(Var(10, 20), degrees) << units << " units";
  }
  Set(10, 20, 2731);  // 15.0018 east
  EXPECT_EQ(Hdg(10, 10, 20), 355);
  EXPECT_EQ(Hdg(15, 10, 20), 0);
  EXPECT_EQ(Hdg(375, 10, 20), 360);  // one fold only
  Set(10, 20, -2731);
  EXPECT_EQ(Hdg(350, 10, 20), 5);
  EXPECT_EQ(Hdg(345, 10, 20), 360);  // 360 is a legal heading
}

TEST_F(MagHeading, RoundsTheHeadingHalfToEven) {
  EXPECT_EQ(Hdg(90.5, 0, 0), 90);
  EXPECT_EQ(Hdg(91.5, 0, 0), 92);
  EXPECT_EQ(Hdg(90.49, 0, 0), 90);
  EXPECT_EQ(Hdg(-0.5, 0, 0), 0);
  EXPECT_EQ(Hdg(-1.5, 0, 0), 358);
  EXPECT_EQ(Hdg(359.5, 0, 0), 360);
  EXPECT_EQ(Hdg(360.5, 0, 0), 360);
}

TEST_F(MagHeading, UsesTheGridEdgesAndNothingBeyondThem) {
  Set(90, 10, 1820);    // 9.997: north end of column 10
  Set(89, 10, 3640);    // 19.99
  Set(-90, 10, -1820);  // south end
  Set(0, 180, 910);     // 4.998
  Set(0, 359, -910);
  Set(0, 0, 546);  // 2.999
  EXPECT_EQ(Var(89.6, 10), 9);
  EXPECT_EQ(Var(90.5, 10), 9);  // 90.5 goes to 90
  EXPECT_EQ(Var(89.5, 10), 9);  // 89.5 goes to 90
  EXPECT_EQ(Var(-89.5, 10), -9);
  EXPECT_EQ(Var(0, -180), 4);  // -180 is column 180
  EXPECT_EQ(Var(0, 180), 4);
  EXPECT_EQ(Var(0, -180.5), 4);  // -180.5 goes to -180
  EXPECT_EQ(Var(0, -1), -4);
  EXPECT_EQ(Var(0, 359.4), -4);
  EXPECT_EQ(Var(0, -0.4), 2);

  // Rounded positions outside the grid use no variation, whatever the table holds.
  table->fill(3640);
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<double, double> outside[] = {
      {90.6, 10}, {-90.6, 10}, {91, 0},  {0, 359.5}, {0, 360}, {0, -360.6}, {0, 720},
      {1e300, 0}, {0, -1e300}, {nan, 0}, {0, nan},   {inf, 0}, {0, -inf}};
  for (const auto& [lat, lon] : outside) {
    EXPECT_EQ(Var(lat, lon), 0) << lat << ", " << lon;
    EXPECT_EQ(Hdg(123, lat, lon), 123) << lat << ", " << lon;
  }
  EXPECT_EQ(Var(-90.5, 10), 19);  // -90.5 goes to -90, inside
}

TEST_F(MagHeading, SurvivesHeadingsNoRecordShouldHold) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double hdg : {nan, std::numeric_limits<double>::infinity(), -1e300, 1e300}) {
    const int16_t h = Hdg(hdg, 0, 0);
    EXPECT_GE(h, 0) << hdg;
    EXPECT_LE(h, 360) << hdg;
  }
}

TEST(MagdecSample, MatchesTheKnownVariationsOfARealGrid) {
  const stdfs::path sample = stdfs::path(ORVANE_SHARED_DATA) / "magdec.bgl";
  if (!stdfs::exists(sample)) GTEST_SKIP() << "sample grid not found at " << sample;
  auto table = Table_Of(77);
  ASSERT_EQ(Load_Magdec(*table, sample), File_Status::ok);
  const Mag_Var_Table& t = *table;
  struct Known {
    int lat;
    int lon;
    double degrees;
    int whole;
  };
  const Known places[] = {
      {47, -122, 15.5, 15},   // Seattle
      {41, -74, -13.0, -12},  // New York: truncated toward zero
      {51, 0, -0.3, 0},       // London
      {-34, 151, 12.6, 12},   // Sydney
  };
  for (const Known& k : places) {
    const int lon = k.lon < 0 ? k.lon + 360 : k.lon;
    const double degrees = t[static_cast<size_t>((k.lat + 90) + lon * 181)] * kUnit;
    EXPECT_NEAR(degrees, k.degrees, 0.05) << k.lat << ", " << k.lon;
    EXPECT_EQ(Mag_Var_Degrees(t, k.lat, k.lon), k.whole) << k.lat << ", " << k.lon;
  }
  EXPECT_EQ(Mag_Heading(t, 90, 47.4, -122.3), 75);
  // The file holds exactly the 65160 values of the grid: the last one (latitude 90,
  // longitude 359) is in it, and the table's one extra entry is never filled.
  EXPECT_EQ(stdfs::file_size(sample), 128u + 8u + 2u * 65160u);
  EXPECT_EQ(t[65159], -361);
  EXPECT_EQ(t[65160], 0);
}

}  // namespace
}  // namespace orv
