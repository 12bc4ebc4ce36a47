// The relay's guards that hold without a network: the hello's keyed answer, the accounting per
// source address, and the read data the simulator never sees.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "simlink/link_block.h"
#include "simlink/relay_address.h"
#include "simlink/relay_wire.h"

namespace orv {
namespace {

std::string Hex(const Relay_Proof& p) {
  std::string out;
  for (const uint8_t b : p) {
    char two[3];
    std::snprintf(two, sizeof two, "%02x", b);
    out += two;
  }
  return out;
}

TEST(Relay_Guard, TheChallengeAnswerIsTheKeyedHashOfHelloAndChallenge) {
  Relay_Challenge challenge{};
  for (size_t i = 0; i < challenge.size(); ++i) challenge[i] = static_cast<uint8_t>(i);
  Relay_Proof proof{};
  // HMAC-SHA-256 over "ORVR", version 2 and the challenge, worked out apart from this code.
  ASSERT_TRUE(Relay_Hello_Proof("k1", challenge, proof));
  EXPECT_EQ(Hex(proof), "b21aa31e68a05f072338aa2619f1dbc545c4a40edded91608e332ff8337f8a1a");
  ASSERT_TRUE(Relay_Hello_Proof("", challenge, proof));
  EXPECT_EQ(Hex(proof), "12a38b39a29712d3ed53ce76373a8ec483b55145234c5912c012079262a25758");

  // A client of the first version is told so; other bytes are no hello at all.
  const std::vector<uint8_t> old = {'O', 'R', 'V', 'R', 1, 0, 0, 0, 2, 0, 0, 0, 'k', '1'};
  EXPECT_EQ(Read_Relay_Hello(old), Relay_Hello_Read::old);
  EXPECT_EQ(Read_Relay_Hello(Relay_Hello()), Relay_Hello_Read::good);
  EXPECT_EQ(Read_Relay_Hello(std::vector<uint8_t>{'O', 'R'}), Relay_Hello_Read::more);
  EXPECT_EQ(Read_Relay_Hello(std::vector<uint8_t>{'G', 'E', 'T', ' '}),
            Relay_Hello_Read::not_hello);
}

TEST(Relay_Guard, AnAddressKeepsItsCountsAcrossConnections) {
  Relay_Address_Book book;
  Relay_Limits limits;
  const Relay_Clock::time_point t0 = Relay_Clock::now();
  // Its rate is shared by every connection it opens, one after another or at once.
  int taken = 0;
  for (int connection = 0; connection < 4; ++connection) {
    for (int i = 0; i < 25; ++i) {
      taken += Address_Take_Request(Address_Entry(book, "10.0.0.7", limits, t0), limits, t0);
    }
  }
  EXPECT_EQ(taken, 25);
  EXPECT_TRUE(Address_Take_Request(Address_Entry(book, "10.0.0.8", limits, t0), limits, t0));

  // Each wrong key doubles the wait, up to its bound; a right key forgives.
  Relay_Address& a = Address_Entry(book, "10.0.0.7", limits, t0);
  EXPECT_EQ(Address_Failed_Hello(a, limits, t0), 500u);
  EXPECT_EQ(Address_Failed_Hello(a, limits, t0), 1000u);
  EXPECT_EQ(Address_Failed_Hello(a, limits, t0), 2000u);
  EXPECT_TRUE(Address_Held(a, t0 + std::chrono::milliseconds(1999)));
  EXPECT_FALSE(Address_Held(a, t0 + std::chrono::milliseconds(2000)));
  for (int i = 0; i < 20; ++i) Address_Failed_Hello(a, limits, t0);
  EXPECT_EQ(Address_Failed_Hello(a, limits, t0), limits.max_penalty_ms);
  Address_Good_Hello(a);
  EXPECT_EQ(Address_Failed_Hello(a, limits, t0 + std::chrono::minutes(1)), 500u);

  // A stream of refused blocks holds the address; a trickle does not.
  Relay_Address& b = Address_Entry(book, "10.0.0.9", limits, t0);
  bool held = false;
  for (int i = 0; i < 200 && !held; ++i) {
    held = Address_Refused_Block(b, limits, t0 + std::chrono::seconds(2 * i));
  }
  EXPECT_FALSE(held);
  for (uint32_t i = 0; i <= limits.refused_burst && !held; ++i) {
    held = Address_Refused_Block(b, limits, t0 + std::chrono::seconds(400));
  }
  EXPECT_TRUE(held);

  // The book forgets quiet addresses and stays bounded.
  limits.max_addresses = 8;
  for (int i = 0; i < 50; ++i) Address_Entry(book, std::to_string(1000 + i), limits, t0);
  EXPECT_LE(book.entries.size(), 9u);
}

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> b(words.size() * 4);
  size_t at = 0;
  for (const uint32_t w : words) Block_Put32(b, 4 * at++, w);
  return b;
}

TEST(Relay_Guard, ReadDataIsZeroedAndEmptyReadsAreRefused) {
  // A read of the position whose 16 data bytes carry a whole write record of another offset.
  std::vector<uint8_t> block = Words({1, 0x0560, 16, 1, 2, 0x0330, 2, 0x7777, 0});
  ASSERT_EQ(Check_Relay_Block(block), Relay_Verdict::allowed);
  Zero_Read_Data(block);
  EXPECT_EQ(block, Words({1, 0x0560, 16, 1, 0, 0, 0, 0, 0}));

  // Reads of no bytes, inside a range or at its end, are refused.
  EXPECT_EQ(Check_Relay_Block(Words({1, 0x0564, 0, 1, 0})), Relay_Verdict::forbidden_read);
  EXPECT_EQ(Check_Relay_Block(Words({1, 0x0570, 0, 1, 0})), Relay_Verdict::forbidden_read);
  EXPECT_EQ(Check_Relay_Block(Words({1, 0x0580, 4, 1, 0, 0})), Relay_Verdict::allowed);
}

}  // namespace
}  // namespace orv
