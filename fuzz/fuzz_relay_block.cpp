// What a client sends orvane-relay, over any bytes: the hello at the front of a connection and a
// request block. Neither check may read outside the client's bytes; a hello is taken only when
// it is "ORVR" and this version, and only the keyed answer to the challenge is accepted. What the
// block check lets through must be a walk the module side ends cleanly at the terminator, made
// only of the link's own reads (their data bytes zeroed before the simulator sees them) and its
// one write.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "simlink/link_block.h"
#include "simlink/link_module.h"
#include "simlink/relay_wire.h"

namespace {

void Check_Hello(const std::vector<uint8_t>& bytes) {
  const orv::Relay_Hello_Read read = orv::Read_Relay_Hello(bytes);
  const std::vector<uint8_t> hello = orv::Relay_Hello();
  const bool ours = bytes.size() >= hello.size() && std::equal(hello.begin(), hello.end(),
                                                               bytes.begin());
  if ((read == orv::Relay_Hello_Read::good) != ours) std::abort();
  if (!ours || bytes.size() < hello.size() + orv::RELAY_PROOF_SIZE) return;
  // The bytes after the hello as the answer to a fixed challenge under a fixed key.
  orv::Relay_Challenge challenge{};
  challenge.fill(0x5A);
  orv::Relay_Proof want{};
  orv::Relay_Proof got{};
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(hello.size()), got.size(), got.begin());
  if (!orv::Relay_Hello_Proof("fuzz", challenge, want)) std::abort();
  if (orv::Same_Proof(got, want) != (got == want)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact copy, so that the sanitizer sees any read past the client's bytes.
  std::vector<uint8_t> request(data, data + size);
  Check_Hello(request);
  const orv::Relay_Verdict verdict = orv::Check_Relay_Block(request);
  if (verdict != orv::Relay_Verdict::allowed) return 0;
  if (size > orv::LINK_BLOCK_SIZE || orv::Queued_Length(request) != size) std::abort();

  // What the relay hands on: the request with its read data zeroed, at the start of a zeroed
  // block. Zeroing changes no header: the block stays allowed.
  const std::vector<uint8_t> sent = request;
  orv::Zero_Read_Data(request);
  if (orv::Check_Relay_Block(request) != orv::Relay_Verdict::allowed) std::abort();
  size_t at = 0;
  while (orv::Block_Get32(request, at) != orv::LINK_ID_END) {
    const bool read = orv::Block_Get32(request, at) == orv::LINK_ID_READ;
    const size_t header = read ? orv::LINK_READ_HEADER : orv::LINK_WRITE_HEADER;
    const size_t count = orv::Block_Get32(request, at + 8);
    for (size_t i = at; i < at + header + count; ++i) {
      const bool data_byte = i >= at + header;
      if ((read && data_byte) ? request[i] != 0 : request[i] != sent[i]) std::abort();
    }
    at += header + count;
  }
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
