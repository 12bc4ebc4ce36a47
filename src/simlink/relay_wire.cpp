#include "simlink/relay_wire.h"

#include <algorithm>

#include "simlink/link_block.h"
#include "simlink/link_client.h"
#include "simlink/relay_crypto.h"

namespace orv {

namespace {

// The interface ranges a client may read: the position (latitude and longitude, both halves),
// the heading, the pressure setting, and the two version words.
struct Offset_Range {
  uint32_t first;
  uint32_t end;  // one past the last byte
};
constexpr std::array<Offset_Range, 5> kReadable = {
    {{0x0560, 0x0570}, {0x0580, 0x0584}, {0x0EC6, 0x0EC8}, {0x3304, 0x3308}, {0x3308, 0x330C}}};

bool Read_Allowed(uint32_t offset, uint32_t count) {
  for (const Offset_Range& r : kReadable) {
    // A read of no bytes asks for nothing the chart uses.
    if (count > 0 && offset >= r.first && offset < r.end && count <= r.end - offset) return true;
  }
  return false;
}

bool Write_Allowed(uint32_t offset, uint32_t count) {
  return offset == static_cast<uint32_t>(LINK_OFS_LIB_VERSION) && count == 2;
}

void Put(std::vector<uint8_t>& out, uint32_t value) {
  std::array<uint8_t, 4> b{};
  Block_Put32(b, 0, value);
  out.insert(out.end(), b.begin(), b.end());
}

}  // namespace

Relay_Verdict Check_Relay_Block(std::span<const uint8_t> block) {
  if (block.size() < LINK_TERMINATOR || block.size() > LINK_BLOCK_SIZE) {
    return Relay_Verdict::bad_length;
  }
  size_t at = 0;
  while (Block_Fits(block.size(), at, LINK_TERMINATOR)) {
    const uint32_t first = Block_Get32(block, at);
    if (first == LINK_ID_END) {
      return at + LINK_TERMINATOR == block.size() ? Relay_Verdict::allowed
                                                  : Relay_Verdict::no_terminator;
    }
    // The whole first field must be a known id: the module looks only at its low half, so
    // anything in the high half is a block this client never writes.
    if (first != LINK_ID_READ && first != LINK_ID_WRITE) return Relay_Verdict::bad_record;
    const uint32_t header = first == LINK_ID_READ ? LINK_READ_HEADER : LINK_WRITE_HEADER;
    if (!Block_Fits(block.size(), at, header)) return Relay_Verdict::past_block;
    const uint32_t offset = Block_Get32(block, at + 4);
    const uint32_t count = Block_Get32(block, at + 8);
    if (!Block_Fits(block.size(), at + header, count)) return Relay_Verdict::past_block;
    if (first == LINK_ID_READ && !Read_Allowed(offset, count)) {
      return Relay_Verdict::forbidden_read;
    }
    if (first == LINK_ID_WRITE && !Write_Allowed(offset, count)) {
      return Relay_Verdict::forbidden_write;
    }
    at += header + count;
  }
  return Relay_Verdict::no_terminator;
}

uint32_t Queued_Length(std::span<const uint8_t> block) {
  size_t at = 0;
  while (Block_Fits(block.size(), at, LINK_TERMINATOR)) {
    const uint16_t id = static_cast<uint16_t>(Block_Get32(block, at) & 0xFFFFu);
    if (id == LINK_ID_END) return static_cast<uint32_t>(at + LINK_TERMINATOR);
    if (id != LINK_ID_READ && id != LINK_ID_WRITE) return 0;
    const uint32_t header = id == LINK_ID_READ ? LINK_READ_HEADER : LINK_WRITE_HEADER;
    if (!Block_Fits(block.size(), at, header)) return 0;
    const uint32_t count = Block_Get32(block, at + 8);
    if (!Block_Fits(block.size(), at + header, count)) return 0;
    at += header + count;
  }
  return 0;
}

void Zero_Read_Data(std::span<uint8_t> block) {
  size_t at = 0;
  while (Block_Fits(block.size(), at, LINK_TERMINATOR)) {
    const uint32_t first = Block_Get32(block, at);
    if (first != LINK_ID_READ && first != LINK_ID_WRITE) return;
    const uint32_t header = first == LINK_ID_READ ? LINK_READ_HEADER : LINK_WRITE_HEADER;
    if (!Block_Fits(block.size(), at, header)) return;
    const uint32_t count = Block_Get32(block, at + 8);
    if (!Block_Fits(block.size(), at + header, count)) return;
    if (first == LINK_ID_READ) {
      std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(at + header), count, uint8_t{0});
    }
    at += header + count;
  }
}

Relay_Hello_Read Read_Relay_Hello(std::span<const uint8_t> bytes) {
  const size_t n = std::min<size_t>(bytes.size(), RELAY_MAGIC.size());
  if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n),
                  RELAY_MAGIC.begin())) {
    return Relay_Hello_Read::not_hello;
  }
  if (bytes.size() < RELAY_HELLO_HEAD) return Relay_Hello_Read::more;
  return Block_Get32(bytes, 4) == RELAY_VERSION ? Relay_Hello_Read::good : Relay_Hello_Read::old;
}

std::vector<uint8_t> Relay_Hello() {
  std::vector<uint8_t> out(RELAY_HELLO_HEAD, 0);
  std::copy(RELAY_MAGIC.begin(), RELAY_MAGIC.end(), out.begin());
  Block_Put32(out, 4, RELAY_VERSION);
  return out;
}

bool Relay_Hello_Proof(const std::string& key, const Relay_Challenge& challenge,
                       Relay_Proof& proof) {
  std::vector<uint8_t> message = Relay_Hello();
  message.insert(message.end(), challenge.begin(), challenge.end());
  const std::span<const uint8_t> key_bytes(reinterpret_cast<const uint8_t*>(key.data()),
                                           key.size());
  return Hmac_Sha256(key_bytes, message, proof);
}

std::vector<uint8_t> Relay_Challenge_Frame(const Relay_Challenge& challenge) {
  std::vector<uint8_t> out;
  Put(out, RELAY_HELLO_CHALLENGE);
  Put(out, RELAY_CHALLENGE_SIZE);
  out.insert(out.end(), challenge.begin(), challenge.end());
  return out;
}

std::vector<uint8_t> Relay_Request(uint32_t sequence, std::span<const uint8_t> block) {
  std::vector<uint8_t> out;
  out.reserve(RELAY_REQUEST_HEAD + block.size());
  Put(out, sequence);
  Put(out, static_cast<uint32_t>(block.size()));
  out.insert(out.end(), block.begin(), block.end());
  return out;
}

std::vector<uint8_t> Relay_Answer(uint32_t sequence, uint32_t status, uint32_t reply,
                                  std::span<const uint8_t> block) {
  std::vector<uint8_t> out;
  out.reserve(RELAY_ANSWER_HEAD + block.size());
  Put(out, sequence);
  Put(out, status);
  Put(out, reply);
  Put(out, static_cast<uint32_t>(block.size()));
  out.insert(out.end(), block.begin(), block.end());
  return out;
}

bool Same_Proof(const Relay_Proof& a, const Relay_Proof& b) {
  uint8_t diff = 0;
  for (size_t i = 0; i < a.size(); ++i) diff = static_cast<uint8_t>(diff | (a[i] ^ b[i]));
  return diff == 0;
}

}  // namespace orv
