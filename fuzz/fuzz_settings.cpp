// The settings file record: any bytes decoded; a record that decodes encodes to the bytes it
// came from.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "data/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const std::optional<orv::Config_Rec> rec = orv::Decode_Config(bytes);
  if (!rec) return 0;
  const std::vector<uint8_t> again = orv::Encode_Config(*rec);
  if (again.size() > size || !std::equal(again.begin(), again.end(), bytes.begin())) std::abort();
  return 0;
}
