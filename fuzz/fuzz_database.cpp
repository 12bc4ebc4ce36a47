// The two database files with their counts taken from the input: the first 4 bytes are the
// airport count, the next 4 the airspace file count, the next 4 where the input splits into the
// airport file and the airspace list. A file that decodes encodes to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "data/database_files.h"

namespace {

uint32_t Take32(std::span<const uint8_t>& in) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4 && i < in.size(); ++i) v |= uint32_t{in[i]} << (8 * i);
  in = in.subspan(std::min<size_t>(4, in.size()));
  return v;
}

void Check_Round_Trip(std::span<const uint8_t> bytes, const std::vector<uint8_t>& again) {
  if (again.size() != bytes.size() || !std::equal(again.begin(), again.end(), bytes.begin())) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> in(data, size);
  const auto airport_count = static_cast<int32_t>(Take32(in));
  const auto airspace_count = static_cast<int32_t>(Take32(in));
  const size_t split = std::min<size_t>(Take32(in), in.size());
  const std::span<const uint8_t> airport_bytes = in.first(split);
  const std::span<const uint8_t> list_bytes = in.subspan(split);

  std::vector<orv::Airport_Entry> airports(1);
  const orv::Decode_Result a = orv::Decode_Airports(airport_bytes, airport_count, airports);
  if (a.ok) {
    if (airports.size() != static_cast<size_t>(airport_count) + 1) std::abort();
    Check_Round_Trip(airport_bytes, orv::Encode_Airports(airports, airport_count));
  } else if (airports.size() != 1 || a.error.empty()) {
    std::abort();  // a failed decode leaves the list untouched and says why
  }

  std::vector<std::string> files(1);
  const orv::Decode_Result l = orv::Decode_Airspace_List(list_bytes, airspace_count, files);
  if (l.ok) {
    if (files.size() != static_cast<size_t>(airspace_count) + 1) std::abort();
    Check_Round_Trip(list_bytes, orv::Encode_Airspace_List(files, airspace_count));
  } else if (files.size() != 1 || l.error.empty()) {
    std::abort();
  }
  return 0;
}
