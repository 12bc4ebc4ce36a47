// The simulator side of the request block, as the stand-in simulator and the tests' fake module
// answer it: reads are filled from an image of the interface offsets, writes are stored into it.
// The walk is bounds-checked like the client's; a damaged block ends it.
#pragma once

#include <cstdint>
#include <span>

namespace orv {

inline constexpr uint32_t MODULE_IMAGE_SIZE = 0x10000;  // interface offsets 0x0000-0xFFFF

enum class Module_Walk : uint8_t {
  ended,       // reached the terminator
  bad_record,  // a record id that is neither a read nor a write
  past_block,  // a header or data area that runs past the block
};

// Answers every request of the block in place. Bytes of a read that lie outside the image
// read as 0; bytes of a write outside it are dropped.
Module_Walk Answer_Block(std::span<uint8_t> block, std::span<uint8_t> image);

// Little-endian values in the offset image; parts outside it are dropped.
void Image_Put(std::span<uint8_t> image, uint32_t offset, uint64_t value, uint32_t size);
uint64_t Image_Get(std::span<const uint8_t> image, uint32_t offset, uint32_t size);

}  // namespace orv
