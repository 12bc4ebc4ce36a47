#include "simlink/network_transport.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "simlink/link_block.h"
#include "simlink/relay_wire.h"

namespace orv {

using Clock = std::chrono::steady_clock;

namespace {

// Any non-zero number: across the network the message is the request frame itself.
constexpr uint32_t kMessageNumber = 0xC0DE;
constexpr uintptr_t kMapping = 1;
// The error a lost relay, or a relay that lost its simulator, gives the link: any non-zero
// value makes the failed send one with a system error.
constexpr uint32_t kLostError = 0x2746;  // the system's "connection reset" on Windows

int64_t Ms_Left(Clock::time_point deadline) {
  const int64_t left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? left : 0;
}

uint32_t Get32(const std::vector<uint8_t>& bytes, size_t at) {
  return Block_Get32(bytes, at);
}

}  // namespace

Network_Transport::Network_Transport(Network_Transport_Options options)
    : options_(std::move(options)) {}

Network_Transport::~Network_Transport() {
  Close_Connection();
}

void Network_Transport::Close_Connection() {
  Net_Close(fd_);
  fd_ = NET_NONE;
  window_ = RELAY_WINDOW_NONE;
  inbox_.clear();
}

// Receives exactly n bytes by the deadline.
bool Network_Transport::Receive(uint8_t* data, size_t n, Clock::time_point deadline) {
  size_t got = 0;
  while (got < n) {
    const Io_Result io = Net_Recv_Some(fd_, data + got, n - got, Ms_Left(deadline));
    if (io.status != Io_Result::ok) return false;
    got += io.count;
  }
  return true;
}

// The hello: the relay answers with a challenge, the client with its keyed hash, the relay with
// its verdict and the simulator's window. The key itself never crosses the network.
bool Network_Transport::Connect() {
  Close_Connection();
  hello_status_ = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(options_.connect_timeout_ms);
  if (options_.key.size() > RELAY_MAX_KEY ||
      Net_Connect(options_.relay, options_.connect_timeout_ms, fd_).status != Io_Result::ok) {
    return false;
  }
  const std::vector<uint8_t> hello = Relay_Hello();
  std::array<uint8_t, RELAY_HELLO_ANSWER> answer{};
  bool ok = Net_Send_All(fd_, hello.data(), hello.size(), Ms_Left(deadline)).status ==
                Io_Result::ok &&
            Receive(answer.data(), answer.size(), deadline);
  if (ok && Block_Get32(answer, 0) == RELAY_HELLO_CHALLENGE &&
      Block_Get32(answer, 4) == RELAY_CHALLENGE_SIZE) {
    Relay_Challenge challenge{};
    Relay_Proof proof{};
    ok = Receive(challenge.data(), challenge.size(), deadline) &&
         Relay_Hello_Proof(options_.key, challenge, proof) &&
         Net_Send_All(fd_, proof.data(), proof.size(), Ms_Left(deadline)).status ==
             Io_Result::ok &&
         Receive(answer.data(), answer.size(), deadline);
  }
  if (ok) {
    hello_status_ = Block_Get32(answer, 0);
    window_ = Block_Get32(answer, 4);
  }
  if (!ok || hello_status_ != RELAY_HELLO_OK || window_ == RELAY_WINDOW_NONE) {
    Close_Connection();
    return false;
  }
  return true;
}

uintptr_t Network_Transport::Find_Window(const char* class_name) {
  const bool main = std::strcmp(class_name, LINK_CLASS_MAIN) == 0;
  // The open looks for the main class first, then the fallback: one hello answers both, and an
  // address that did not answer is not tried twice.
  if (main || !connect_tried_) {
    connect_tried_ = true;
    Connect();
  }
  if (fd_ == NET_NONE) return 0;
  const uint32_t wanted = main ? RELAY_WINDOW_MAIN : RELAY_WINDOW_FALLBACK;
  return window_ == wanted ? static_cast<uintptr_t>(wanted) : 0;
}

void Network_Transport::Release_Window(uintptr_t) {
  Close_Connection();
  connect_tried_ = false;
}

uint32_t Network_Transport::Register_Message(const char*) {
  return kMessageNumber;
}

uint16_t Network_Transport::Add_Atom(const char*) {
  const uint16_t atom = next_atom_;
  next_atom_ = next_atom_ == 0xFFFF ? 0xC000 : static_cast<uint16_t>(next_atom_ + 1);
  return atom;
}

void Network_Transport::Delete_Atom(uint16_t) {}

Link_Mapping Network_Transport::Create_Mapping(const char*, uint32_t size) {
  if (mapped_ || size != LINK_BLOCK_SIZE) return {};
  block_.assign(size, 0);
  mapped_ = true;
  return {kMapping, false};
}

uint8_t* Network_Transport::Map_View(uintptr_t mapping, uint32_t size) {
  if (!mapped_ || mapping != kMapping || size != block_.size()) return nullptr;
  return block_.data();
}

void Network_Transport::Unmap_View(uint8_t*, uint32_t) {}

void Network_Transport::Close_Mapping(uintptr_t mapping) {
  if (mapping != kMapping) return;
  mapped_ = false;
  block_.clear();
}

Io_Result Network_Transport::Await_Frame(uint32_t sequence, int64_t timeout_ms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  std::array<uint8_t, 4096> chunk{};
  for (;;) {
    // Whole frames first: those of earlier messages are dropped, ours ends the wait.
    while (inbox_.size() >= RELAY_ANSWER_HEAD) {
      const uint32_t length = Get32(inbox_, 12);
      if (length > LINK_BLOCK_SIZE) return {Io_Result::broken, static_cast<int>(kLostError)};
      const size_t whole = RELAY_ANSWER_HEAD + length;
      if (inbox_.size() < whole) break;
      if (Get32(inbox_, 0) == sequence) return {};
      inbox_.erase(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(whole));
    }
    const Io_Result io = Net_Recv_Some(fd_, chunk.data(), chunk.size(), Ms_Left(deadline));
    if (io.status != Io_Result::ok) return io;
    inbox_.insert(inbox_.end(), chunk.begin(),
                  chunk.begin() + static_cast<std::ptrdiff_t>(io.count));
  }
}

Link_Send_Result Network_Transport::Send_Message(uintptr_t window, uint32_t, int32_t, int32_t,
                                                 uint32_t timeout_ms) {
  if (fd_ == NET_NONE || window != window_ || !mapped_) return {false, 0, kLostError};
  const auto start = Clock::now();
  const auto deadline = start + std::chrono::milliseconds(timeout_ms);
  uint32_t length = Queued_Length(block_);
  if (length == 0) length = LINK_BLOCK_SIZE;
  const uint32_t sequence = ++sequence_;
  const std::vector<uint8_t> frame =
      Relay_Request(sequence, std::span<const uint8_t>(block_.data(), length));
  Io_Result io = Net_Send_All(fd_, frame.data(), frame.size(), Ms_Left(deadline));
  // A relay that takes no message in time owes no answer for it.
  if (io.status == Io_Result::timeout && io.count == 0) return {false, 0, 0};
  if (io.status == Io_Result::ok) io = Await_Frame(sequence, Ms_Left(deadline));
  if (io.status == Io_Result::timeout) return {false, 0, 0};
  if (io.status != Io_Result::ok) {
    // A frame cut short, or a lost connection, puts every later frame out of step.
    Close_Connection();
    return {false, 0, io.error != 0 ? static_cast<uint32_t>(io.error) : kLostError};
  }
  const uint32_t status = Get32(inbox_, 4);
  const uint32_t reply = Get32(inbox_, 8);
  const uint32_t answered = Get32(inbox_, 12);
  const std::span<const uint8_t> data(inbox_.data() + RELAY_ANSWER_HEAD, answered);
  Link_Send_Result result{true, reply, 0};
  if (status == RELAY_ANSWER_DELIVERED && answered == length) {
    std::copy(data.begin(), data.end(), block_.begin());
  } else if (status == RELAY_ANSWER_DELIVERED || status == RELAY_ANSWER_REFUSED ||
             status == RELAY_ANSWER_TOO_FAST) {
    result = {true, 0, 0};  // the module's answer is not a success
  } else if (status == RELAY_ANSWER_TIMEOUT) {
    result = {false, 0, 0};
  } else {
    result = {false, 0, kLostError};
  }
  inbox_.erase(inbox_.begin(),
               inbox_.begin() + static_cast<std::ptrdiff_t>(RELAY_ANSWER_HEAD + answered));
  return result;
}

uint32_t Network_Transport::Process_Id() {
  return 0x0E1A;  // names nothing across the network; the block name only needs a number
}

}  // namespace orv
