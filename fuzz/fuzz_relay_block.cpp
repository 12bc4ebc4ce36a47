// The relay's check of a request block from a client, over any bytes: it must never read outside
// them, and what it lets through must be a walk the module side ends cleanly at the terminator,
// made only of the link's own reads and its one write.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "simlink/link_block.h"
#include "simlink/link_module.h"
#include "simlink/relay_wire.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact copy, so that the sanitizer sees any read past the client's bytes.
  const std::vector<uint8_t> request(data, data + size);
  const orv::Relay_Verdict verdict = orv::Check_Relay_Block(request);
  if (verdict != orv::Relay_Verdict::allowed) return 0;
  if (size > orv::LINK_BLOCK_SIZE || orv::Queued_Length(request) != size) std::abort();

  // What the relay hands on: the request at the start of a zeroed block.
  std::vector<uint8_t> block(orv::LINK_BLOCK_SIZE, 0);
  std::copy(request.begin(), request.end(), block.begin());
  std::vector<uint8_t> image(orv::MODULE_IMAGE_SIZE, 0xA5);
  if (orv::Answer_Block(block, image) != orv::Module_Walk::ended) std::abort();
  // The only write it may carry changes the two bytes at 0x330A and nothing else.
  for (size_t i = 0; i < image.size(); ++i) {
    if ((i < 0x330A || i > 0x330B) && image[i] != 0xA5) std::abort();
  }
  return 0;
}
