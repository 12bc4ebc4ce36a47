// The shared request block of the simulator link: its size, the queue limit and the record
// layout, with little-endian field access that never reaches outside the block. Both ends of
// the link use these: the client that queues requests and the simulator side that answers them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orv {

inline constexpr uint32_t LINK_BLOCK_SIZE = 0x8000;   // 32768 bytes
inline constexpr uint32_t LINK_QUEUE_LIMIT = 0x7F00;  // 32512: requests and terminator end here

// Record ids, taken from the low 16 bits of a record's first field.
inline constexpr uint16_t LINK_ID_END = 0;
inline constexpr uint16_t LINK_ID_READ = 1;
inline constexpr uint16_t LINK_ID_WRITE = 2;

// Header sizes: {id, offset, count, destination} for a read, {id, offset, count} for a write.
inline constexpr uint32_t LINK_READ_HEADER = 16;
inline constexpr uint32_t LINK_WRITE_HEADER = 12;
inline constexpr uint32_t LINK_TERMINATOR = 4;

// True when n bytes starting at `at` lie inside a block of `size` bytes. Written so that the
// test itself cannot overflow.
inline bool Block_Fits(size_t size, size_t at, size_t n) {
  return at <= size && n <= size - at;
}

// The 32-bit little-endian value at `at`; the caller has checked that it fits.
inline uint32_t Block_Get32(std::span<const uint8_t> block, size_t at) {
  return static_cast<uint32_t>(block[at]) | static_cast<uint32_t>(block[at + 1]) << 8 |
         static_cast<uint32_t>(block[at + 2]) << 16 | static_cast<uint32_t>(block[at + 3]) << 24;
}

// Stores a 32-bit value little-endian at `at`; the caller has checked that it fits.
inline void Block_Put32(std::span<uint8_t> block, size_t at, uint32_t value) {
  block[at] = static_cast<uint8_t>(value);
  block[at + 1] = static_cast<uint8_t>(value >> 8);
  block[at + 2] = static_cast<uint8_t>(value >> 16);
  block[at + 3] = static_cast<uint8_t>(value >> 24);
}

}  // namespace orv
