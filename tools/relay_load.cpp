// relay_load: puts orvane-relay under the attacks a reviewer makes from the network, all at once
// on loopback, while one good client reads the aircraft once a second through the chart's own
// link, and checks that every one of its reads succeeds with the same values within the time
// allowed. The attackers come from addresses of their own in 127.0.0.0/8, as other computers
// would:
//   - half-open connections that send half a hello or nothing, renewed whenever closed;
//   - greeted clients that then send nothing;
//   - clients that send requests and never read the answers;
//   - a stream of wrong keys;
//   - a client that reconnects after each 25 requests;
//   - before the reads begin, a busy client while the simulator answers late (orvane-sim's
//     --late): the relay must keep answering others at once meanwhile.
// Bounded in count and time. Prints the figures; exits 1 when a check failed.
//   relay_load --port N --key KEY [--seconds 30] [--late-reads N] [--relay-pid PID]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "chart/aircraft_tracking.h"
#include "core/program_state.h"
#include "simlink/link_block.h"
#include "simlink/network_transport.h"
#include "simlink/relay_wire.h"
#include "simlink/sim_choice.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::atomic<bool> g_stop{false};
uint16_t g_port = 0;
std::string g_key;

// --- Raw connections from a chosen loopback address ---

struct Fd {
  int fd = -1;
  explicit Fd(int f = -1) : fd(f) {}
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
};

// A blocking connection from `source` whose every send and receive waits at most 2 s; a
// receive buffer of that many bytes when not 0.
int Connect_From(const std::string& source, int receive_buffer = 0) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (receive_buffer > 0) {
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receive_buffer, sizeof receive_buffer);
  }
  timeval tv{2, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  sockaddr_in from{};
  from.sin_family = AF_INET;
  ::inet_pton(AF_INET, source.c_str(), &from.sin_addr);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(g_port);
  ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
      ::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool Send(int fd, const std::vector<uint8_t>& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t r = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (r <= 0) return false;
    sent += static_cast<size_t>(r);
  }
  return true;
}

bool Receive(int fd, std::vector<uint8_t>& out, size_t n) {
  out.assign(n, 0);
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::recv(fd, out.data() + got, n - got, 0);
    if (r <= 0) return false;
    got += static_cast<size_t>(r);
  }
  return true;
}

// The whole hello with the given key; the relay's last status, 0 when the connection failed.
uint32_t Greet(int fd, const std::string& key) {
  std::vector<uint8_t> in;
  if (!Send(fd, orv::Relay_Hello()) || !Receive(fd, in, orv::RELAY_HELLO_ANSWER)) return 0;
  if (orv::Block_Get32(in, 0) != orv::RELAY_HELLO_CHALLENGE) return orv::Block_Get32(in, 0);
  orv::Relay_Challenge challenge{};
  orv::Relay_Proof proof{};
  if (!Receive(fd, in, challenge.size())) return 0;
  std::copy(in.begin(), in.end(), challenge.begin());
  orv::Relay_Hello_Proof(key, challenge, proof);
  if (!Send(fd, std::vector<uint8_t>(proof.begin(), proof.end())) ||
      !Receive(fd, in, orv::RELAY_HELLO_ANSWER)) {
    return 0;
  }
  return orv::Block_Get32(in, 0);
}

std::vector<uint8_t> Heading_Read(uint32_t sequence) {
  std::vector<uint8_t> block(24, 0);
  orv::Block_Put32(block, 0, orv::LINK_ID_READ);
  orv::Block_Put32(block, 4, 0x0580);
  orv::Block_Put32(block, 8, 4);
  orv::Block_Put32(block, 12, 1);
  return orv::Relay_Request(sequence, block);
}

std::string Address(int group, int n) {
  return "127.0." + std::to_string(group) + "." + std::to_string(n);
}

void Pause(int ms) {
  std::this_thread::sleep_for(milliseconds(ms));
}

// --- The attackers ---

struct Tally {
  std::atomic<uint64_t> connections{0};
  std::atomic<uint64_t> wrong_key_answers{0};
  std::atomic<uint64_t> other_answers{0};
  std::atomic<uint64_t> flood_delivered{0};
  std::atomic<uint64_t> never_read_sent{0};
};
Tally g_tally;

// Half a hello or nothing, then silence; a new connection as soon as the relay closes it.
void Half_Open(const std::string& source, bool half) {
  while (!g_stop) {
    Fd c(Connect_From(source));
    if (c.fd < 0) {
      Pause(50);
      continue;
    }
    ++g_tally.connections;
    if (half) Send(c.fd, {'O', 'R', 'V', 'R'});
    const Clock::time_point renew = Clock::now() + milliseconds(5000);
    while (!g_stop && Clock::now() < renew) {
      pollfd p{c.fd, POLLIN, 0};
      if (::poll(&p, 1, 100) > 0) break;  // closed by the relay
    }
  }
}

// Greets with the right key and then says nothing, for as long as the relay lets it stay.
void Idle_Greeted(const std::string& source) {
  while (!g_stop) {
    Fd c(Connect_From(source));
    if (c.fd < 0 || Greet(c.fd, g_key) != orv::RELAY_HELLO_OK) {
      Pause(200);
      continue;
    }
    ++g_tally.connections;
    while (!g_stop) {
      pollfd p{c.fd, POLLIN, 0};
      if (::poll(&p, 1, 100) > 0) break;
    }
  }
}

// Sends requests at eight times the rate into a small receive buffer and never reads an answer:
// the relay's answers back up until it drops the client.
void Never_Reads(const std::string& source) {
  while (!g_stop) {
    Fd c(Connect_From(source, 2048));
    if (c.fd < 0 || Greet(c.fd, g_key) != orv::RELAY_HELLO_OK) {
      Pause(200);
      continue;
    }
    ++g_tally.connections;
    timeval tv{0, 100000};
    ::setsockopt(c.fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    for (uint32_t seq = 1; !g_stop; ++seq) {
      if (!Send(c.fd, Heading_Read(seq))) break;
      ++g_tally.never_read_sent;
      Pause(5);
    }
  }
}

// Guesses keys as fast as the relay answers.
void Wrong_Keys(const std::string& source) {
  for (uint64_t guess = 0; !g_stop; ++guess) {
    Fd c(Connect_From(source));
    if (c.fd < 0) {
      Pause(5);
      continue;
    }
    const uint32_t status = Greet(c.fd, "guess" + std::to_string(guess));
    if (status == orv::RELAY_HELLO_WRONG_KEY) {
      ++g_tally.wrong_key_answers;
    } else {
      // Refused unchecked while the address pays for its last guess: a short breath, so that
      // the burst does not take the whole of a small CI machine.
      ++g_tally.other_answers;
      Pause(2);
    }
  }
}

// Reconnects after each 25 requests, hoping for a fresh rate each time.
void Reconnect_Flood(const std::string& source) {
  while (!g_stop) {
    Fd c(Connect_From(source));
    if (c.fd < 0 || Greet(c.fd, g_key) != orv::RELAY_HELLO_OK) {
      Pause(5);
      continue;
    }
    for (uint32_t seq = 1; seq <= 25 && !g_stop; ++seq) {
      std::vector<uint8_t> in;
      if (!Send(c.fd, Heading_Read(seq)) || !Receive(c.fd, in, orv::RELAY_ANSWER_HEAD)) break;
      const uint32_t length = orv::Block_Get32(in, 12);
      if (orv::Block_Get32(in, 4) == orv::RELAY_ANSWER_DELIVERED) ++g_tally.flood_delivered;
      if (length > 0 && !Receive(c.fd, in, std::min<uint32_t>(length, orv::LINK_BLOCK_SIZE))) {
        break;
      }
    }
  }
}

// --- The slow simulator ---

// A busy client takes the simulator's late answers while a probe checks that the relay still
// answers a refused block at once. Gives the probe's worst answer time in ms, -1 on failure.
int64_t Slow_Simulator_Phase(int late_reads) {
  if (late_reads == 0) return 0;
  Fd busy(Connect_From(Address(6, 1)));
  Fd probe(Connect_From(Address(6, 2)));
  if (busy.fd < 0 || probe.fd < 0 || Greet(busy.fd, g_key) != orv::RELAY_HELLO_OK ||
      Greet(probe.fd, g_key) != orv::RELAY_HELLO_OK) {
    return -1;
  }
  std::atomic<int> answered{0};
  std::thread reader([&] {
    std::vector<uint8_t> in;
    while (answered < late_reads && Receive(busy.fd, in, orv::RELAY_ANSWER_HEAD)) {
      const uint32_t length = orv::Block_Get32(in, 12);
      if (orv::Block_Get32(in, 4) == orv::RELAY_ANSWER_DELIVERED) ++answered;
      if (length > 0 && !Receive(busy.fd, in, length)) break;
    }
  });
  int64_t worst = 0;
  uint32_t seq = 0;
  const Clock::time_point give_up = Clock::now() + milliseconds(20000 + 2000 * late_reads);
  while (answered < late_reads && Clock::now() < give_up) {
    Send(busy.fd, Heading_Read(++seq));
    // A read of a forbidden offset: answered by the relay itself, never by the simulator.
    std::vector<uint8_t> bad = Heading_Read(seq);
    orv::Block_Put32(bad, orv::RELAY_REQUEST_HEAD + 4, 0x0238);
    const Clock::time_point t0 = Clock::now();
    std::vector<uint8_t> in;
    if (!Send(probe.fd, bad) || !Receive(probe.fd, in, orv::RELAY_ANSWER_HEAD) ||
        orv::Block_Get32(in, 4) != orv::RELAY_ANSWER_REFUSED) {
      worst = -1;
      break;
    }
    worst = std::max<int64_t>(
        worst, std::chrono::duration_cast<milliseconds>(Clock::now() - t0).count());
    Pause(200);
  }
  ::shutdown(busy.fd, SHUT_RDWR);
  reader.join();
  return answered >= late_reads ? worst : -1;
}

// --- The good client ---

struct Read_Figures {
  int reads = 0;
  int good = 0;
  int64_t worst_ms = 0;
};

orv::Link_State Chart_Link() {
  orv::Link_State link;
  link.transport = std::make_unique<orv::Network_Transport>(
      orv::Network_Transport_Options{.relay = {"127.0.0.1", g_port}, .key = g_key});
  link.sleep = [](uint32_t ms) { Pause(static_cast<int>(ms)); };
  orv::Link_Init(link);
  return link;
}

bool Same_Aircraft(const orv::Program_State& a, const orv::Program_State& b) {
  return a.acft_lat == b.acft_lat && a.acft_lon == b.acft_lon && a.acft_hdg == b.acft_hdg &&
         a.altim_value == b.altim_value;
}

Read_Figures Good_Reads(orv::Link_State& link, const orv::Program_State& expected, int seconds,
                        int64_t limit_ms) {
  Read_Figures f;
  auto state = std::make_unique<orv::Program_State>();
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < seconds; ++i) {
    std::this_thread::sleep_until(start + milliseconds(1000 * i));
    int32_t result = 0;
    const Clock::time_point t0 = Clock::now();
    bool ok = orv::Read_Aircraft(link, *state, result);
    const int64_t ms = std::chrono::duration_cast<milliseconds>(Clock::now() - t0).count();
    if (!ok) {
      // A failed read reopens the link as the chart does; the read still counts as failed.
      orv::Link_Close(link);
      orv::Link_Open(link, orv::CHART_SIM_CODE, result);
    }
    ok = ok && Same_Aircraft(*state, expected) && ms <= limit_ms;
    ++f.reads;
    f.good += ok ? 1 : 0;
    f.worst_ms = std::max(f.worst_ms, ms);
    if (!ok) std::fprintf(stderr, "relay_load: read %d failed (%lld ms)\n", i + 1,
                          static_cast<long long>(ms));
  }
  return f;
}

// --- The relay's own figures ---

std::string Proc_Field(int pid, const std::string& name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(name + ":", 0) == 0) {
      std::string value = line.substr(name.size() + 1);
      value.erase(0, value.find_first_not_of(" \t"));
      return value;
    }
  }
  return "?";
}

double Cpu_Seconds(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; fields >> field; ++i) {
    if (i == 14 || i == 15) ticks += std::stod(field);
    if (i == 15) break;
  }
  return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Attacks orvane-relay on loopback while a good client reads the aircraft.",
               "relay_load");
  int seconds = 30;
  int late_reads = 0;
  int relay_pid = 0;
  int64_t limit_ms = 500;
  app.add_option("--port", g_port, "the relay's port on 127.0.0.1")->required();
  app.add_option("--key", g_key, "the relay's key");
  app.add_option("--seconds", seconds, "reads of the good client, one a second")
      ->check(CLI::Range(1, 600));
  app.add_option("--late-reads", late_reads, "the simulator's late answers to take first")
      ->check(CLI::Range(0, 20));
  app.add_option("--relay-pid", relay_pid, "the relay's process, for its memory and CPU");
  app.add_option("--limit-ms", limit_ms, "the longest a good read may take");
  CLI11_PARSE(app, argc, argv);

  bool passed = true;
  const double cpu_before = relay_pid > 0 ? Cpu_Seconds(relay_pid) : 0;
  std::vector<std::thread> attackers;
  attackers.emplace_back(Wrong_Keys, Address(4, 1));
  const int64_t probe_ms = Slow_Simulator_Phase(late_reads);
  std::printf("slow simulator: %d late answers taken by a busy client; a refused block was "
              "answered within %lld ms meanwhile\n",
              late_reads, static_cast<long long>(probe_ms));
  if (probe_ms < 0 || probe_ms > limit_ms) passed = false;

  orv::Link_State link = Chart_Link();
  int32_t result = 0;
  auto expected = std::make_unique<orv::Program_State>();
  // The first open may come before the simulator's window is up: tried as the chart retries.
  bool open = false;
  for (int attempt = 0; attempt < 5 && !open; ++attempt) {
    if (attempt > 0) Pause(1000);
    open = orv::Link_Open(link, orv::CHART_SIM_CODE, result);
  }
  if (!open || !orv::Read_Aircraft(link, *expected, result)) {
    std::fprintf(stderr, "relay_load: the good client could not open the link (%s)\n",
                 orv::Link_Result_Name(result));
    g_stop = true;
    for (std::thread& t : attackers) t.join();
    return 1;
  }
  for (int i = 1; i <= 64; ++i) attackers.emplace_back(Half_Open, Address(1, (i + 3) / 4), i % 2);
  for (int i = 1; i <= 8; ++i) attackers.emplace_back(Idle_Greeted, Address(2, i));
  for (int i = 1; i <= 3; ++i) attackers.emplace_back(Never_Reads, Address(3, i));
  attackers.emplace_back(Reconnect_Flood, Address(5, 1));
  Pause(2000);  // every attacker in place

  const Clock::time_point flood_start = Clock::now();
  const uint64_t flood_before = g_tally.flood_delivered;
  const Read_Figures f = Good_Reads(link, *expected, seconds, limit_ms);
  const double flood_seconds = std::chrono::duration<double>(Clock::now() - flood_start).count();
  const uint64_t flood = g_tally.flood_delivered - flood_before;
  const std::string memory = relay_pid > 0 ? Proc_Field(relay_pid, "VmHWM") : "?";
  const std::string resident = relay_pid > 0 ? Proc_Field(relay_pid, "VmRSS") : "?";
  const double cpu = relay_pid > 0 ? Cpu_Seconds(relay_pid) - cpu_before : -1;
  g_stop = true;
  for (std::thread& t : attackers) t.join();
  orv::Link_Close(link);

  std::printf("good client: %d of %d reads right within %lld ms, worst %lld ms\n", f.good,
              f.reads, static_cast<long long>(limit_ms), static_cast<long long>(f.worst_ms));
  std::printf("reconnect flood: %llu requests answered in %.1f s (%.1f a second)\n",
              static_cast<unsigned long long>(flood), flood_seconds,
              static_cast<double>(flood) / flood_seconds);
  std::printf("wrong keys: %llu answered as wrong, %llu refused unchecked or cut\n",
              static_cast<unsigned long long>(g_tally.wrong_key_answers.load()),
              static_cast<unsigned long long>(g_tally.other_answers.load()));
  std::printf("attack connections made: %llu; requests sent unread: %llu\n",
              static_cast<unsigned long long>(g_tally.connections.load()),
              static_cast<unsigned long long>(g_tally.never_read_sent.load()));
  std::printf("relay: peak memory %s (now %s), CPU %.2f s over the run\n", memory.c_str(),
              resident.c_str(), cpu);
  // The rate of one address holds across its reconnects: at most its rate and one burst.
  if (static_cast<double>(flood) > 25.0 * flood_seconds + 25.0) passed = false;
  if (g_tally.wrong_key_answers > 40) passed = false;
  if (f.good != f.reads) passed = false;
  std::puts(passed ? "relay_load: passed" : "relay_load: FAILED");
  return passed ? 0 : 1;
}
