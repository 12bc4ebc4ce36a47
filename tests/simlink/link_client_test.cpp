#include "simlink/link_client.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "simlink/fake_link_transport.h"

namespace orv {
namespace {

using testing::Fake_Link;
using testing::Fake_Transport;

void Put_Le(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> Bytes(std::span<const uint8_t> block, size_t from, size_t n) {
  return {block.begin() + static_cast<ptrdiff_t>(from),
          block.begin() + static_cast<ptrdiff_t>(from + n)};
}

// The link is fully released: window let go, atom deleted by its 16 bits, view and mapping gone.
void Expect_Released(const Fake_Link& f) {
  EXPECT_EQ(f.link.link_view, nullptr);
  EXPECT_EQ(f.link.link_map, 0u);
  EXPECT_EQ(f.link.link_atom, 0);
  EXPECT_EQ(f.link.link_hwnd, 0u);
  EXPECT_EQ(f.fake->deleted_atoms, std::vector<uint16_t>{0xC001});
  EXPECT_EQ(f.fake->views_unmapped, 1);
  EXPECT_EQ(f.fake->closed_mappings, std::vector<uintptr_t>{0x77});
}

TEST(LinkResultName, NamesEveryCodeAndNothingElse) {
  EXPECT_STREQ(Link_Result_Name(LINK_OK), "LINK_OK");
  EXPECT_STREQ(Link_Result_Name(LINK_NO_SIM_WINDOW), "LINK_NO_SIM_WINDOW");
  EXPECT_STREQ(Link_Result_Name(LINK_SEND_FAILED), "LINK_SEND_FAILED");
  EXPECT_STREQ(Link_Result_Name(LINK_TOO_BIG), "LINK_TOO_BIG");
  EXPECT_STREQ(Link_Result_Name(16), "LINK_UNKNOWN");
  EXPECT_STREQ(Link_Result_Name(-1), "LINK_UNKNOWN");
}

TEST(LinkQueue, LaysOutReadsAndWritesByteForByte) {
  Fake_Link f;
  ASSERT_TRUE(f.Open());
  std::fill(f.fake->block.begin(), f.fake->block.end(), 0xCC);
  uint32_t lat = 0xAAAAAAAA;
  uint32_t nothing = 0x55555555;
  const uint16_t lib = 0x1234;
  int32_t result = -1;
  ASSERT_TRUE(Link_Read(f.link, 0x0564, 4, &lat, result));
  EXPECT_EQ(result, LINK_OK);
  ASSERT_TRUE(Link_Read(f.link, 0x1234, 0, &nothing, result));
  ASSERT_TRUE(Link_Read(f.link, 0x0EC6, 2, nullptr, result));
  ASSERT_TRUE(Link_Write(f.link, 0x330A, 2, &lib, result));
  EXPECT_EQ(f.link.link_next, 68u);

  std::vector<uint8_t> want;
  for (uint32_t v : {1u, 0x0564u, 4u, 1u, 0u}) Put_Le(want, v);  // token 1, zeroed data
  for (uint32_t v : {1u, 0x1234u, 0u, 2u}) Put_Le(want, v);      // header only
  for (uint32_t v : {1u, 0x0EC6u, 2u, 0u}) Put_Le(want, v);      // no destination
  want.insert(want.end(), {0, 0});
  for (uint32_t v : {2u, 0x330Au, 2u}) Put_Le(want, v);
  want.insert(want.end(), {0x34, 0x12});
  ASSERT_EQ(want.size(), 68u);
  EXPECT_EQ(Bytes(f.fake->block, 0, 68), want);
  EXPECT_EQ(f.fake->block[68], 0xCC) << "nothing is written past the queue";

  Image_Put(f.fake->image, 0x0564, 0x11223344, 4);
  Image_Put(f.fake->image, 0x0EC6, 0xBEEF, 2);
  ASSERT_TRUE(Link_Process(f.link, result));
  EXPECT_EQ(result, LINK_OK);
  ASSERT_EQ(f.fake->sent_blocks.size(), 1u);
  EXPECT_EQ(Bytes(f.fake->sent_blocks[0], 68, 4), std::vector<uint8_t>(4, 0)) << "terminator";
  EXPECT_EQ(f.fake->sent_blocks[0][72], 0xCC);
  EXPECT_EQ(lat, 0x11223344u);
  EXPECT_EQ(nothing, 0x55555555u) << "a 0-byte read delivers nothing";
  EXPECT_EQ(Image_Get(f.fake->image, 0x330A, 2), 0x1234u) << "the write reached the module";
  EXPECT_EQ(f.link.link_next, 0u);
  EXPECT_TRUE(f.link.dests.empty());
  EXPECT_EQ(f.fake->send_timeouts, std::vector<uint32_t>{2000});
}

TEST(LinkQueue, RefusesRequestsThatPassTheQueueLimit) {
  Fake_Link f;
  ASSERT_TRUE(f.Open());
  int32_t result = -1;
  // A read ending exactly where the terminator still fits below 32512 is taken.
  std::vector<uint8_t> big(32512);
  ASSERT_TRUE(Link_Read(f.link, 0, 32512 - 4 - 16, big.data(), result));
  EXPECT_EQ(f.link.link_next, 32508u);
  std::fill(f.fake->block.begin() + 32508, f.fake->block.end(), 0xCC);
  uint32_t v = 0;
  EXPECT_FALSE(Link_Read(f.link, 0x0564, 0, &v, result));
  EXPECT_EQ(result, LINK_TOO_BIG);
  EXPECT_FALSE(Link_Write(f.link, 0x330A, 0, &v, result));
  EXPECT_EQ(result, LINK_TOO_BIG);
  EXPECT_EQ(f.link.link_next, 32508u);
  EXPECT_EQ(f.link.dests.size(), 1u) << "a refused read leaves no destination behind";
  EXPECT_EQ(Bytes(f.fake->block, 32508, 260), std::vector<uint8_t>(260, 0xCC));
  Link_Close(f.link);

  Fake_Link g;
  ASSERT_TRUE(g.Open());
  EXPECT_FALSE(Link_Read(g.link, 0, 32512 - 4 - 16 + 1, big.data(), result));
  EXPECT_EQ(result, LINK_TOO_BIG);
  EXPECT_FALSE(Link_Write(g.link, 0, 32512 - 4 - 12 + 1, big.data(), result));
  EXPECT_EQ(result, LINK_TOO_BIG);
  EXPECT_FALSE(Link_Read(g.link, 0, -1, big.data(), result)) << "a negative size never fits";
  EXPECT_FALSE(Link_Write(g.link, 0, INT32_MAX, big.data(), result));
  EXPECT_EQ(g.link.link_next, 0u);
  EXPECT_FALSE(Link_Process(g.link, result));
  EXPECT_EQ(result, LINK_NOTHING_QUEUED);
  EXPECT_TRUE(Link_Write(g.link, 0, 32512 - 4 - 12, big.data(), result));
  EXPECT_EQ(g.link.link_next, 32508u);
}

TEST(LinkQueue, NeedsAnOpenLinkAndSomethingToSend) {
  Fake_Link f;
  uint32_t v = 0;
  int32_t result = -1;
  EXPECT_FALSE(Link_Read(f.link, 0x0564, 4, &v, result));
  EXPECT_EQ(result, LINK_NOT_OPEN);
  result = -1;
  EXPECT_FALSE(Link_Write(f.link, 0x330A, 2, &v, result));
  EXPECT_EQ(result, LINK_NOT_OPEN);
  result = -1;
  EXPECT_FALSE(Link_Process(f.link, result));
  EXPECT_EQ(result, LINK_NOT_OPEN);

  ASSERT_TRUE(f.Open());
  EXPECT_FALSE(Link_Process(f.link, result));
  EXPECT_EQ(result, LINK_NOTHING_QUEUED);
  EXPECT_EQ(f.fake->sends, 0);
}

TEST(LinkOpen, ChecksVersionsAndNamesTheBlock) {
  Fake_Link f;
  int32_t result = -1;
  ASSERT_TRUE(Link_Open(f.link, 6, result));
  EXPECT_EQ(result, LINK_OK);
  EXPECT_EQ(f.link.link_iface_version, 0x19980005);
  EXPECT_EQ(f.link.link_sim_version, 6) << "only the low 16 bits are kept";
  EXPECT_EQ(f.link.link_lib_version, 0);
  EXPECT_EQ(f.link.link_hwnd, Fake_Transport::kMainWindow);
  EXPECT_EQ(f.link.link_msg, 0xC0F1u);
  EXPECT_EQ(f.link.link_atom, -16383) << "0xC001 sign-extended";
  EXPECT_EQ(f.link.link_map, 0x77u);
  EXPECT_EQ(f.link.link_view, f.fake->block.data());
  EXPECT_EQ(f.fake->atom_text, "FSASMLIB:IPC:1A2B:1");
  EXPECT_EQ(f.fake->mapping_name, "FSASMLIB:IPC:1A2B:1");
  EXPECT_EQ(f.fake->classes_looked_for, std::vector<std::string>{"UIPCMAIN"});
  EXPECT_EQ(f.sleeps, std::vector<uint32_t>{100});

  // One exchange: both version reads and the library version write.
  ASSERT_EQ(f.fake->sent_blocks.size(), 1u);
  std::vector<uint8_t> want;
  for (uint32_t v : {1u, 0x3304u, 4u, 1u, 0u, 1u, 0x3308u, 4u, 2u, 0u, 2u, 0x330Au, 2u}) {
    Put_Le(want, v);
  }
  want.insert(want.end(), {0, 0, 0, 0, 0, 0});
  EXPECT_EQ(Bytes(f.fake->sent_blocks[0], 0, want.size()), want);

  // Opening again keeps the open link as it is.
  EXPECT_FALSE(Link_Open(f.link, 6, result));
  EXPECT_EQ(result, LINK_ALREADY_OPEN);
  EXPECT_EQ(f.link.link_view, f.fake->block.data());
  EXPECT_EQ(f.link.link_sim_version, 6);
  EXPECT_EQ(f.link.link_iface_version, 0x19980005);
  EXPECT_EQ(f.fake->classes_looked_for.size(), 1u);
  EXPECT_TRUE(f.fake->deleted_atoms.empty());

  Link_Close(f.link);
  Expect_Released(f);
  EXPECT_EQ(f.fake->released_windows, std::vector<uintptr_t>{Fake_Transport::kMainWindow});
  Link_Close(f.link);
  EXPECT_EQ(f.fake->views_unmapped, 1) << "closing twice releases nothing twice";

  // The longest name: an 8-digit process id fills the 24-character field with its zero.
  Fake_Link g;
  g.fake->process_id = 0xFFFFFFFF;
  ASSERT_TRUE(Link_Open(g.link, 0, result));
  EXPECT_EQ(g.fake->atom_text, "FSASMLIB:IPC:FFFFFFFF:1");
  EXPECT_EQ(g.fake->atom_text.size() + 1, LINK_NAME_FIELD);
}

TEST(LinkOpen, AsksForVersionsUntilBothAreSetAtMostFiveTimes) {
  Fake_Link f;
  f.fake->module = [&f](std::span<uint8_t> block, int attempt) {
    if (attempt == 2) Image_Put(f.fake->image, LINK_OFS_SIM_VERSION, 0xFADE0006, 4);
    return f.fake->Answer_From_Image(block);
  };
  Image_Put(f.fake->image, LINK_OFS_SIM_VERSION, 0, 4);
  int32_t result = -1;
  ASSERT_TRUE(Link_Open(f.link, 6, result));
  EXPECT_EQ(f.fake->sends, 3);
  EXPECT_EQ(f.sleeps, std::vector<uint32_t>(3, 100));

  Fake_Link g;
  Image_Put(g.fake->image, LINK_OFS_IFACE_VERSION, 0, 4);
  EXPECT_FALSE(Link_Open(g.link, 6, result));
  EXPECT_EQ(result, LINK_BAD_VERSION);
  EXPECT_EQ(g.fake->sends, 5);
  EXPECT_EQ(g.sleeps, std::vector<uint32_t>(5, 100));
  Expect_Released(g);
}

TEST(LinkOpen, ReportsEachVersionFailure) {
  struct Case {
    uint32_t iface;
    uint32_t sim;
    bool fallback;
    int32_t sim_code;
    int32_t want;
  };
  const Case cases[] = {
      {0x19980005, 0xFADE0006, false, 6, LINK_OK},
      {0x19980004, 0xFADE0006, false, 6, LINK_BAD_VERSION},
      {0x19980004, 0xFADE0006, true, 6, LINK_NOT_READY},
      {0x19980005, 0xFADE0006, true, 6, LINK_OK},
      {0x80000000, 0xFADE0006, false, 6, LINK_BAD_VERSION},  // compared as signed
      {0x19980005, 0xFADF0006, false, 6, LINK_BAD_VERSION},
      {0x19980005, 0x0000FADE, true, 6, LINK_NOT_READY},
      {0x19980005, 0xFADE0007, false, 6, LINK_WRONG_SIM},
      {0x19980005, 0xFADE0007, false, 0, LINK_OK},  // 0 takes any simulator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << c.iface << " " << c.sim << " fallback "
                                      << c.fallback << " code " << c.sim_code);
    Fake_Link f;
    f.fake->has_main_class = !c.fallback;
    f.fake->has_fallback_class = c.fallback;
    Image_Put(f.fake->image, LINK_OFS_IFACE_VERSION, c.iface, 4);
    Image_Put(f.fake->image, LINK_OFS_SIM_VERSION, c.sim, 4);
    int32_t result = -1;
    EXPECT_EQ(Link_Open(f.link, c.sim_code, result), c.want == LINK_OK);
    EXPECT_EQ(result, c.want);
    if (c.want == LINK_OK) {
      EXPECT_EQ(f.link.link_sim_version, static_cast<int32_t>(c.sim & 0xFFFF));
      EXPECT_EQ(f.link.link_hwnd,
                c.fallback ? Fake_Transport::kFallbackWindow : Fake_Transport::kMainWindow);
    } else {
      Expect_Released(f);
    }
  }
}

TEST(LinkOpen, ReportsEachPlatformFailureAndReleasesWhatItHad) {
  int32_t result = -1;
  {
    Fake_Link f;
    f.fake->has_main_class = false;
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_NO_SIM_WINDOW);
    EXPECT_EQ(f.fake->classes_looked_for, (std::vector<std::string>{"UIPCMAIN", "FS98MAIN"}));
    EXPECT_TRUE(f.fake->atom_text.empty());
  }
  {
    Fake_Link f;
    f.fake->message = 0;
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_REGISTER_FAILED);
    EXPECT_TRUE(f.fake->atom_text.empty());
  }
  {
    Fake_Link f;
    f.fake->atom = 0;
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_ATOM_FAILED);
    EXPECT_TRUE(f.fake->mapping_name.empty());
    EXPECT_TRUE(f.fake->deleted_atoms.empty());
  }
  {
    Fake_Link f;
    f.fake->mapping = {0, false};
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_MAPPING_FAILED);
    EXPECT_EQ(f.fake->deleted_atoms, std::vector<uint16_t>{0xC001});
    EXPECT_TRUE(f.fake->closed_mappings.empty());
  }
  {
    Fake_Link f;
    f.fake->mapping = {0x77, true};
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_MAPPING_FAILED);
    EXPECT_EQ(f.fake->closed_mappings, std::vector<uintptr_t>{0x77});
    EXPECT_EQ(f.fake->views_unmapped, 0);
  }
  {
    Fake_Link f;
    f.fake->view_fails = true;
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_VIEW_FAILED);
    EXPECT_EQ(f.fake->closed_mappings, std::vector<uintptr_t>{0x77});
    EXPECT_EQ(f.fake->deleted_atoms, std::vector<uint16_t>{0xC001});
    EXPECT_EQ(f.fake->sends, 0);
  }
  {
    Fake_Link f;
    f.fake->module = [](std::span<uint8_t>, int) { return Link_Send_Result{false, 0, 0}; };
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_TIMEOUT);
    EXPECT_EQ(f.fake->sends, 11);
    Expect_Released(f);
  }
  {
    // A reply the walk cannot follow fails the open as a bad reply, never as success.
    Fake_Link f;
    f.fake->module = [&f](std::span<uint8_t> block, int) {
      f.fake->Answer_From_Image(block);
      Block_Put32(block, 0, 7);
      return Link_Send_Result{true, 1, 0};
    };
    EXPECT_FALSE(Link_Open(f.link, 6, result));
    EXPECT_EQ(result, LINK_BAD_REPLY);
    Expect_Released(f);
  }
}

TEST(LinkProcess, RetriesTenTimesAfterWaitsAndKeepsTheLinkOpen) {
  struct Case {
    uint32_t last_error;  // the system error of the eleventh attempt
    uint32_t earlier_error;
    int32_t want;
  };
  for (const Case& c :
       {Case{0, 0, LINK_TIMEOUT}, Case{32, 0, LINK_SEND_FAILED}, Case{0, 104, LINK_TIMEOUT}}) {
    SCOPED_TRACE(c.want);
    Fake_Link f;
    ASSERT_TRUE(f.Open());
    f.fake->module = [&c](std::span<uint8_t>, int attempt) {
      return Link_Send_Result{false, 0, attempt == 10 ? c.last_error : c.earlier_error};
    };
    uint32_t v = 0xDEAD;
    int32_t result = -1;
    ASSERT_TRUE(Link_Read(f.link, 0x0564, 4, &v, result));
    EXPECT_FALSE(Link_Process(f.link, result));
    EXPECT_EQ(result, c.want);
    EXPECT_EQ(f.fake->sends, 11);
    EXPECT_EQ(f.sleeps, std::vector<uint32_t>(10, 100));
    EXPECT_EQ(v, 0xDEADu);
    EXPECT_NE(f.link.link_view, nullptr) << "a failed exchange leaves closing to the caller";
    EXPECT_EQ(f.link.link_next, 0u);
    EXPECT_TRUE(f.link.dests.empty());
  }

  // Delivered at the third attempt: two waits, and the replies arrive.
  Fake_Link f;
  ASSERT_TRUE(f.Open());
  f.fake->module = [&f](std::span<uint8_t> block, int attempt) {
    if (attempt < 2) return Link_Send_Result{false, 0, 0};
    return f.fake->Answer_From_Image(block);
  };
  Image_Put(f.fake->image, 0x0580, 0xC0000000, 4);
  uint32_t hdg = 0;
  int32_t result = -1;
  ASSERT_TRUE(Link_Read(f.link, 0x0580, 4, &hdg, result));
  ASSERT_TRUE(Link_Process(f.link, result));
  EXPECT_EQ(hdg, 0xC0000000u);
  EXPECT_EQ(f.sleeps, std::vector<uint32_t>(2, 100));

  // A reply value other than 1 delivers nothing.
  f.fake->module = [&f](std::span<uint8_t> block, int) {
    f.fake->Answer_From_Image(block);
    return Link_Send_Result{true, 2, 0};
  };
  hdg = 0;
  ASSERT_TRUE(Link_Read(f.link, 0x0580, 4, &hdg, result));
  EXPECT_FALSE(Link_Process(f.link, result));
  EXPECT_EQ(result, LINK_BAD_REPLY);
  EXPECT_EQ(hdg, 0u);
}

// Answers from the image, then lets `damage` change the answered block.
void Damaged_Module(Fake_Link& f, std::function<void(std::span<uint8_t>)> damage) {
  f.fake->module = [&f, damage](std::span<uint8_t> block, int) {
    f.fake->Answer_From_Image(block);
    damage(block);
    return Link_Send_Result{true, 1, 0};
  };
}

struct Guarded {
  uint32_t value = 0;
  uint32_t guard = 0x600D600D;
};

TEST(LinkReplyWalk, StopsAtRecordsThatRunPastTheBlock) {
  struct Case {
    const char* what;
    std::function<void(std::span<uint8_t>)> damage;
    int delivered;  // how many of the two reads got their data
  };
  const Case cases[] = {
      {"count far past the block", [](auto b) { Block_Put32(b, 8, 0x7FFFFFF0); }, 0},
      {"count negative", [](auto b) { Block_Put32(b, 8, 0xFFFFFFFC); }, 0},
      {"count one past the block", [](auto b) { Block_Put32(b, 8, LINK_BLOCK_SIZE - 16 + 1); }, 0},
      {"data up to the block end, no terminator",
       [](auto b) { Block_Put32(b, 8, LINK_BLOCK_SIZE - 16); }, 1},
      {"second record unknown", [](auto b) { Block_Put32(b, 20, 7); }, 1},
      {"second record count past the block", [](auto b) { Block_Put32(b, 28, 0x8000); }, 1},
      {"no terminator, write headers to the end",
       [](auto b) {
         for (size_t at = 40; Block_Fits(b.size(), at, 4); at += 12) {
           Block_Put32(b, at, LINK_ID_WRITE);
           if (Block_Fits(b.size(), at, 12)) {
             Block_Put32(b, at + 4, 0);
             Block_Put32(b, at + 8, 0);
           }
         }
       },
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fake_Link f;
    ASSERT_TRUE(f.Open());
    Image_Put(f.fake->image, 0x0564, 0x01020304, 4);
    Image_Put(f.fake->image, 0x056C, 0x05060708, 4);
    Damaged_Module(f, c.damage);
    Guarded first;
    Guarded second;
    int32_t result = -1;
    ASSERT_TRUE(Link_Read(f.link, 0x0564, 4, &first.value, result));
    ASSERT_TRUE(Link_Read(f.link, 0x056C, 4, &second.value, result));
    EXPECT_FALSE(Link_Process(f.link, result));
    EXPECT_EQ(result, LINK_BAD_REPLY);
    EXPECT_EQ(first.value, c.delivered >= 1 ? 0x01020304u : 0u);
    EXPECT_EQ(first.guard, 0x600D600Du);
    EXPECT_EQ(second.value, c.delivered >= 2 ? 0x05060708u : 0u);
    EXPECT_EQ(second.guard, 0x600D600Du);
    EXPECT_EQ(f.link.link_next, 0u);
    EXPECT_TRUE(f.link.dests.empty());
  }
}

TEST(LinkReplyWalk, DeliversOnlyToKnownDestinationsAndOnlyWhatTheyAskedFor) {
  Fake_Link f;
  ASSERT_TRUE(f.Open());
  Image_Put(f.fake->image, 0x0564, 0x01020304, 4);
  Image_Put(f.fake->image, 0x0568, 0x0A0B0C0D, 4);
  Image_Put(f.fake->image, 0x056C, 0x05060708, 4);
  int32_t result = -1;

  // An unknown token and a token of 0 are skipped; the ids' high halves are ignored.
  Damaged_Module(f, [](std::span<uint8_t> b) {
    Block_Put32(b, 12, 99);
    Block_Put32(b, 20, 0xABCD0001);
    Block_Put32(b, 32, 0);
  });
  Guarded first;
  Guarded second;
  ASSERT_TRUE(Link_Read(f.link, 0x0564, 4, &first.value, result));
  ASSERT_TRUE(Link_Read(f.link, 0x056C, 4, &second.value, result));
  ASSERT_TRUE(Link_Process(f.link, result));
  EXPECT_EQ(result, LINK_OK);
  EXPECT_EQ(first.value, 0u);
  EXPECT_EQ(second.value, 0u);

  // A reply count above the one asked for copies only what the destination holds.
  Damaged_Module(f, [](std::span<uint8_t> b) {
    Block_Put32(b, 8, 8);
    Block_Put32(b, 16 + 4, 0x0A0B0C0D);
    Block_Put32(b, 16 + 8, 0);
  });
  ASSERT_TRUE(Link_Read(f.link, 0x0564, 4, &first.value, result));
  ASSERT_TRUE(Link_Process(f.link, result));
  EXPECT_EQ(first.value, 0x01020304u);
  EXPECT_EQ(first.guard, 0x600D600Du);

  // Tokens belong to one exchange: a reply naming a token of the last one is skipped.
  Damaged_Module(f, [](std::span<uint8_t> b) { Block_Put32(b, 12, 2); });
  second.value = 0;
  ASSERT_TRUE(Link_Read(f.link, 0x056C, 4, &second.value, result));
  ASSERT_TRUE(Link_Process(f.link, result));
  EXPECT_EQ(second.value, 0u);
}

}  // namespace
}  // namespace orv
