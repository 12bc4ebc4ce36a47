#include "simlink/relay_server.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "simlink/link_block.h"
#include "simlink/relay_wire.h"

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

// Frames larger than this are never read: a request carries at most one block.
constexpr size_t kMaxFrame = RELAY_REQUEST_HEAD + LINK_BLOCK_SIZE;

// --- The simulator side ---

void Close_Sim(Relay_Sim& sim) {
  Link_Transport* t = sim.transport.get();
  if (t != nullptr) {
    if (sim.view != nullptr) t->Unmap_View(sim.view, LINK_BLOCK_SIZE);
    if (sim.mapping != 0) t->Close_Mapping(sim.mapping);
    if (sim.atom != 0) t->Delete_Atom(sim.atom);
    if (sim.window != 0) t->Release_Window(sim.window);
  }
  sim = {};
}

// Finds the module's window and sets up the block the relay hands it, as the link's open does.
bool Open_Sim(Relay_Server& server) {
  Relay_Sim& sim = server.sim;
  if (sim.view != nullptr) return true;
  Close_Sim(sim);
  sim.transport = server.options.make_transport();
  Link_Transport* t = sim.transport.get();
  if (t == nullptr) return false;
  sim.window = t->Find_Window(LINK_CLASS_MAIN);
  sim.window_kind = RELAY_WINDOW_MAIN;
  if (sim.window == 0) {
    sim.window = t->Find_Window(LINK_CLASS_FALLBACK);
    sim.window_kind = RELAY_WINDOW_FALLBACK;
  }
  std::array<char, LINK_NAME_FIELD> name{};
  std::snprintf(name.data(), name.size(), "%s:%X:%X", LINK_MESSAGE_NAME, t->Process_Id(), 1u);
  const bool ok = sim.window != 0 && (sim.msg = t->Register_Message(LINK_MESSAGE_NAME)) != 0 &&
                  (sim.atom = t->Add_Atom(name.data())) != 0;
  if (ok) {
    const Link_Mapping mapping = t->Create_Mapping(name.data(), LINK_BLOCK_SIZE);
    sim.mapping = mapping.handle;
    if (mapping.handle != 0 && !mapping.already_existed) {
      sim.view = t->Map_View(sim.mapping, LINK_BLOCK_SIZE);
    }
  }
  if (sim.view == nullptr) {
    Close_Sim(sim);
    return false;
  }
  ++server.counts.sim_opens;
  return true;
}

// Hands an allowed block to the simulator; gives the answer's status and reply value, and the
// answered block in `block`.
uint32_t Pass_To_Sim(Relay_Server& server, std::span<uint8_t> block, uint32_t& reply) {
  reply = 0;
  if (!Open_Sim(server)) return RELAY_ANSWER_NO_SIM;
  Relay_Sim& sim = server.sim;
  std::memset(sim.view, 0, LINK_BLOCK_SIZE);
  std::memcpy(sim.view, block.data(), block.size());
  ++server.counts.blocks_passed;
  const Link_Send_Result sent = sim.transport->Send_Message(
      sim.window, sim.msg, static_cast<int16_t>(sim.atom), 0, server.options.sim_timeout_ms);
  if (!sent.delivered) {
    // A simulator that is gone is looked for afresh at the next block; one that is only slow
    // keeps its link.
    if (sent.system_error != 0) {
      Close_Sim(sim);
      return RELAY_ANSWER_NO_SIM;
    }
    return RELAY_ANSWER_TIMEOUT;
  }
  std::memcpy(block.data(), sim.view, block.size());
  reply = sent.reply;
  return RELAY_ANSWER_DELIVERED;
}

// --- The clients ---

bool Send_To(const Relay_Server& server, Relay_Client& client, const std::vector<uint8_t>& out) {
  return Net_Send_All(client.fd, out.data(), out.size(), server.options.send_timeout_ms).status ==
         Io_Result::ok;
}

std::vector<uint8_t> Hello_Answer(uint32_t status, uint32_t window) {
  std::vector<uint8_t> out(8, 0);
  Block_Put32(out, 0, status);
  Block_Put32(out, 4, window);
  return out;
}

// Takes one request of the rate; false when the client has used them all for now.
bool Take_Token(const Relay_Options& options, Relay_Client& client) {
  const Clock::time_point now = Clock::now();
  const double seconds = std::chrono::duration<double>(now - client.refilled).count();
  const double rate = options.requests_per_second;
  client.tokens = std::min(rate, client.tokens + seconds * rate);
  client.refilled = now;
  if (client.tokens < 1.0) return false;
  client.tokens -= 1.0;
  return true;
}

// The hello at the front of the inbox. False when the client is to be dropped; `done` tells
// whether the whole hello has come.
bool Handle_Hello(Relay_Server& server, Relay_Client& client, size_t& used) {
  used = 0;
  const std::vector<uint8_t>& in = client.inbox;
  if (in.size() < RELAY_HELLO_HEAD) return true;
  const uint32_t key_size = Block_Get32(in, 8);
  const bool good = std::equal(RELAY_MAGIC.begin(), RELAY_MAGIC.end(), in.begin()) &&
                    Block_Get32(in, 4) == RELAY_VERSION && key_size <= RELAY_MAX_KEY;
  if (!good) {
    Send_To(server, client, Hello_Answer(RELAY_HELLO_BAD, RELAY_WINDOW_NONE));
    ++server.counts.clients_refused;
    return false;
  }
  if (in.size() < RELAY_HELLO_HEAD + key_size) return true;
  used = RELAY_HELLO_HEAD + key_size;
  const std::string key(in.begin() + RELAY_HELLO_HEAD, in.begin() + static_cast<long>(used));
  if (!Same_Key(key, server.options.key)) {
    Send_To(server, client, Hello_Answer(RELAY_HELLO_WRONG_KEY, RELAY_WINDOW_NONE));
    ++server.counts.clients_refused;
    return false;
  }
  client.greeted = true;
  ++server.counts.clients_accepted;
  const uint32_t window = Open_Sim(server) ? server.sim.window_kind : RELAY_WINDOW_NONE;
  return Send_To(server, client, Hello_Answer(RELAY_HELLO_OK, window));
}

// The request at the front of the inbox; the same contract as Handle_Hello.
bool Handle_Request(Relay_Server& server, Relay_Client& client, size_t& used) {
  used = 0;
  const std::vector<uint8_t>& in = client.inbox;
  if (in.size() < RELAY_REQUEST_HEAD) return true;
  const uint32_t sequence = Block_Get32(in, 0);
  const uint32_t length = Block_Get32(in, 4);
  if (length > LINK_BLOCK_SIZE) {
    // Its bytes are never read: the connection cannot be brought back in step.
    ++server.counts.blocks_refused;
    Send_To(server, client, Relay_Answer(sequence, RELAY_ANSWER_REFUSED, 0, {}));
    return false;
  }
  if (in.size() < RELAY_REQUEST_HEAD + length) return true;
  used = RELAY_REQUEST_HEAD + length;
  std::vector<uint8_t> block(in.begin() + RELAY_REQUEST_HEAD, in.begin() + static_cast<long>(used));
  uint32_t status = RELAY_ANSWER_REFUSED;
  uint32_t reply = 0;
  if (Check_Relay_Block(block) != Relay_Verdict::allowed) {
    ++server.counts.blocks_refused;
  } else if (!Take_Token(server.options, client)) {
    ++server.counts.blocks_refused;
    status = RELAY_ANSWER_TOO_FAST;
  } else {
    status = Pass_To_Sim(server, block, reply);
  }
  const std::span<const uint8_t> back = status == RELAY_ANSWER_DELIVERED
                                            ? std::span<const uint8_t>(block)
                                            : std::span<const uint8_t>();
  return Send_To(server, client, Relay_Answer(sequence, status, reply, back));
}

// Reads what the client sent and answers every whole frame. False when it is to be dropped.
bool Serve_Client(Relay_Server& server, Relay_Client& client) {
  std::array<uint8_t, 8192> chunk{};
  const size_t room = kMaxFrame - std::min(kMaxFrame, client.inbox.size());
  const Io_Result io = Net_Recv_Some(client.fd, chunk.data(), std::min(room + 1, chunk.size()), 0);
  if (io.status == Io_Result::broken) return false;
  client.inbox.insert(client.inbox.end(), chunk.begin(),
                      chunk.begin() + static_cast<long>(io.count));
  for (;;) {
    size_t used = 0;
    const bool keep =
        client.greeted ? Handle_Request(server, client, used) : Handle_Hello(server, client, used);
    if (!keep) return false;
    if (used == 0) break;
    client.inbox.erase(client.inbox.begin(), client.inbox.begin() + static_cast<long>(used));
  }
  return client.inbox.size() <= kMaxFrame;
}

void Accept_Clients(Relay_Server& server, Net_Fd listener) {
  for (;;) {
    const Net_Fd fd = Net_Accept(listener);
    if (fd == NET_NONE) return;
    Relay_Client client;
    client.fd = fd;
    if (server.clients.size() >= server.options.max_clients) {
      ++server.counts.clients_refused;
      Send_To(server, client, Hello_Answer(RELAY_HELLO_BUSY, RELAY_WINDOW_NONE));
      Net_Close(fd);
      continue;
    }
    client.since = Clock::now();
    client.refilled = client.since;
    client.tokens = server.options.requests_per_second;
    server.clients.push_back(std::move(client));
  }
}

}  // namespace

bool Relay_Start(Relay_Server& server, std::string& error) {
  std::vector<Net_Address> addresses = server.options.listen;
  if (addresses.empty()) addresses.push_back({"127.0.0.1", RELAY_DEFAULT_PORT});
  for (const Net_Address& a : addresses) {
    int code = 0;
    const Net_Fd fd = Net_Listen(a, code);
    if (fd == NET_NONE) {
      error = "cannot listen on " + Net_Address_Text(a) + " (error " + std::to_string(code) + ")";
      Relay_Stop(server);
      return false;
    }
    server.listeners.push_back(fd);
  }
  return true;
}

void Relay_Serve_Once(Relay_Server& server, int wait_ms) {
  std::vector<Net_Fd> fds = server.listeners;
  for (const Relay_Client& c : server.clients) fds.push_back(c.fd);
  std::vector<bool> ready;
  if (!Net_Wait_Readable(fds, wait_ms, ready)) return;
  const size_t listeners = server.listeners.size();
  // Clients first (those of this wait), then the new ones, which are read at the next wait.
  std::vector<Relay_Client> kept;
  const Clock::time_point now = Clock::now();
  for (size_t i = 0; i < server.clients.size(); ++i) {
    Relay_Client& c = server.clients[i];
    bool keep = !ready[listeners + i] || Serve_Client(server, c);
    if (keep && !c.greeted &&
        now - c.since > std::chrono::milliseconds(server.options.hello_timeout_ms)) {
      keep = false;
    }
    if (keep) {
      kept.push_back(std::move(c));
    } else {
      Net_Close(c.fd);
    }
  }
  server.clients = std::move(kept);
  for (size_t i = 0; i < listeners; ++i) {
    if (ready[i]) Accept_Clients(server, server.listeners[i]);
  }
}

void Relay_Stop(Relay_Server& server) {
  for (const Relay_Client& c : server.clients) Net_Close(c.fd);
  server.clients.clear();
  for (const Net_Fd fd : server.listeners) Net_Close(fd);
  server.listeners.clear();
  Close_Sim(server.sim);
}

}  // namespace orv
