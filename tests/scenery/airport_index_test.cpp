#include "scenery/airport_index.h"

#include <gtest/gtest.h>

#include "airspace/airspace_reader.h"
#include "core/program_state.h"
#include "scenery/scan_bgl_file.h"
#include "support/scenery_writer.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

Walk_Stop Scan_Into(Program_State& st, const std::vector<uint8_t>& bytes) {
  const Bgl_Image image = Make_Bgl_Image(bytes);
  Bgl_Reader rd(image);
  return Scan_Bgl_File(st, rd, "index.bgl", Read_Airspace_Section);
}

std::vector<std::string> Idents(const Program_State& st) {
  std::vector<std::string> idents;
  for (int32_t i = 0; i < st.airport_count; ++i)
    idents.push_back(st.airports[static_cast<size_t>(i)].ident);
  return idents;
}

TEST(ReadAirportSection, AppendsEveryValidAirportInFileOrder) {
  const sw::Built_File file = sw::Bgl_File()
                                  .Add(sw::Airport("KSEA").Name("Seattle"))
                                  .Add(sw::Airport("WRONGKIND").Kind(0x50002))
                                  .Add(sw::Airport("NODETAIL").Detail_Offset(0))
                                  .Add(sw::Airport("BADHEAD").Detail_Header(1, 0, 2, 0))
                                  .Add(sw::Airport("KBFI").Name("Boeing"))
                                  .Add(sw::Airport_Block()
                                           .Add(sw::Airport("CYVR"))
                                           .Raw_Record(0x1234, std::vector<uint8_t>(8)))
                                  .Build();
  Program_State st;
  EXPECT_EQ(Scan_Into(st, file.bytes), Walk_Stop::none);
  EXPECT_EQ(Idents(st), (std::vector<std::string>{"KSEA", "KBFI", "CYVR"}));
  ASSERT_EQ(st.airports.size(), 4u);  // three and the spare
  EXPECT_EQ(st.airports[3], Airport_Entry{});
  EXPECT_EQ(st.airports[1].name, "BOEING");
}

TEST(ReadAirportSection, NothingIsAddedOnceTheDatabaseIsReady) {
  const sw::Built_File file = sw::Bgl_File().Add(sw::Airport("KSEA")).Build();
  Program_State st;
  st.db_ready = true;
  EXPECT_EQ(Scan_Into(st, file.bytes), Walk_Stop::none);
  EXPECT_EQ(st.airport_count, 0);
  EXPECT_EQ(st.airports.size(), 1u);
}

TEST(ReadAirportSection, ReadsNPlusOneRecordsPerBlock) {
  // n = 0 reads exactly one record: the second airport of the block is never seen.
  const sw::Built_File one =
      sw::Bgl_File()
          .Add(sw::Airport_Block().Add(sw::Airport("AAAA")).Add(sw::Airport("BBBB")).Count(0))
          .Build();
  Program_State st;
  Scan_Into(st, one.bytes);
  EXPECT_EQ(Idents(st), (std::vector<std::string>{"AAAA"}));

  // One record too many reads the next block's head as a record of its own and passes it
  // over; the next block is still read once, from its own head.
  const sw::Built_File extra =
      sw::Bgl_File()
          .Add(sw::Airport_Block().Add(sw::Airport("AAAA")).Count(1))
          .Add(sw::Airport_Block().Add(sw::Airport("BBBB")).Add(sw::Airport("CCCC")))
          .Build();
  Program_State st2;
  EXPECT_EQ(Scan_Into(st2, extra.bytes), Walk_Stop::none);
  EXPECT_EQ(Idents(st2), (std::vector<std::string>{"AAAA", "BBBB", "CCCC"}));
}

TEST(ReadAirportSection, IdentLengthComesFromTheRecordSize) {
  sw::Built_File file = sw::Bgl_File().Add(sw::Airport("KSEA").Index_Size(12)).Build();
  Program_State st;
  Scan_Into(st, file.bytes);
  ASSERT_EQ(st.airport_count, 1);
  EXPECT_EQ(st.airports[0].ident, "KSEA");
}

TEST(ReadAirportSection, ARecordThatDoesNotAdvanceEndsTheWalkAfterIt) {
  sw::Built_File file = sw::Bgl_File()
                            .Add(sw::Airport("AAAA"))
                            .Add(sw::Airport("BBBB"))
                            .Add(sw::Airport("CCCC"))
                            .Build();
  // The second index record claims a size of -8: it is still handled (its ident length of -16
  // gives an empty ident), then the walk ends before the third.
  sw::Patch_Long(file.bytes, file.layout.airports[1].index_record + 4, -8);
  Program_State st;
  EXPECT_EQ(Scan_Into(st, file.bytes), Walk_Stop::no_progress);
  EXPECT_EQ(Idents(st), (std::vector<std::string>{"AAAA", ""}));
}

TEST(ReadAirportSection, ABadSizeOnABlocksLastRecordLeadsNowhere) {
  // The next block starts at the block's own size: the last record's size is never used.
  sw::Built_File file =
      sw::Bgl_File()
          .Add(sw::Airport_Block().Add(sw::Airport("AAAA")).Add(sw::Airport("ZZZZ")))
          .Add(sw::Airport_Block().Add(sw::Airport("BBBB")))
          .Build();
  sw::Patch_Long(file.bytes, file.layout.airports[1].index_record + 4, -8);
  Program_State st;
  EXPECT_EQ(Scan_Into(st, file.bytes), Walk_Stop::none);
  EXPECT_EQ(Idents(st), (std::vector<std::string>{"AAAA", "", "BBBB"}));
}

TEST(ReadAirportSection, AHugeRecordCountEndsAtTheEndOfTheFile) {
  sw::Built_File file =
      sw::Bgl_File().Add(sw::Airport_Block().Add(sw::Airport("AAAA")).Count(INT32_MAX)).Build();
  Program_State st;
  EXPECT_NE(Scan_Into(st, file.bytes), Walk_Stop::none);
  EXPECT_EQ(Idents(st), (std::vector<std::string>{"AAAA"}));
}

TEST(ReadAirportSection, EveryTruncationKeepsWhatLiesBeforeTheCut) {
  const sw::Built_File file =
      sw::Bgl_File()
          .Add(sw::Airport("AAAA").Reference(1, 2).Name("first").Runway(
              {.lat = 1, .lon = 2, .length_ft = 4000}))
          .Add(sw::Airport("BBBB").Reference(3, 4).Name("second").Taxiway(
              sw::Taxiway_Record().Points({{}, {}}).Paths({{}}).Names({"A"})))
          .Build();
  Program_State whole;
  ASSERT_EQ(Scan_Into(whole, file.bytes), Walk_Stop::none);
  ASSERT_EQ(whole.airport_count, 2);
  int32_t previous = 0;
  for (size_t length = 0; length <= file.bytes.size(); ++length) {
    Program_State st;
    const std::vector<uint8_t> cut(file.bytes.begin(),
                                   file.bytes.begin() + static_cast<long>(length));
    Scan_Into(st, cut);
    ASSERT_LE(st.airport_count, 2) << length;
    ASSERT_GE(st.airport_count, previous) << length;
    ASSERT_EQ(st.airports.size(), static_cast<size_t>(st.airport_count) + 1);
    for (int32_t i = 0; i < st.airport_count; ++i) {
      EXPECT_EQ(st.airports[static_cast<size_t>(i)].ident,
                whole.airports[static_cast<size_t>(i)].ident);
    }
    previous = st.airport_count;
  }
  EXPECT_EQ(previous, 2);
}

TEST(ScanBglFile, ReadsSectionsOnlyFromAHeaderThatAsksForThem) {
  const sw::Airport airport = sw::Airport("KSEA");
  Program_State not_one;
  EXPECT_EQ(Scan_Into(not_one, sw::Bgl_File().Add(airport).Version(0).Build().bytes),
            Walk_Stop::none);
  EXPECT_EQ(not_one.airport_count, 0);

  Program_State no_section;
  sw::Built_File file = sw::Bgl_File().Add(airport).Build();
  sw::Patch_Long(file.bytes, sw::HEADER_AIRPORTS, 0);
  EXPECT_EQ(Scan_Into(no_section, file.bytes), Walk_Stop::none);
  EXPECT_EQ(no_section.airport_count, 0);

  Program_State negative;
  sw::Patch_Long(file.bytes, sw::HEADER_AIRPORTS, -5);
  EXPECT_EQ(Scan_Into(negative, file.bytes), Walk_Stop::none);
  EXPECT_EQ(negative.airport_count, 0);

  Program_State short_header;
  EXPECT_EQ(Scan_Into(short_header, std::vector<uint8_t>(150, 0)), Walk_Stop::none);
  const std::vector<uint8_t> cut(file.bytes.begin(), file.bytes.begin() + 160);
  std::vector<uint8_t> version_only = cut;
  sw::Patch_Long(version_only, sw::HEADER_VERSION, 1);
  EXPECT_EQ(Scan_Into(short_header, version_only), Walk_Stop::out_of_image);
  EXPECT_EQ(short_header.airport_count, 0);

  Program_State beyond;
  sw::Patch_Long(file.bytes, sw::HEADER_AIRPORTS, 0x7FFFFFF0);
  EXPECT_EQ(Scan_Into(beyond, file.bytes), Walk_Stop::out_of_image);
}

}  // namespace
}  // namespace orv
