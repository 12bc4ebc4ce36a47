#include "simlink/link_module.h"

#include "simlink/link_block.h"

namespace orv {

Module_Walk Answer_Block(std::span<uint8_t> block, std::span<uint8_t> image) {
  size_t at = 0;
  while (Block_Fits(block.size(), at, 4)) {
    const uint16_t id = static_cast<uint16_t>(Block_Get32(block, at) & 0xFFFFu);
    if (id == LINK_ID_END) return Module_Walk::ended;
    if (id != LINK_ID_READ && id != LINK_ID_WRITE) return Module_Walk::bad_record;
    const uint32_t header = id == LINK_ID_READ ? LINK_READ_HEADER : LINK_WRITE_HEADER;
    if (!Block_Fits(block.size(), at, header)) return Module_Walk::past_block;
    const uint32_t offset = Block_Get32(block, at + 4);
    const uint32_t count = Block_Get32(block, at + 8);
    at += header;
    if (!Block_Fits(block.size(), at, count)) return Module_Walk::past_block;
    for (uint32_t i = 0; i < count; ++i) {
      const uint64_t where = uint64_t{offset} + i;
      const bool inside = where < image.size();
      if (id == LINK_ID_READ) {
        block[at + i] = inside ? image[where] : 0;
      } else if (inside) {
        image[where] = block[at + i];
      }
    }
    at += count;
  }
  return Module_Walk::past_block;
}

void Image_Put(std::span<uint8_t> image, uint32_t offset, uint64_t value, uint32_t size) {
  for (uint32_t i = 0; i < size && i < 8; ++i) {
    const uint64_t where = uint64_t{offset} + i;
    if (where < image.size()) image[where] = static_cast<uint8_t>(value >> (8 * i));
  }
}

uint64_t Image_Get(std::span<const uint8_t> image, uint32_t offset, uint32_t size) {
  uint64_t value = 0;
  for (uint32_t i = 0; i < size && i < 8; ++i) {
    const uint64_t where = uint64_t{offset} + i;
    if (where < image.size()) value |= uint64_t{image[where]} << (8 * i);
  }
  return value;
}

}  // namespace orv
