// The simulator link across the network: the request block goes over TCP to orvane-relay, which
// hands it to the simulator beside it and sends the answered block back (relay_wire.h). The
// block lives in this process; the relay's answer is copied into it before the link walks the
// replies, so nothing above the transport changes.
//   - Finding the window connects and says hello: the relay's challenge is answered with its
//     HMAC under the key, so the key never crosses the network. A refused or unreachable
//     address, a relay that refuses the answer, or a relay with no simulator beside it is
//     "no window".
//   - Each message is one request frame; its answer carries the same sequence number. Answers
//     to earlier messages whose wait ran out are dropped unread, so a late answer never pairs
//     with a later request. No answer in time is a failed send without a system error; a lost
//     connection is a failed send with one.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "simlink/link_client.h"
#include "simlink/link_transport.h"
#include "simlink/net_socket.h"

namespace orv {

struct Network_Transport_Options {
  Net_Address relay;
  std::string key;  // the relay's shared key; empty when it has none
  uint32_t connect_timeout_ms = LINK_ANSWER_TIMEOUT_MS;
};

class Network_Transport final : public Link_Transport {
 public:
  explicit Network_Transport(Network_Transport_Options options);
  ~Network_Transport() override;
  Network_Transport(const Network_Transport&) = delete;
  Network_Transport& operator=(const Network_Transport&) = delete;

  uintptr_t Find_Window(const char* class_name) override;
  void Release_Window(uintptr_t window) override;
  uint32_t Register_Message(const char* text) override;
  uint16_t Add_Atom(const char* text) override;
  void Delete_Atom(uint16_t atom) override;
  Link_Mapping Create_Mapping(const char* name, uint32_t size) override;
  uint8_t* Map_View(uintptr_t mapping, uint32_t size) override;
  void Unmap_View(uint8_t* view, uint32_t size) override;
  void Close_Mapping(uintptr_t mapping) override;
  Link_Send_Result Send_Message(uintptr_t window, uint32_t msg, int32_t wparam, int32_t lparam,
                                uint32_t timeout_ms) override;
  uint32_t Process_Id() override;

  // The hello answer's status of the last connection (RELAY_HELLO_*), 0 when none came.
  uint32_t Hello_Status() const { return hello_status_; }

 private:
  bool Connect();
  bool Receive(uint8_t* data, size_t n, std::chrono::steady_clock::time_point deadline);
  void Close_Connection();
  // Reads answer frames until the one for `sequence` is whole; dropped answers are skipped.
  Io_Result Await_Frame(uint32_t sequence, int64_t timeout_ms);

  Network_Transport_Options options_;
  Net_Fd fd_ = NET_NONE;
  uint32_t window_ = 0;  // RELAY_WINDOW_* of the connection
  uint32_t hello_status_ = 0;
  bool connect_tried_ = false;  // one connection serves both window classes of one open
  uint32_t sequence_ = 0;
  std::vector<uint8_t> block_;  // the block in this process
  bool mapped_ = false;
  std::vector<uint8_t> inbox_;  // bytes come from the relay, not yet a whole frame
  uint16_t next_atom_ = 0xC000;
};

}  // namespace orv
