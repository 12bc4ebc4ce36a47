// The link across the network: a client over the network transport, orvane-relay's engine on
// loopback, and the fake module behind it. Runs on both platforms.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "chart/aircraft_tracking.h"
#include "core/program_state.h"
#include "simlink/fake_link_transport.h"
#include "simlink/network_transport.h"
#include "simlink/relay_running.h"
#include "simlink/relay_server.h"
#include "simlink/relay_wire.h"
#include "simlink/sim_choice.h"
#include "support/temp_dir.h"

namespace orv {
namespace {

using testing::Relay_Running;

Link_State Network_Link(uint16_t port, std::string key = "") {
  Link_State link;
  link.transport = std::make_unique<Network_Transport>(
      Network_Transport_Options{.relay = {"127.0.0.1", port}, .key = std::move(key)});
  link.sleep = [](uint32_t) {};
  Link_Init(link);
  return link;
}

TEST(Relay, ReadsTheAircraftAndFailsAsTheTickExpectsWhenTheRelayDies) {
  Relay_Running relay("secret");
  Link_State link = Network_Link(relay.port, "secret");
  int32_t result = -1;
  ASSERT_TRUE(Link_Open(link, 6, result)) << Link_Result_Name(result);
  auto state = std::make_unique<Program_State>();
  ASSERT_TRUE(Read_Aircraft(link, *state, result)) << Link_Result_Name(result);
  EXPECT_EQ(state->acft_hdg, -90);
  EXPECT_EQ(state->acft_lat, Lat_From_Raw(0x0401F3AF));
  EXPECT_EQ(state->altim_value, 1013);

  relay.Kill();
  EXPECT_FALSE(Read_Aircraft(link, *state, result));
  EXPECT_EQ(result, LINK_SEND_FAILED);
  Link_Close(link);

  // No relay at the address, or the wrong key: no simulator window.
  Link_State gone = Network_Link(relay.port, "secret");
  EXPECT_FALSE(Link_Open(gone, 6, result));
  EXPECT_EQ(result, LINK_NO_SIM_WINDOW);
  Relay_Running other("secret");
  Link_State wrong = Network_Link(other.port, "guess");
  EXPECT_FALSE(Link_Open(wrong, 6, result));
  EXPECT_EQ(result, LINK_NO_SIM_WINDOW);
  EXPECT_EQ(other.sends, 0);
}

// Raw frames on one connection: every bad block is refused and none reaches the module.
TEST(Relay, RefusesEveryBlockOutsideTheLinksOwnRequests) {
  Relay_Running relay;
  Net_Fd fd = NET_NONE;
  ASSERT_EQ(Net_Connect({"127.0.0.1", relay.port}, 2000, fd).status, Io_Result::ok);
  const auto send = [fd](const std::vector<uint8_t>& bytes) {
    return Net_Send_All(fd, bytes.data(), bytes.size(), 2000).status == Io_Result::ok;
  };
  const auto receive = [fd](size_t n) {
    std::vector<uint8_t> in(n);
    size_t got = 0;
    while (got < n) {
      const Io_Result io = Net_Recv_Some(fd, in.data() + got, n - got, 2000);
      if (io.status != Io_Result::ok) return std::vector<uint8_t>{};
      got += io.count;
    }
    return in;
  };
  ASSERT_TRUE(send(Relay_Hello()));
  const std::vector<uint8_t> challenge_frame = receive(RELAY_HELLO_ANSWER + RELAY_CHALLENGE_SIZE);
  ASSERT_EQ(Block_Get32(challenge_frame, 0), RELAY_HELLO_CHALLENGE);
  Relay_Challenge challenge{};
  std::copy_n(challenge_frame.begin() + RELAY_HELLO_ANSWER, challenge.size(), challenge.begin());
  Relay_Proof proof{};
  ASSERT_TRUE(Relay_Hello_Proof("", challenge, proof));
  ASSERT_TRUE(send(std::vector<uint8_t>(proof.begin(), proof.end())));
  ASSERT_EQ(Block_Get32(receive(8), 0), RELAY_HELLO_OK);

  const auto words = [](std::initializer_list<uint32_t> w) {
    std::vector<uint8_t> b(w.size() * 4);
    size_t at = 0;
    for (uint32_t v : w) Block_Put32(b, (at++) * 4, v);
    return b;
  };
  const std::vector<std::vector<uint8_t>> bad = {
      words({1, 0x0238, 4, 1, 0, 0}),                 // a read of another offset
      words({1, 0x0564, 0x20, 1, 0, 0, 0, 0, 0, 0}),  // past the end of the position
      words({2, 0x0330, 2, 0, 0}),                    // another write
      words({2, 0x330A, 4, 0, 0}),                    // the right offset, the wrong size
      words({1, 0x0564, 4}),                          // a header cut short
      words({1, 0x0564, 0xFFFFFFF0, 1, 0}),           // a count past the block
      words({1, 0x0564, 4, 1, 0}),                    // no terminator
      words({1, 0x0564, 4, 1, 0, 0, 0}),              // bytes after the terminator
      words({0x00010001, 0x0564, 4, 1, 0, 0}),        // an id with its high half set
      words({7, 0}),                                  // an unknown record
      {0, 0},                                         // shorter than a terminator
  };
  uint32_t sequence = 0;
  for (const std::vector<uint8_t>& block : bad) {
    ASSERT_TRUE(send(Relay_Request(++sequence, block)));
    const std::vector<uint8_t> answer = receive(RELAY_ANSWER_HEAD);
    ASSERT_EQ(answer.size(), RELAY_ANSWER_HEAD) << "block " << sequence;
    EXPECT_EQ(Block_Get32(answer, 0), sequence);
    EXPECT_EQ(Block_Get32(answer, 4), RELAY_ANSWER_REFUSED) << "block " << sequence;
    EXPECT_EQ(Block_Get32(answer, 12), 0u);
  }
  EXPECT_EQ(relay.sends, 0);

  // A good block after them goes through and comes back answered.
  ASSERT_TRUE(send(Relay_Request(++sequence, words({1, 0x0580, 4, 1, 0, 0}))));
  const std::vector<uint8_t> good = receive(RELAY_ANSWER_HEAD + 24);
  ASSERT_FALSE(good.empty());
  EXPECT_EQ(Block_Get32(good, 4), RELAY_ANSWER_DELIVERED);
  EXPECT_EQ(Block_Get32(good, 8), 1u);
  EXPECT_EQ(Block_Get32(good, RELAY_ANSWER_HEAD + 16), 0xC0000000u);
  EXPECT_EQ(relay.sends, 1);

  // A length beyond the block is refused unread and ends the connection.
  ASSERT_TRUE(send(words({++sequence, LINK_BLOCK_SIZE + 1})));
  EXPECT_EQ(Block_Get32(receive(RELAY_ANSWER_HEAD), 4), RELAY_ANSWER_REFUSED);
  EXPECT_TRUE(receive(1).empty());
  Net_Close(fd);
  EXPECT_EQ(relay.sends, 1);
}

TEST(Relay, ALateAnswerNeverPairsWithTheNextRequest) {
  Relay_Running relay;
  relay.hold_first = true;
  Network_Transport t({.relay = {"127.0.0.1", relay.port}, .key = ""});
  const uintptr_t window = t.Find_Window(LINK_CLASS_MAIN);
  ASSERT_NE(window, 0u);
  const Link_Mapping m = t.Create_Mapping("x", LINK_BLOCK_SIZE);
  uint8_t* view = t.Map_View(m.handle, LINK_BLOCK_SIZE);
  ASSERT_NE(view, nullptr);
  const std::span<uint8_t> block(view, LINK_BLOCK_SIZE);
  const auto queue_read = [&](uint32_t offset) {
    for (uint32_t i = 0; i < 24; ++i) view[i] = 0;
    Block_Put32(block, 0, 1);
    Block_Put32(block, 4, offset);
    Block_Put32(block, 8, 4);
  };
  queue_read(0x0564);
  EXPECT_FALSE(t.Send_Message(window, 1, 1, 0, 50).delivered);  // the module is held
  relay.release.set_value();
  queue_read(0x0580);
  const Link_Send_Result sent = t.Send_Message(window, 1, 1, 0, 2000);
  ASSERT_TRUE(sent.delivered);
  EXPECT_EQ(Block_Get32(block, 16), 0xC0000000u);  // the heading, not the late latitude
}

TEST(Relay, OldClientsAreToldAndAGoneSimulatorIsNotReported) {
  Relay_Running relay("k1");
  Net_Fd fd = NET_NONE;
  ASSERT_EQ(Net_Connect({"127.0.0.1", relay.port}, 2000, fd).status, Io_Result::ok);
  const std::vector<uint8_t> old = {'O', 'R', 'V', 'R', 1, 0, 0, 0, 2, 0, 0, 0, 'k', '1'};
  ASSERT_EQ(Net_Send_All(fd, old.data(), old.size(), 2000).status, Io_Result::ok);
  std::array<uint8_t, 8> answer{};
  size_t got = 0;
  while (got < answer.size()) {
    const Io_Result io = Net_Recv_Some(fd, answer.data() + got, answer.size() - got, 2000);
    ASSERT_EQ(io.status, Io_Result::ok);
    got += io.count;
  }
  EXPECT_EQ(Block_Get32(answer, 0), RELAY_HELLO_BAD);
  Net_Close(fd);

  Network_Transport first({.relay = {"127.0.0.1", relay.port}, .key = "k1"});
  EXPECT_EQ(first.Find_Window(LINK_CLASS_MAIN), RELAY_WINDOW_MAIN);
  relay.sim_gone = true;
  Network_Transport second({.relay = {"127.0.0.1", relay.port}, .key = "k1"});
  EXPECT_EQ(second.Find_Window(LINK_CLASS_MAIN), 0u);
  EXPECT_EQ(second.Hello_Status(), RELAY_HELLO_OK);
}

TEST(Relay, TheStoredChoiceRoundTripsAndDamageMeansThisComputer) {
  testing::Temp_Dir dir;
  const auto path = dir.path() / SIM_CHOICE_FILE;
  Sim_Choice choice;
  EXPECT_EQ(Load_Sim_Choice(path, choice), Sim_Choice_Load::missing);
  Sim_Choice stored;
  stored.remote = true;
  stored.address = {"fs-pc.local", 8002};
  stored.key = "k1";
  ASSERT_TRUE(Save_Sim_Choice(path, stored));
  ASSERT_EQ(Load_Sim_Choice(path, choice), Sim_Choice_Load::loaded);
  EXPECT_TRUE(choice.remote);
  EXPECT_EQ(Net_Address_Text(choice.address), "fs-pc.local:8002");
  EXPECT_EQ(choice.key, "k1");
  for (const char* text :
       {"address=fs-pc\n", "address=h:70000\n", "colour=red\n",
        "key=0123456789012345678901234567890123456789012345678901234567890123X"}) {
    testing::Write_Text(path, text);
    EXPECT_EQ(Load_Sim_Choice(path, choice), Sim_Choice_Load::damaged) << text;
    EXPECT_FALSE(choice.remote);
  }
}

}  // namespace
}  // namespace orv
