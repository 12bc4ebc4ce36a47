// orvane-relay's engine: it listens on TCP, takes request blocks from link clients
// (relay_wire.h), checks each one, hands the allowed ones to the simulator beside it through the
// platform's own link transport (the module's window on Windows, the local socket on Linux) and
// sends the answered block back. One thread serves every client in turn: the simulator answers
// one block at a time anyway. A client that vanishes, stalls or misbehaves loses only its own
// connection; a simulator that went away is looked for again at the next block.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "simlink/link_client.h"
#include "simlink/link_transport.h"
#include "simlink/net_socket.h"

namespace orv {

struct Relay_Options {
  std::vector<Net_Address> listen;  // empty: 127.0.0.1:8002 only
  std::string key;                  // empty: no key asked for
  uint32_t max_clients = 8;
  uint32_t requests_per_second = 25;  // each client's; a chart tick makes 4
  uint32_t hello_timeout_ms = 5000;   // a connection must say hello within this
  uint32_t sim_timeout_ms = LINK_ANSWER_TIMEOUT_MS;
  uint32_t send_timeout_ms = 2000;  // a client that takes no answer in this is dropped
  std::function<std::unique_ptr<Link_Transport>()> make_transport = Make_Platform_Transport;
};

// What the relay has done, for its log and for tests.
struct Relay_Counts {
  uint64_t clients_accepted = 0;
  uint64_t clients_refused = 0;  // wrong key, bad hello, too many clients
  uint64_t blocks_passed = 0;    // handed to the simulator
  uint64_t blocks_refused = 0;   // malformed, oversized or forbidden, or over the rate
  uint64_t sim_opens = 0;
};

struct Relay_Client {
  Net_Fd fd = NET_NONE;
  std::vector<uint8_t> inbox;
  bool greeted = false;
  std::chrono::steady_clock::time_point since;
  double tokens = 0;  // requests it may still make now
  std::chrono::steady_clock::time_point refilled;
};

// The relay's own link to the simulator: the block it hands over, as the link client holds it.
struct Relay_Sim {
  std::unique_ptr<Link_Transport> transport;
  uintptr_t window = 0;
  uint32_t window_kind = 0;  // RELAY_WINDOW_*
  uint32_t msg = 0;
  uint16_t atom = 0;
  uintptr_t mapping = 0;
  uint8_t* view = nullptr;
};

struct Relay_Server {
  Relay_Options options;
  std::vector<Net_Fd> listeners;
  std::vector<Relay_Client> clients;
  Relay_Sim sim;
  Relay_Counts counts;
};

// Opens the listening sockets. False with a message naming the address that failed.
bool Relay_Start(Relay_Server& server, std::string& error);

// Waits at most wait_ms for anything to do and does it: new clients, hellos, requests.
void Relay_Serve_Once(Relay_Server& server, int wait_ms);

// Closes every connection, the listeners and the simulator link.
void Relay_Stop(Relay_Server& server);

}  // namespace orv
