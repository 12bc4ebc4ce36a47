#include "data/database_files.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>

#include "core/program_state.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

using testing::Read_Bytes;
using testing::Temp_Dir;
using testing::Write_Bytes;

int16_t Integer_At(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int16_t>(b.at(at) | (b.at(at + 1) << 8));
}

int32_t Long_At(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int32_t>(uint32_t{b.at(at)} | (uint32_t{b.at(at + 1)} << 8) |
                              (uint32_t{b.at(at + 2)} << 16) | (uint32_t{b.at(at + 3)} << 24));
}

double Double_At(const std::vector<uint8_t>& b, size_t at) {
  uint64_t v = 0;
  for (size_t i = 0; i < 8; ++i) v |= uint64_t{b.at(at + i)} << (8 * i);
  return std::bit_cast<double>(v);
}

std::string Text_At(const std::vector<uint8_t>& b, size_t at) {
  const auto n = static_cast<size_t>(Integer_At(b, at));
  return std::string(b.begin() + static_cast<std::ptrdiff_t>(at + 2),
                     b.begin() + static_cast<std::ptrdiff_t>(at + 2 + n));
}

void Put_Long_At(std::vector<uint8_t>& b, size_t at, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

void Put_Integer_At(std::vector<uint8_t>& b, size_t at, int16_t value) {
  const auto v = static_cast<uint16_t>(value);
  b.at(at) = static_cast<uint8_t>(v & 0xFF);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}

// An airport whose encoding is laid out by hand in ListBlocksAndCountsSitWhereTheyBelong.
Airport_Entry Small_Airport() {
  Airport_Entry a;
  a.ident = "KSEA";
  a.name = "SEA";
  a.lat = 47.5;
  a.lon = -122.25;
  a.freq7 = "118.3";
  Runway_Rec rwy;
  rwy.end1_name = "16L";
  rwy.end2_name = "34R";
  rwy.end1_lat = 47.46;
  rwy.end1_lon = -122.31;
  rwy.end2_lat = 47.43;
  rwy.end2_lon = -122.3;
  rwy.elev_ft = -12;
  rwy.end1_mag_hdg = 360;
  rwy.end2_mag_hdg = 180;
  rwy.length_ft = 11900;
  rwy.width_ft = 150;
  Append_With_Spare(a.runways, a.runway_count) = rwy;
  a.taxi_points = {{3, 47.1, -122.1}, {-1, 47.2, -122.2}};
  a.taxi_point_count = 2;
  a.taxi_paths = {{PATH_PARKING, 1, 0, "A"}};
  a.taxi_path_count = 1;
  return a;
}

// An airport with every list in use and texts holding Windows-1252 bytes.
Airport_Entry Full_Airport() {
  Airport_Entry a = Small_Airport();
  a.name = "M\xC9RIGNAC";
  a.freq5 = "121.9";
  a.freq6 = "124.35";
  a.freq9 = "119.2";
  a.freq8 = "120.4";
  a.freq10 = "128.0";
  a.freq1 = "135.625";
  Runway_Rec second;
  second.end1_name = "9";
  second.end2_name = "27";
  second.end1_mag_hdg = -1;
  second.length_ft = std::numeric_limits<int32_t>::min();
  Append_With_Spare(a.runways, a.runway_count) = second;
  Append_With_Spare(a.ils, a.ils_count) = {"ISEA", 47.4, -122.3, 161, "110.3"};
  Append_With_Spare(a.ils, a.ils_count) = {"", -0.0, 1e-300, 0, "111.7"};
  a.parkings = {{"GATE A 12", 47.44, -122.29, 66}, {"12", 0.0, 0.0, -5}};
  a.parking_count = 2;
  a.taxi_paths.push_back({PATH_RUNWAY, 0, 1, "Runway 16L"});
  a.taxi_paths.push_back({7, -3, 99999, ""});
  a.taxi_path_count = 3;
  return a;
}

std::vector<Airport_Entry> Database_Of(std::vector<Airport_Entry> used) {
  used.emplace_back();
  return used;
}

TEST(DatabaseFile, TheSpareRecordIsSixtyFourZeroBytes) {
  const std::vector<uint8_t> one_spare = Encode_Airports(Database_Of({}), 0);
  EXPECT_EQ(one_spare, std::vector<uint8_t>(64, 0));
  EXPECT_EQ(Encode_Airports({}, 0), one_spare);  // a missing spare is written empty

  std::vector<Airport_Entry> read(3);
  ASSERT_TRUE(Decode_Airports(one_spare, 0, read).ok);
  EXPECT_EQ(read, std::vector<Airport_Entry>(1));
}

TEST(DatabaseFile, ListBlocksAndCountsSitWhereTheyBelong) {
  const std::vector<uint8_t> b = Encode_Airports(Database_Of({Small_Airport()}), 1);
  ASSERT_EQ(b.size(), 265u + 64u);
  EXPECT_EQ(Text_At(b, 0), "KSEA");
  EXPECT_EQ(Text_At(b, 6), "SEA");
  EXPECT_EQ(Double_At(b, 11), 47.5);
  EXPECT_EQ(Double_At(b, 19), -122.25);
  EXPECT_EQ(Text_At(b, 27), "118.3");
  for (size_t at = 34; at < 46; at += 2) EXPECT_EQ(Integer_At(b, at), 0) << at;

  // Runways: dims 1, two elements (one used, one spare), lower bound 0.
  EXPECT_EQ(Integer_At(b, 46), 1);
  EXPECT_EQ(Long_At(b, 48), 2);
  EXPECT_EQ(Long_At(b, 52), 0);
  EXPECT_EQ(Text_At(b, 56), "16L");
  EXPECT_EQ(Text_At(b, 61), "34R");
  EXPECT_EQ(Double_At(b, 66), 47.46);
  EXPECT_EQ(Double_At(b, 90), -122.3);
  EXPECT_EQ(Long_At(b, 98), -12);
  EXPECT_EQ(Integer_At(b, 102), 360);
  EXPECT_EQ(Integer_At(b, 104), 180);
  EXPECT_EQ(Long_At(b, 106), 11900);
  EXPECT_EQ(Long_At(b, 110), 150);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 114, b.begin() + 166), std::vector<uint8_t>(52, 0));
  EXPECT_EQ(Long_At(b, 166), 1);  // runway_count

  // ILS never sized: dims 0 and nothing else, then ils_count.
  EXPECT_EQ(Integer_At(b, 170), 0);
  EXPECT_EQ(Long_At(b, 172), 0);

  // Taxiway points sized exactly: two elements of 20 bytes, no spare.
  EXPECT_EQ(Integer_At(b, 176), 1);
  EXPECT_EQ(Long_At(b, 178), 2);
  EXPECT_EQ(Long_At(b, 182), 0);
  EXPECT_EQ(Long_At(b, 186), 3);
  EXPECT_EQ(Double_At(b, 190), 47.1);
  EXPECT_EQ(Long_At(b, 206), -1);
  EXPECT_EQ(Double_At(b, 218), -122.2);
  EXPECT_EQ(Long_At(b, 226), 2);

  EXPECT_EQ(Integer_At(b, 230), 0);  // parkings never sized
  EXPECT_EQ(Long_At(b, 232), 0);

  EXPECT_EQ(Integer_At(b, 236), 1);  // one taxi path
  EXPECT_EQ(Long_At(b, 238), 1);
  EXPECT_EQ(Long_At(b, 246), PATH_PARKING);
  EXPECT_EQ(Long_At(b, 250), 1);
  EXPECT_EQ(Long_At(b, 254), 0);
  EXPECT_EQ(Text_At(b, 258), "A");
  EXPECT_EQ(Long_At(b, 261), 1);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 265, b.end()), std::vector<uint8_t>(64, 0));
}

TEST(DatabaseFile, ReadingBackGivesTheSameRecordsAndTheSameBytes) {
  // The spare airport is read as it stands, even when it is not empty.
  Airport_Entry odd_spare;
  odd_spare.ident = "ZZZZ";
  const std::vector<Airport_Entry> airports = {Full_Airport(), Small_Airport(), Airport_Entry{},
                                               Full_Airport(), odd_spare};
  const std::vector<uint8_t> bytes = Encode_Airports(airports, 4);

  std::vector<Airport_Entry> read;
  const Decode_Result result = Decode_Airports(bytes, 4, read);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(read, airports);
  EXPECT_EQ(Encode_Airports(read, 4), bytes);  // -0.0 and tiny doubles keep their bits
  EXPECT_TRUE(std::signbit(read[0].ils[1].lat));
  EXPECT_EQ(read[0].name, "M\xC9RIGNAC");
  EXPECT_EQ(read[0].runways[1].end1_mag_hdg, -1);
  EXPECT_EQ(read[0].runways[1].length_ft, std::numeric_limits<int32_t>::min());
}

TEST(AirspaceListFile, HoldsCountPlusOneTextsTheLastEmpty) {
  EXPECT_EQ(Encode_Airspace_List(std::vector<std::string>(1), 0), (std::vector<uint8_t>{0, 0}));

  const std::vector<std::string> files = {"/fs/Scenery/BNA.bgl", "x", ""};
  const std::vector<uint8_t> b = Encode_Airspace_List(files, 2);
  ASSERT_EQ(b.size(), 2u + 19u + 2u + 1u + 2u);
  EXPECT_EQ(Text_At(b, 0), "/fs/Scenery/BNA.bgl");
  EXPECT_EQ(Text_At(b, 21), "x");
  EXPECT_EQ(Integer_At(b, 24), 0);

  std::vector<std::string> read;
  ASSERT_TRUE(Decode_Airspace_List(b, 2, read).ok);
  EXPECT_EQ(read, files);
}

TEST(DatabaseFile, EveryTruncationIsRefusedAndLeavesTheListAlone) {
  const std::vector<uint8_t> bytes = Encode_Airports(Database_Of({Full_Airport()}), 1);
  const std::vector<Airport_Entry> before = {Small_Airport()};
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<Airport_Entry> read = before;
    const Decode_Result result = Decode_Airports(std::span(bytes).first(n), 1, read);
    EXPECT_FALSE(result.ok) << n;
    EXPECT_FALSE(result.error.empty()) << n;
    EXPECT_EQ(read, before) << n;
  }

  const std::vector<uint8_t> list =
      Encode_Airspace_List(std::vector<std::string>{"ab", "c", ""}, 2);
  for (size_t n = 0; n < list.size(); ++n) {
    std::vector<std::string> read = {"kept"};
    EXPECT_FALSE(Decode_Airspace_List(std::span(list).first(n), 2, read).ok) << n;
    EXPECT_EQ(read, std::vector<std::string>{"kept"}) << n;
  }
}

TEST(DatabaseFile, CountsFromTheSettingsMustMatchTheFile) {
  const std::vector<uint8_t> bytes = Encode_Airports(Database_Of({Small_Airport()}), 1);
  std::vector<Airport_Entry> read;

  // More airports than the file holds; a count too large to allocate; a negative count.
  Decode_Result result = Decode_Airports(bytes, 2, read);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("airport record 2, at byte 329"), std::string::npos) << result.error;
  result = Decode_Airports(bytes, 5, read);  // 6 records need at least 384 bytes
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("too short"), std::string::npos) << result.error;
  EXPECT_FALSE(Decode_Airports(bytes, std::numeric_limits<int32_t>::max(), read).ok);
  EXPECT_FALSE(Decode_Airports(bytes, -1, read).ok);
  EXPECT_FALSE(Decode_Airports(bytes, std::numeric_limits<int32_t>::min(), read).ok);

  // Fewer: the bytes left over mean the counts do not describe this file (for example counts
  // that were never written back after a build).
  result = Decode_Airports(bytes, 0, read);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("follow the last entry"), std::string::npos) << result.error;
  std::vector<uint8_t> one_more = bytes;
  one_more.push_back(0);
  EXPECT_FALSE(Decode_Airports(one_more, 1, read).ok);
  EXPECT_TRUE(read.empty());

  const std::vector<uint8_t> list = Encode_Airspace_List(std::vector<std::string>{"a", ""}, 1);
  std::vector<std::string> files;
  EXPECT_FALSE(Decode_Airspace_List(list, 0, files).ok);
  EXPECT_FALSE(Decode_Airspace_List(list, 2, files).ok);
  EXPECT_FALSE(Decode_Airspace_List(list, std::numeric_limits<int32_t>::max(), files).ok);
  EXPECT_FALSE(Decode_Airspace_List(list, -1, files).ok);
  EXPECT_TRUE(files.empty());
}

// Patches one field of the Small_Airport encoding and expects the decoder to refuse it.
void Expect_Refused(const char* what, const std::function<void(std::vector<uint8_t>&)>& patch,
                    const char* error_part) {
  std::vector<uint8_t> bytes = Encode_Airports(Database_Of({Small_Airport()}), 1);
  patch(bytes);
  std::vector<Airport_Entry> read;
  const Decode_Result result = Decode_Airports(bytes, 1, read);
  EXPECT_FALSE(result.ok) << what;
  EXPECT_NE(result.error.find(error_part), std::string::npos) << what << ": " << result.error;
  EXPECT_TRUE(read.empty()) << what;
}

TEST(DatabaseFile, DamagedFieldsAreRefused) {
  Expect_Refused(
      "negative ident length", [](auto& b) { Put_Integer_At(b, 0, -1); }, "negative");
  Expect_Refused(
      "text past the end", [](auto& b) { Put_Integer_At(b, 6, 32767); }, "too early");
  Expect_Refused(
      "runway dims 2", [](auto& b) { Put_Integer_At(b, 46, 2); }, "2 dimensions");
  Expect_Refused(
      "runway dims -1", [](auto& b) { Put_Integer_At(b, 46, -1); }, "dimensions");
  Expect_Refused(
      "negative runway list", [](auto& b) { Put_Long_At(b, 48, -2); }, "-2 elements");
  Expect_Refused(
      "huge runway list", [](auto& b) { Put_Long_At(b, 48, std::numeric_limits<int32_t>::max()); },
      "runs past the end");
  Expect_Refused(
      "huge taxi point list", [](auto& b) { Put_Long_At(b, 178, 1 << 30); }, "runs past the end");
  Expect_Refused(
      "lower bound 1", [](auto& b) { Put_Long_At(b, 52, 1); }, "starting at index 1");
  Expect_Refused(
      "negative path label", [](auto& b) { Put_Integer_At(b, 258, -300); }, "negative");
}

TEST(DatabaseFile, CountsThatDisagreeWithTheirListsAreRefused) {
  // Any of these would let a walk from 0 to count - 1 leave its list.
  Expect_Refused(
      "runway_count 2 of 2", [](auto& b) { Put_Long_At(b, 166, 2); }, "runway_count 2");
  Expect_Refused(
      "runway_count -1", [](auto& b) { Put_Long_At(b, 166, -1); }, "runway_count -1");
  Expect_Refused(
      "ils_count without a list", [](auto& b) { Put_Long_At(b, 172, 1); }, "ils_count 1");
  Expect_Refused(
      "taxi_point_count 3 of 2", [](auto& b) { Put_Long_At(b, 226, 3); }, "taxi_point_count 3");
  Expect_Refused(
      "taxi_point_count 1 of 2", [](auto& b) { Put_Long_At(b, 226, 1); }, "taxi_point_count 1");
  Expect_Refused(
      "parking_count without a list", [](auto& b) { Put_Long_At(b, 232, 4); }, "parking_count 4");
  Expect_Refused(
      "taxi_path_count 0 of 1", [](auto& b) { Put_Long_At(b, 261, 0); }, "taxi_path_count 0");

  // A runway list of only the spare with a count of 0 is consistent, though the build never
  // writes it.
  Airport_Entry spare_only;
  spare_only.runways.resize(1);
  std::vector<Airport_Entry> read;
  EXPECT_TRUE(Decode_Airports(Encode_Airports(Database_Of({spare_only}), 1), 1, read).ok);
}

class DatabaseLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    built.work_dir = dir.path();
    built.airports = Database_Of({Full_Airport(), Small_Airport(), Small_Airport()});
    built.airport_count = 3;
    built.airspace_files = {"/fs/scenery/a.bgl", "/fs/scenery/b.bgl", ""};
    built.airspace_file_count = 2;
    ASSERT_TRUE(Write_Airport_File(built).ok);
    ASSERT_TRUE(Write_Airspace_List(built).ok);
    st.work_dir = dir.path();
    st.airport_count = 3;
    st.airspace_file_count = 2;
  }

  void Expect_Released() {
    EXPECT_EQ(st.airports, std::vector<Airport_Entry>(1));
    EXPECT_EQ(st.airspace_files, std::vector<std::string>(1));
    EXPECT_EQ(st.airport_count, 0);
    EXPECT_EQ(st.airspace_file_count, 0);
  }

  Temp_Dir dir;
  Program_State built;
  Program_State st;
};

TEST_F(DatabaseLoad, ReadsBothFilesWithTheSettingsCounts) {
  const Database_Load load = Load_Database(st);
  ASSERT_EQ(load.status, Database_Status::ok) << load.error;
  EXPECT_EQ(st.airports, built.airports);
  EXPECT_EQ(st.airspace_files, built.airspace_files);
  EXPECT_EQ(Add_Airport_Items(st),
            (std::vector<std::string>{"KSEA (M\xC9RIGNAC)", "KSEA (SEA)", "KSEA (SEA)"}));
  EXPECT_EQ(Read_Bytes(dir / DATABASE_FILE).size(), Encode_Airports(built.airports, 3).size());
}

TEST_F(DatabaseLoad, AMissingFileReleasesTheLists) {
  std::filesystem::remove(dir / AIRSPACE_LIST_FILE);
  const Database_Load load = Load_Database(st);
  EXPECT_EQ(load.status, Database_Status::missing);
  EXPECT_NE(load.error.find(AIRSPACE_LIST_FILE), std::string::npos) << load.error;
  Expect_Released();
}

TEST_F(DatabaseLoad, ADamagedFileReleasesTheListsNotHalfFilled) {
  std::vector<uint8_t> list = Read_Bytes(dir / AIRSPACE_LIST_FILE);
  list.pop_back();
  Write_Bytes(dir / AIRSPACE_LIST_FILE, list);
  Database_Load load = Load_Database(st);
  EXPECT_EQ(load.status, Database_Status::damaged);
  EXPECT_NE(load.error.find(AIRSPACE_LIST_FILE), std::string::npos) << load.error;
  Expect_Released();

  // Counts of 0 in the settings over a full database: a build whose counts never reached the
  // settings file.
  Program_State stale;
  stale.work_dir = dir.path();
  load = Load_Database(stale);
  EXPECT_EQ(load.status, Database_Status::damaged);
  EXPECT_NE(load.error.find(DATABASE_FILE), std::string::npos) << load.error;
}

TEST_F(DatabaseLoad, AWriteThatCannotFinishIsReportedAndTouchesNothingElse) {
  const std::vector<uint8_t> old_bytes = Read_Bytes(dir / DATABASE_FILE);

  Program_State nowhere = built;
  nowhere.work_dir = dir / "no such folder";
  Write_Result result = Write_Airport_File(nowhere);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
  EXPECT_FALSE(Write_Airspace_List(nowhere).ok);

  // A folder in the way of the list file: the rename over it fails.
  std::filesystem::remove(dir / AIRSPACE_LIST_FILE);
  std::filesystem::create_directories(dir / AIRSPACE_LIST_FILE / "inside");
  result = Write_Airspace_List(built);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());

  EXPECT_EQ(Read_Bytes(dir / DATABASE_FILE), old_bytes);
  size_t leftovers = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path().extension() == ".tmp") ++leftovers;
  }
  EXPECT_EQ(leftovers, 0u);
}

TEST(AddAirportItems, ListsTheUsedEntriesOnlyInDatabaseOrder) {
  Program_State st;
  Airport_Entry a;
  a.ident = "LFBD";
  a.name = "BORDEAUX";
  st.airports = {a, a, Small_Airport(), Airport_Entry{}};
  st.airport_count = 3;
  EXPECT_EQ(Add_Airport_Items(st),
            (std::vector<std::string>{"LFBD (BORDEAUX)", "LFBD (BORDEAUX)", "KSEA (SEA)"}));
  // A count beyond the list (the list released by a fetch) lists only what is there.
  st.airports.resize(1);
  EXPECT_TRUE(Add_Airport_Items(st).empty());
  st.airports.clear();
  EXPECT_TRUE(Add_Airport_Items(st).empty());
}

}  // namespace
}  // namespace orv
