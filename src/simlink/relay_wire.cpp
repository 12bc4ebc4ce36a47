#include "simlink/relay_wire.h"

#include "simlink/link_block.h"
#include "simlink/link_client.h"

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
    if (offset >= r.first && offset <= r.end && count <= r.end - offset) return true;
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

std::vector<uint8_t> Relay_Hello(const std::string& key) {
  std::vector<uint8_t> out(RELAY_MAGIC.begin(), RELAY_MAGIC.end());
  Put(out, RELAY_VERSION);
  Put(out, static_cast<uint32_t>(key.size()));
  out.insert(out.end(), key.begin(), key.end());
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

bool Same_Key(const std::string& a, const std::string& b) {
  uint8_t diff = a.size() == b.size() ? 0 : 1;
  const size_t n = a.size() > b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const uint8_t x = i < a.size() ? static_cast<uint8_t>(a[i]) : 0;
    const uint8_t y = i < b.size() ? static_cast<uint8_t>(b[i]) : 0;
    diff = static_cast<uint8_t>(diff | (x ^ y));
  }
  return diff == 0;
}

}  // namespace orv
