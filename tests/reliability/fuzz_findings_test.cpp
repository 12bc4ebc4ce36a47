// Inputs the fuzz programs found, kept so that what they showed stays mended.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "data/database_files.h"

namespace orv {
namespace {

// The empty airport record with one list block turned from never sized (dims 0) into a sized
// list of no elements (dims 1, count 0, lower bound 0).
std::vector<uint8_t> Sized_Empty_List_At(size_t dims_at) {
  std::vector<uint8_t> bytes = Encode_Airports({}, 0);
  EXPECT_EQ(bytes.size(), MIN_AIRPORT_BYTES);
  bytes[dims_at] = 1;
  bytes.insert(bytes.begin() + static_cast<ptrdiff_t>(dims_at) + 2, 8, uint8_t{0});
  return bytes;
}

// fuzz_database: a list block of dims 1 and no elements decoded as an empty list, which is
// written back as never sized, so reading and writing the file changed its bytes.
TEST(Fuzz_Findings, Database_List_Sized_With_No_Elements_Is_Refused) {
  // Empty record: two empty texts, two Doubles, seven empty texts, then five list blocks of
  // dims and count (2 + 4 bytes each).
  for (const size_t dims_at : {34u, 40u, 46u, 52u, 58u}) {
    std::vector<Airport_Entry> airports(1);
    airports[0].ident = "KEEP";
    const Decode_Result r = Decode_Airports(Sized_Empty_List_At(dims_at), 0, airports);
    EXPECT_FALSE(r.ok) << "list at " << dims_at;
    EXPECT_NE(r.error.find("sized with no elements"), std::string::npos) << r.error;
    EXPECT_EQ(airports[0].ident, "KEEP");
  }
  // What the program writes still reads back to the same bytes.
  std::vector<Airport_Entry> airports(1);
  const std::vector<uint8_t> sound = Encode_Airports({}, 0);
  ASSERT_TRUE(Decode_Airports(sound, 0, airports).ok);
  EXPECT_EQ(Encode_Airports(airports, 0), sound);
}

}  // namespace
}  // namespace orv
