// The link's reply walk over a 32768-byte block that the module filled with anything: a few
// reads are queued into fixed variables, the fake module answers with the input (zero-padded
// to the block's size), and the walk must deliver only inside those variables. The module
// side's walk of the same block is checked too.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "simlink/fake_link_transport.h"
#include "simlink/link_block.h"
#include "simlink/link_client.h"
#include "simlink/link_module.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, std::min<size_t>(size, orv::LINK_BLOCK_SIZE));

  // The module side answers the block in place against an image of the interface offsets.
  std::vector<uint8_t> block(orv::LINK_BLOCK_SIZE, 0);
  std::copy(input.begin(), input.end(), block.begin());
  std::vector<uint8_t> image(orv::MODULE_IMAGE_SIZE, 0);
  orv::Answer_Block(block, image);

  // The client side.
  orv::testing::Fake_Link fl;
  if (!fl.Open()) std::abort();
  fl.fake->module = [input](std::span<uint8_t> b, int) {
    std::fill(b.begin(), b.end(), uint8_t{0});
    std::copy(input.begin(), input.end(), b.begin());
    return orv::Link_Send_Result{true, 1, 0};
  };
  std::array<uint8_t, 8> a{};
  std::array<uint8_t, 2> b{};
  std::array<uint8_t, 16> c{};
  int32_t result = 0;
  orv::Link_Read(fl.link, 0x560, static_cast<int32_t>(a.size()), a.data(), result);
  orv::Link_Read(fl.link, 0x580, static_cast<int32_t>(b.size()), b.data(), result);
  orv::Link_Read(fl.link, 0x330, static_cast<int32_t>(c.size()), c.data(), result);
  orv::Link_Read(fl.link, 0x3304, 4, nullptr, result);
  const bool ok = orv::Link_Process(fl.link, result);
  if (ok != (result == orv::LINK_OK)) std::abort();
  // After a process nothing is queued and no destination is remembered.
  if (fl.link.link_next != 0 || !fl.link.dests.empty()) std::abort();
  orv::Link_Close(fl.link);
  return 0;
}
