// orvane-relay's engine: it listens on TCP, takes request blocks from link clients
// (relay_wire.h), checks each one, hands the allowed ones to the simulator beside it through the
// platform's own link transport (the module's window on Windows, the local socket on Linux) and
// sends the answered block back.
//   - One serving thread owns every socket and never waits on one client: sockets are
//     non-blocking, answers go out through a bounded queue per client, and a client that falls
//     behind is dropped. The simulator's exchanges run on a thread of their own (relay_sim.h):
//     while the simulator is busy, requests wait their turn, each client's in order and the
//     clients in turn, and a request that would wait past the client's wait is answered with
//     the time-out status at once.
//   - Connections that have not finished their hello wait in a pool of their own with a short
//     limit and never take a served client's place; a served client that sends nothing for long
//     is closed; each source address may hold only a few connections, and its request rate,
//     refused blocks and wrong keys are counted across its connections (relay_address.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "simlink/link_client.h"
#include "simlink/link_transport.h"
#include "simlink/net_socket.h"
#include "simlink/relay_address.h"
#include "simlink/relay_sim.h"
#include "simlink/relay_wire.h"

namespace orv {

struct Relay_Options {
  std::vector<Net_Address> listen;  // empty: 127.0.0.1:8002 only
  std::string key;                  // empty: the hello's hash is keyed with the empty key
  uint32_t max_clients = 8;         // served at once
  Relay_Limits limits;              // per source address
  uint32_t max_hellos = 128;        // connections still saying hello, beside the served ones
  uint32_t hello_timeout_ms = 1000;  // a connection must finish its hello within this
  uint32_t idle_timeout_ms = 30000;  // a served client that sends nothing for this is closed
  // When every place is taken, a new client takes that of a client silent for this long (the
  // chart reads once a second).
  uint32_t idle_takeover_ms = 5000;
  uint32_t client_wait_ms = 1900;  // an answer later than this finds the client gone (2000)
  uint32_t sim_timeout_ms = LINK_ANSWER_TIMEOUT_MS;
  uint32_t sim_look_interval_ms = 1000;  // how often a missing simulator is looked for
  uint32_t max_waiting = 16;             // one client's requests waiting for the simulator
  size_t max_queued_bytes = 128 * 1024;  // one client's answers not yet taken
  uint32_t send_timeout_ms = 2000;       // a client that takes none of them in this is dropped
  std::function<std::unique_ptr<Link_Transport>()> make_transport = Make_Platform_Transport;
};

// What the relay has done, for its log and for tests.
struct Relay_Counts {
  uint64_t clients_accepted = 0;
  uint64_t clients_refused = 0;  // wrong key, bad hello, too many clients or connections
  uint64_t wrong_keys = 0;
  uint64_t clients_dropped = 0;  // fell behind, silent too long, or squatted a place
  uint64_t blocks_passed = 0;    // handed to the simulator
  uint64_t blocks_refused = 0;   // malformed, oversized or forbidden, or over the rate
  uint64_t timed_out = 0;        // answered with the time-out status without reaching it
  uint64_t sim_opens = 0;
  uint64_t accept_pauses = 0;  // out of descriptors
};

enum class Relay_Stage : uint8_t {
  hello,   // waiting for "ORVR" and the version
  proof,   // the challenge sent, waiting for its answer
  window,  // greeted, waiting for the simulator's window to be known
  served,
};

struct Relay_Waiting {
  uint32_t sequence = 0;
  std::vector<uint8_t> block;
  std::chrono::steady_clock::time_point deadline;
};

struct Relay_Client {
  uint64_t id = 0;
  Net_Fd fd = NET_NONE;
  std::string address;
  Relay_Stage stage = Relay_Stage::hello;
  Relay_Challenge challenge{};
  std::vector<uint8_t> inbox;
  std::vector<uint8_t> outbox;  // answers not yet taken by the socket
  std::chrono::steady_clock::time_point since;     // connected
  std::chrono::steady_clock::time_point heard;     // last bytes from it
  std::chrono::steady_clock::time_point out_moved;  // last time its answers went out
  std::deque<Relay_Waiting> waiting;                // requests for the simulator, in order
  bool closing = false;  // closes once its answers are out
  bool dead = false;
};

struct Relay_Server {
  Relay_Options options;
  std::vector<Net_Fd> listeners;
  std::vector<Relay_Client> hellos;   // not greeted yet
  std::vector<Relay_Client> clients;  // greeted and served
  Relay_Address_Book addresses;
  std::unique_ptr<Relay_Sim_Worker> sim;
  uint32_t window_kind = 0;  // the simulator's window as last seen (RELAY_WINDOW_*)
  bool look_wanted = false;
  uint64_t next_id = 1;
  uint64_t last_turn = 0;  // the client whose request went to the simulator last
  double exchange_ms = 0;  // how long an exchange takes lately
  std::chrono::steady_clock::time_point exchange_started;
  std::chrono::steady_clock::time_point accept_paused_until;
  Relay_Counts counts;
};

// Opens the listening sockets and starts the simulator's thread. False with a message naming
// what failed.
bool Relay_Start(Relay_Server& server, std::string& error);

// Waits at most wait_ms for anything to do and does it: new clients, hellos, requests, answers.
void Relay_Serve_Once(Relay_Server& server, int wait_ms);

// Closes every connection, the listeners and the simulator link.
void Relay_Stop(Relay_Server& server);

}  // namespace orv
