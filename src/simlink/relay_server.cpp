#include "simlink/relay_server.h"

#include <algorithm>
#include <array>

#include "simlink/link_block.h"
#include "simlink/relay_crypto.h"

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Frames larger than this are never read: a request carries at most one block.
constexpr size_t kMaxFrame = RELAY_REQUEST_HEAD + LINK_BLOCK_SIZE;
// The longest wait of one round while a limit or a deadline is running.
constexpr int kTimerMs = 25;
// How long the accept loop rests when the process has run out of descriptors.
constexpr milliseconds kAcceptPause{250};

int64_t Ms_Between(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration_cast<milliseconds>(to - from).count();
}

std::vector<uint8_t> Hello_Answer(uint32_t status, uint32_t window) {
  std::vector<uint8_t> out(RELAY_HELLO_ANSWER, 0);
  Block_Put32(out, 0, status);
  Block_Put32(out, 4, window);
  return out;
}

Relay_Address& Address_Of(Relay_Server& server, const Relay_Client& client, Clock::time_point now) {
  return Address_Entry(server.addresses, client.address, server.options.limits, now);
}

// --- Sending ---

// Sends what the socket takes now; the rest waits in the client's queue.
void Flush(Relay_Client& client, Clock::time_point now) {
  if (client.outbox.empty() || client.dead) return;
  const Io_Result io = Net_Send_Now(client.fd, client.outbox.data(), client.outbox.size());
  if (io.count > 0) {
    client.outbox.erase(client.outbox.begin(),
                        client.outbox.begin() + static_cast<std::ptrdiff_t>(io.count));
    client.out_moved = now;
  }
  if (io.status == Io_Result::broken) client.dead = true;
}

// Queues bytes for the client; a client whose queue is over its bound has fallen behind and is
// dropped, never waited for.
void Queue_Out(Relay_Server& server, Relay_Client& client, const std::vector<uint8_t>& bytes,
               Clock::time_point now) {
  if (client.dead) return;
  if (client.outbox.size() + bytes.size() > server.options.max_queued_bytes) {
    client.dead = true;
    ++server.counts.clients_dropped;
    return;
  }
  if (client.outbox.empty()) client.out_moved = now;
  client.outbox.insert(client.outbox.end(), bytes.begin(), bytes.end());
  Flush(client, now);
}

void Answer(Relay_Server& server, Relay_Client& client, uint32_t sequence, uint32_t status,
            Clock::time_point now) {
  Queue_Out(server, client, Relay_Answer(sequence, status, 0, {}), now);
}

// A refusal of a hello: its few bytes go into the fresh socket's buffer, and the connection ends.
void Refuse_Hello(Relay_Server& server, Relay_Client& client, uint32_t status) {
  const std::vector<uint8_t> out = Hello_Answer(status, RELAY_WINDOW_NONE);
  Net_Send_Now(client.fd, out.data(), out.size());
  client.dead = true;
  ++server.counts.clients_refused;
}

// --- Hellos ---

// Gives the greeted client a served place: a free one, or that of a client silent for long.
// Greeted connections still in the pool hold theirs already.
bool Find_Place(Relay_Server& server, Clock::time_point now) {
  const auto live = [](const Relay_Client& c) { return !c.dead; };
  const auto greeted = [](const Relay_Client& c) {
    return !c.dead && c.stage != Relay_Stage::hello && c.stage != Relay_Stage::proof;
  };
  const auto taken =
      static_cast<size_t>(std::count_if(server.clients.begin(), server.clients.end(), live) +
                          std::count_if(server.hellos.begin(), server.hellos.end(), greeted));
  if (taken < server.options.max_clients) return true;
  Relay_Client* quietest = nullptr;
  for (Relay_Client& c : server.clients) {
    if (!c.dead && (quietest == nullptr || c.heard < quietest->heard)) quietest = &c;
  }
  if (quietest == nullptr ||
      now - quietest->heard < milliseconds(server.options.idle_takeover_ms)) {
    return false;
  }
  quietest->dead = true;
  ++server.counts.clients_dropped;
  return true;
}

void Greet(Relay_Server& server, Relay_Client& client, Clock::time_point now) {
  Address_Good_Hello(Address_Of(server, client, now));
  if (!Find_Place(server, now)) {
    Refuse_Hello(server, client, RELAY_HELLO_BUSY);
    return;
  }
  ++server.counts.clients_accepted;
  client.stage = Relay_Stage::window;
  client.heard = now;
  // While the simulator's thread is busy the simulator was there when its exchange began; when
  // it is idle it looks again now, so that a simulator that went away is not reported.
  if (server.sim->Busy() && !server.look_wanted && server.window_kind != RELAY_WINDOW_NONE) {
    client.stage = Relay_Stage::served;
    Queue_Out(server, client, Hello_Answer(RELAY_HELLO_OK, server.window_kind), now);
  } else {
    server.look_wanted = true;
  }
}

void Check_Proof(Relay_Server& server, Relay_Client& client, Clock::time_point now) {
  Relay_Proof got{};
  std::copy_n(client.inbox.begin(), got.size(), got.begin());
  client.inbox.erase(client.inbox.begin(), client.inbox.begin() + RELAY_PROOF_SIZE);
  Relay_Address& address = Address_Of(server, client, now);
  Relay_Proof want{};
  // While the address pays for a wrong key its answers are not even looked at.
  const bool right = !Address_Held(address, now) &&
                     Relay_Hello_Proof(server.options.key, client.challenge, want) &&
                     Same_Proof(got, want);
  if (!right) {
    if (!Address_Held(address, now)) Address_Failed_Hello(address, server.options.limits, now);
    ++server.counts.wrong_keys;
    Refuse_Hello(server, client, RELAY_HELLO_WRONG_KEY);
    return;
  }
  Greet(server, client, now);
}

void Handle_Hello(Relay_Server& server, Relay_Client& client, Clock::time_point now) {
  if (client.stage == Relay_Stage::hello) {
    const Relay_Hello_Read read = Read_Relay_Hello(client.inbox);
    if (read == Relay_Hello_Read::more) return;
    if (read != Relay_Hello_Read::good) {
      Refuse_Hello(server, client, RELAY_HELLO_BAD);
      return;
    }
    client.inbox.erase(client.inbox.begin(), client.inbox.begin() + RELAY_HELLO_HEAD);
    if (!Random_Bytes(client.challenge)) {
      Refuse_Hello(server, client, RELAY_HELLO_BUSY);
      return;
    }
    client.stage = Relay_Stage::proof;
    Queue_Out(server, client, Relay_Challenge_Frame(client.challenge), now);
  }
  if (client.stage == Relay_Stage::proof && client.inbox.size() >= RELAY_PROOF_SIZE) {
    Check_Proof(server, client, now);
  }
}

// --- Requests ---

// How long a new request of the client would wait before the simulator takes it: the rest of
// the exchange under way, then the clients in turn, each one request a turn, up to this
// client's own. Its own exchange is not counted: it gets what is left of the client's wait.
int64_t Expected_Wait_Ms(const Relay_Server& server, const Relay_Client& client,
                         Clock::time_point now) {
  const size_t own = client.waiting.size();
  size_t ahead = own;
  for (const Relay_Client& c : server.clients) {
    if (&c != &client) ahead += std::min(c.waiting.size(), own + 1);
  }
  double ms = static_cast<double>(ahead) * server.exchange_ms;
  if (server.sim->Busy()) {
    ms += std::max(0.0, server.exchange_ms -
                            static_cast<double>(Ms_Between(server.exchange_started, now)));
  }
  return static_cast<int64_t>(ms);
}

// Checks one request and answers it or queues it for the simulator.
void Take_Request(Relay_Server& server, Relay_Client& client, uint32_t sequence,
                  std::vector<uint8_t> block, Clock::time_point now) {
  Relay_Address& address = Address_Of(server, client, now);
  if (!Address_Take_Request(address, server.options.limits, now)) {
    ++server.counts.blocks_refused;
    Answer(server, client, sequence, RELAY_ANSWER_TOO_FAST, now);
    return;
  }
  if (Check_Relay_Block(block) != Relay_Verdict::allowed) {
    ++server.counts.blocks_refused;
    Answer(server, client, sequence, RELAY_ANSWER_REFUSED, now);
    if (Address_Refused_Block(address, server.options.limits, now)) client.closing = true;
    return;
  }
  const Clock::time_point deadline = now + milliseconds(server.options.client_wait_ms);
  if (client.waiting.size() >= server.options.max_waiting ||
      now + milliseconds(Expected_Wait_Ms(server, client, now)) >= deadline) {
    ++server.counts.timed_out;
    Answer(server, client, sequence, RELAY_ANSWER_TIMEOUT, now);
    return;
  }
  Zero_Read_Data(block);
  client.waiting.push_back({sequence, std::move(block), deadline});
}

// Takes every whole request at the front of the inbox.
void Handle_Requests(Relay_Server& server, Relay_Client& client, Clock::time_point now) {
  while (!client.closing && !client.dead && client.inbox.size() >= RELAY_REQUEST_HEAD) {
    const uint32_t sequence = Block_Get32(client.inbox, 0);
    const uint32_t length = Block_Get32(client.inbox, 4);
    if (length > LINK_BLOCK_SIZE) {
      // Its bytes are never read: the connection cannot be brought back in step.
      ++server.counts.blocks_refused;
      Answer(server, client, sequence, RELAY_ANSWER_REFUSED, now);
      Address_Refused_Block(Address_Of(server, client, now), server.options.limits, now);
      client.closing = true;
      return;
    }
    if (client.inbox.size() < RELAY_REQUEST_HEAD + length) return;
    const auto first = client.inbox.begin() + RELAY_REQUEST_HEAD;
    std::vector<uint8_t> block(first, first + length);
    client.inbox.erase(client.inbox.begin(), first + length);
    Take_Request(server, client, sequence, std::move(block), now);
  }
}

// Reads what the client sent and handles every whole frame.
void Read_Client(Relay_Server& server, Relay_Client& client, Clock::time_point now) {
  std::array<uint8_t, 8192> chunk{};
  const size_t room = kMaxFrame + 1 - std::min(kMaxFrame, client.inbox.size());
  const Io_Result io = Net_Recv_Some(client.fd, chunk.data(), std::min(room, chunk.size()), 0);
  if (io.status == Io_Result::broken) {
    client.dead = true;
    return;
  }
  if (io.count == 0) return;
  client.heard = now;
  client.inbox.insert(client.inbox.end(), chunk.begin(),
                      chunk.begin() + static_cast<std::ptrdiff_t>(io.count));
  if (client.stage == Relay_Stage::hello || client.stage == Relay_Stage::proof) {
    Handle_Hello(server, client, now);
  } else if (client.stage == Relay_Stage::served) {
    Handle_Requests(server, client, now);
  }
  // A client that sends more than a frame before its answers is not a link client.
  if (client.inbox.size() > kMaxFrame) client.dead = true;
}

// --- The simulator ---

Relay_Client* Client_By_Id(Relay_Server& server, uint64_t id) {
  for (Relay_Client& c : server.clients) {
    if (c.id == id && !c.dead) return &c;
  }
  return nullptr;
}

void Finish_Job(Relay_Server& server, Relay_Sim_Done done, Clock::time_point now) {
  server.window_kind = done.window_kind;
  server.counts.sim_opens += done.opened ? 1 : 0;
  if (done.job.kind == Relay_Sim_Job::look) {
    for (Relay_Client& c : server.clients) {
      if (c.stage != Relay_Stage::window || c.dead) continue;
      c.stage = Relay_Stage::served;
      Queue_Out(server, c, Hello_Answer(RELAY_HELLO_OK, server.window_kind), now);
      Handle_Requests(server, c, now);
    }
    return;
  }
  const double took = std::chrono::duration<double, std::milli>(done.took).count();
  server.exchange_ms = server.exchange_ms * 0.75 + took * 0.25;
  server.counts.blocks_passed += done.passed ? 1 : 0;
  Relay_Client* client = Client_By_Id(server, done.job.client);
  if (client == nullptr) return;
  const bool delivered = done.status == RELAY_ANSWER_DELIVERED;
  Queue_Out(server, *client,
            Relay_Answer(done.job.sequence, done.status, delivered ? done.reply : 0,
                         delivered ? std::span<const uint8_t>(done.job.block)
                                   : std::span<const uint8_t>()),
            now);
}

// The next client in turn with a request waiting, after the one served last.
Relay_Client* Next_In_Turn(Relay_Server& server) {
  Relay_Client* after = nullptr;
  Relay_Client* first = nullptr;
  for (Relay_Client& c : server.clients) {
    if (c.dead || c.waiting.empty()) continue;
    if (first == nullptr || c.id < first->id) first = &c;
    if (c.id > server.last_turn && (after == nullptr || c.id < after->id)) after = &c;
  }
  return after != nullptr ? after : first;
}

void Start_Next_Job(Relay_Server& server, Clock::time_point now) {
  if (server.sim->Busy()) return;
  if (server.look_wanted) {
    server.look_wanted = false;
    server.exchange_started = now;
    server.sim->Start_Job({});
    return;
  }
  Relay_Client* client = Next_In_Turn(server);
  if (client == nullptr) return;
  Relay_Waiting w = std::move(client->waiting.front());
  client->waiting.pop_front();
  server.last_turn = client->id;
  Relay_Sim_Job job;
  job.kind = Relay_Sim_Job::pass;
  job.client = client->id;
  job.sequence = w.sequence;
  job.block = std::move(w.block);
  job.timeout_ms = static_cast<uint32_t>(
      std::clamp<int64_t>(Ms_Between(now, w.deadline), 1, server.options.sim_timeout_ms));
  server.exchange_started = now;
  server.sim->Start_Job(std::move(job));
}

// --- Limits in time ---

void Check_Times(Relay_Server& server, Relay_Client& client, Clock::time_point now) {
  const Relay_Options& o = server.options;
  const bool greeting = client.stage == Relay_Stage::hello || client.stage == Relay_Stage::proof;
  if (greeting && now - client.since > milliseconds(o.hello_timeout_ms)) client.dead = true;
  if (!greeting && now - client.heard > milliseconds(o.idle_timeout_ms)) {
    client.dead = true;
    ++server.counts.clients_dropped;
  }
  if (!client.outbox.empty() && now - client.out_moved > milliseconds(o.send_timeout_ms)) {
    client.dead = true;
    ++server.counts.clients_dropped;
  }
  // Requests whose client has stopped waiting are answered so, and never reach the simulator.
  while (!client.dead && !client.waiting.empty() && client.waiting.front().deadline <= now) {
    ++server.counts.timed_out;
    Answer(server, client, client.waiting.front().sequence, RELAY_ANSWER_TIMEOUT, now);
    client.waiting.pop_front();
  }
  if (client.closing && client.outbox.empty()) client.dead = true;
}

void Bury(Relay_Server& server, std::vector<Relay_Client>& list, Clock::time_point now) {
  std::erase_if(list, [&](Relay_Client& c) {
    if (!c.dead) return false;
    Net_Close(c.fd);
    Relay_Address& a = Address_Of(server, c, now);
    if (a.connections > 0) --a.connections;
    return true;
  });
}

// --- New connections ---

void Take_Connection(Relay_Server& server, Net_Fd fd, const std::string& peer,
                     Clock::time_point now) {
  Relay_Client client;
  client.id = server.next_id++;
  client.fd = fd;
  client.address = peer;
  client.since = client.heard = client.out_moved = now;
  Relay_Address& address = Address_Entry(server.addresses, peer, server.options.limits, now);
  if (address.connections >= server.options.limits.connections || Address_Held(address, now)) {
    Refuse_Hello(server, client, RELAY_HELLO_BUSY);
    Net_Close(fd);
    return;
  }
  ++address.connections;
  // A full pool lets its oldest hello go: a flood of silent connections cannot keep one out.
  if (server.hellos.size() >= server.options.max_hellos) {
    auto oldest = std::min_element(server.hellos.begin(), server.hellos.end(),
                                   [](const Relay_Client& a, const Relay_Client& b) {
                                     return a.dead != b.dead ? a.dead : a.since < b.since;
                                   });
    oldest->dead = true;
    Bury(server, server.hellos, now);
  }
  server.hellos.push_back(std::move(client));
}

void Accept_Clients(Relay_Server& server, Net_Fd listener, Clock::time_point now) {
  // Bounded, so that a flood of connections cannot keep the round from the clients.
  for (int i = 0; i < 64; ++i) {
    std::string peer;
    bool exhausted = false;
    const Net_Fd fd = Net_Accept(listener, peer, exhausted);
    if (fd == NET_NONE) {
      if (exhausted) {
        server.accept_paused_until = now + kAcceptPause;
        ++server.counts.accept_pauses;
      }
      return;
    }
    Take_Connection(server, fd, peer, now);
  }
}

bool Timers_Running(const Relay_Server& server, Clock::time_point now) {
  if (!server.hellos.empty() || now < server.accept_paused_until) return true;
  return std::any_of(server.clients.begin(), server.clients.end(), [](const Relay_Client& c) {
    return !c.waiting.empty() || !c.outbox.empty() || c.closing;
  });
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
  server.sim = std::make_unique<Relay_Sim_Worker>(server.options.make_transport,
                                                  server.options.sim_look_interval_ms);
  if (!server.sim->Started()) {
    error = "cannot start the simulator's thread";
    Relay_Stop(server);
    return false;
  }
  return true;
}

void Relay_Serve_Once(Relay_Server& server, int wait_ms) {
  if (server.sim == nullptr) return;
  Clock::time_point now = Clock::now();
  const bool accepting = now >= server.accept_paused_until;
  std::vector<Net_Poll> polls;
  polls.push_back({server.sim->Wake_Fd()});
  if (accepting) {
    for (const Net_Fd fd : server.listeners) polls.push_back({fd});
  }
  for (const Relay_Client& c : server.hellos) polls.push_back({c.fd, !c.outbox.empty()});
  for (const Relay_Client& c : server.clients) polls.push_back({c.fd, !c.outbox.empty()});
  const int wait = Timers_Running(server, now) ? std::min(wait_ms, kTimerMs) : wait_ms;
  if (!Net_Wait(polls, wait)) return;
  now = Clock::now();

  size_t at = 0;
  if (polls[at++].readable) {
    if (std::optional<Relay_Sim_Done> done = server.sim->Take_Done()) {
      Finish_Job(server, std::move(*done), now);
    }
  }
  const size_t first_listener = at;
  if (accepting) at += server.listeners.size();
  // The clients first, then the new connections, which are read at the next round.
  std::vector<Relay_Client> promoted;
  for (Relay_Client& c : server.hellos) {
    const Net_Poll& p = polls[at++];
    if (p.writable) Flush(c, now);
    if (p.readable) Read_Client(server, c, now);
    Check_Times(server, c, now);
  }
  for (Relay_Client& c : server.clients) {
    const Net_Poll& p = polls[at++];
    if (p.writable) Flush(c, now);
    if (p.readable) Read_Client(server, c, now);
    Check_Times(server, c, now);
  }
  // Greeted connections move from the pool to the served clients.
  for (Relay_Client& c : server.hellos) {
    if (!c.dead && c.stage != Relay_Stage::hello && c.stage != Relay_Stage::proof) {
      promoted.push_back(std::move(c));
      c.fd = NET_NONE;
      c.dead = true;
      c.address.clear();
    }
  }
  std::erase_if(server.hellos, [](const Relay_Client& c) { return c.fd == NET_NONE; });
  Bury(server, server.hellos, now);
  Bury(server, server.clients, now);
  for (Relay_Client& c : promoted) server.clients.push_back(std::move(c));
  if (accepting) {
    for (size_t i = 0; i < server.listeners.size(); ++i) {
      if (polls[first_listener + i].readable) Accept_Clients(server, server.listeners[i], now);
    }
  }
  Start_Next_Job(server, now);
  if (server.addresses.entries.size() > server.options.limits.max_addresses / 2) {
    Address_Forget_Quiet(server.addresses, server.options.limits, now);
  }
}

void Relay_Stop(Relay_Server& server) {
  server.sim.reset();
  for (const Relay_Client& c : server.hellos) Net_Close(c.fd);
  for (const Relay_Client& c : server.clients) Net_Close(c.fd);
  server.hellos.clear();
  server.clients.clear();
  for (const Net_Fd fd : server.listeners) Net_Close(fd);
  server.listeners.clear();
}

}  // namespace orv
