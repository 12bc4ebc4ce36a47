// orvane-sim: a stand-in simulator for Linux. It listens where the link looks for the
// simulator's interface module, answers the request block from an image of the interface
// offsets, and flies a scripted aircraft: a taxi and a circuit around an airport. Options make
// it misbehave (wrong versions, another simulator, no answer, late answers, a crash, damaged
// replies, a listener that never accepts) so that every failure of the link can be seen end to
// end. It serves each client on a thread of its own, and always stops by itself.
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim_options.h"
#include "simlink/link_block.h"
#include "simlink/link_client.h"
#include "simlink/link_module.h"
#include "simlink/linux_transport.h"
#include "simlink/socket_io.h"

namespace {

using Clock = std::chrono::steady_clock;

enum class Garbage { none, reply, id, count, noend, dest, handshake };

struct Options {
  std::filesystem::path socket_dir;
  std::string class_name = orv::LINK_CLASS_MAIN;
  double airport_lat = 47.449;
  double airport_lon = -122.309;
  bool fixed = false;
  double fixed_lat = 0.0;
  double fixed_lon = 0.0;
  double fixed_hdg = 0.0;
  uint32_t pressure = 16208;
  uint32_t iface_version = 0x19980005;
  uint32_t sim_word = 0xFADE0006;
  std::optional<uint64_t> hang_after;
  std::optional<uint64_t> crash_after;
  uint32_t late_ms = 0;
  uint64_t late_count = 1;
  bool never_accept = false;
  Garbage garbage = Garbage::none;
  uint64_t garbage_after = 0;
  double max_seconds = 600.0;
};

// --- Options ---

using orv::sim_options::Add_Doubles;
using orv::sim_options::Add_Unsigned;

void Add_Options(CLI::App& app, Options& o) {
  app.add_option("--socket-dir", o.socket_dir,
                 "folder of the socket (default: $XDG_RUNTIME_DIR, else /tmp/orvane-<uid>)");
  app.add_option("--class", o.class_name, "UIPCMAIN (default) or FS98MAIN")
      ->check([](const std::string& name) {
        return name.empty() || name.find('/') != std::string::npos ? "a name without '/'" : "";
      });
  Add_Doubles(
      app, "--airport", 2,
      [&o](const std::vector<double>& d) {
        o.airport_lat = d[0];
        o.airport_lon = d[1];
      },
      "the airport the aircraft taxies and circles (47.449,-122.309)", "LAT,LON");
  Add_Doubles(
      app, "--fixed", 3,
      [&o](const std::vector<double>& d) {
        o.fixed = true;
        o.fixed_lat = d[0];
        o.fixed_lon = d[1];
        o.fixed_hdg = d[2];
      },
      "an aircraft that stands still", "LAT,LON,HDG");
  orv::sim_options::Add_Interface_Options(app, o.pressure, o.iface_version, o.sim_word);
  Add_Unsigned(
      app, "--sim-word", 0xFFFFFFFF, [&o](uint64_t n) { o.sim_word = static_cast<uint32_t>(n); },
      "the whole value at 0x3308 (overrides --sim-code)");
  app.add_flag_callback(
      "--hang", [&o] { o.hang_after = 0; }, "answer the block but no request");
  Add_Unsigned(
      app, "--hang-after", UINT64_MAX, [&o](uint64_t n) { o.hang_after = n; },
      "answer N requests, then none");
  Add_Unsigned(
      app, "--crash-after", UINT64_MAX, [&o](uint64_t n) { o.crash_after = n; },
      "answer N requests, then exit at the next one");
  Add_Unsigned(
      app, "--late", 600000, [&o](uint64_t n) { o.late_ms = static_cast<uint32_t>(n); },
      "answer the first request MS milliseconds late, as a simulator busy loading scenery does");
  Add_Unsigned(
      app, "--late-count", UINT64_MAX, [&o](uint64_t n) { o.late_count = n; },
      "answer the first N requests late (1)");
  app.add_flag_callback(
      "--never-accept", [&o] { o.never_accept = true; },
      "listen, fill the queue of waiting clients and accept none");
  const std::map<std::string, Garbage> kinds = {
      {"reply", Garbage::reply}, {"id", Garbage::id},     {"count", Garbage::count},
      {"noend", Garbage::noend}, {"dest", Garbage::dest}, {"handshake", Garbage::handshake}};
  auto take_garbage = [&o, kinds](const std::string& kind) {
    const auto found = kinds.find(kind);
    if (found == kinds.end()) {
      throw CLI::ValidationError("--garbage", "takes reply, id, count, noend, dest or handshake");
    }
    o.garbage = found->second;
  };
  app.add_option_function<std::string>(
         "--garbage", take_garbage,
         "damage the answers: reply (answer 0), id (unknown record), count (a count past the "
         "block), noend (no terminator), dest (an unknown destination), handshake (refuse the "
         "block)")
      ->type_name("KIND");
  Add_Unsigned(
      app, "--garbage-after", UINT64_MAX, [&o](uint64_t n) { o.garbage_after = n; },
      "answer N requests well before damaging them (0)");
  Add_Doubles(
      app, "--max-seconds", 1,
      [&o](const std::vector<double>& d) {
        if (d[0] <= 0.0) throw CLI::ValidationError("--max-seconds", "takes a time above 0");
        o.max_seconds = d[0];
      },
      "stop after S seconds (600)", "S");
}

// --- The scripted aircraft ---

struct Leg {
  double hdg;      // true heading, degrees
  double knots;    // ground speed
  double seconds;  // time on the leg
};

// Taxi out from the reference point, a left-hand circuit, the landing roll and the taxi back.
constexpr std::array<Leg, 10> kScript = {{
    {90, 12, 30},    // taxi east
    {180, 15, 50},   // taxi south along the parallel taxiway
    {340, 60, 20},   // line up and take-off roll
    {340, 130, 40},  // upwind
    {250, 110, 40},  // crosswind
    {160, 110, 90},  // downwind
    {70, 110, 40},   // base
    {340, 100, 60},  // final
    {340, 20, 20},   // landing roll
    {90, 12, 30},    // taxi in
}};

struct Aircraft {
  double lat = 0.0;
  double lon = 0.0;
  double hdg = 0.0;
};

Aircraft Scripted_Aircraft(const Options& o, double t) {
  if (o.fixed) return {o.fixed_lat, o.fixed_lon, o.fixed_hdg};
  double period = 0.0;
  for (const Leg& leg : kScript) period += leg.seconds;
  t = std::fmod(t, period);
  Aircraft a{o.airport_lat, o.airport_lon, kScript[0].hdg};
  for (const Leg& leg : kScript) {
    const double dt = t < leg.seconds ? t : leg.seconds;
    const double nm = leg.knots * dt / 3600.0;
    const double rad = leg.hdg * 3.14159265358979 / 180.0;
    a.lat += nm * std::cos(rad) / 60.0;
    a.lon += nm * std::sin(rad) / (60.0 * std::cos(a.lat * 3.14159265358979 / 180.0));
    a.hdg = leg.hdg;
    t -= dt;
    if (t <= 0.0) break;
  }
  return a;
}

// A 64-bit fixed-point value, whole units in the high half and the fraction in the low half.
uint64_t Fixed_64(double units) {
  const double whole = std::floor(units);
  const double fraction = units - whole;
  const auto high = static_cast<uint32_t>(static_cast<int32_t>(whole));
  const auto low = static_cast<uint32_t>(fraction * 4294967296.0);
  return uint64_t{high} << 32 | low;
}

void Put_Aircraft(std::span<uint8_t> image, const Aircraft& a) {
  double lon = std::fmod(a.lon + 180.0, 360.0);
  if (lon < 0.0) lon += 360.0;
  lon -= 180.0;
  orv::Image_Put(image, 0x0560, Fixed_64(a.lat * 10001750.0 / 90.0), 8);
  orv::Image_Put(image, 0x0568, Fixed_64(lon * 4294967296.0 / 360.0), 8);
  double turns = std::fmod(a.hdg / 360.0, 1.0);
  if (turns < 0.0) turns += 1.0;
  const auto hdg = static_cast<uint32_t>(std::llround(turns * 4294967296.0) & 0xFFFFFFFF);
  orv::Image_Put(image, 0x0580, hdg, 4);
}

// --- Damaged answers ---

// The offset of the block's terminator, or the block size when there is none.
size_t Find_Terminator(std::span<const uint8_t> block) {
  size_t at = 0;
  while (orv::Block_Fits(block.size(), at, 4)) {
    const uint32_t id = orv::Block_Get32(block, at) & 0xFFFFu;
    if (id == orv::LINK_ID_END) return at;
    const uint32_t header =
        id == orv::LINK_ID_READ ? orv::LINK_READ_HEADER : orv::LINK_WRITE_HEADER;
    if (!orv::Block_Fits(block.size(), at, header)) break;
    const uint32_t count = orv::Block_Get32(block, at + 8);
    at += header;
    if (!orv::Block_Fits(block.size(), at, count)) break;
    at += count;
  }
  return block.size();
}

void Damage(Garbage g, std::span<uint8_t> block, uint32_t& reply) {
  switch (g) {
    case Garbage::reply:
      reply = 0;
      break;
    case Garbage::id:
      orv::Block_Put32(block, 0, 0x0000BEEF);
      break;
    case Garbage::count:
      orv::Block_Put32(block, 8, 0x7FFFFFF0);
      break;
    case Garbage::dest:
      orv::Block_Put32(block, 12, 0x7FFF0000);
      break;
    case Garbage::noend: {
      // Empty write records from the terminator to the end: the last one does not fit.
      for (size_t at = Find_Terminator(block); orv::Block_Fits(block.size(), at, 4); at += 12) {
        orv::Block_Put32(block, at, orv::LINK_ID_WRITE);
        if (orv::Block_Fits(block.size(), at, 12)) {
          orv::Block_Put32(block, at + 4, 0);
          orv::Block_Put32(block, at + 8, 0);
        }
      }
      break;
    }
    case Garbage::none:
    case Garbage::handshake:
      break;
  }
}

// --- Serving ---

constexpr int kMaxClients = 16;  // connections served at once; more are closed at once

struct Sim {
  Options options;
  Clock::time_point start = Clock::now();
  Clock::time_point deadline;
  std::atomic<uint64_t> requests{0};  // requests received over the whole run, from every client
  std::mutex mutex;                   // guards clients
  std::condition_variable clients_done;
  int clients = 0;  // connections being served
};

// Puts the values the simulator owns into a client's image before each answer. The library
// version written at 0x330A overlaps the simulator word at 0x3308, and a write must not change
// what the next read there gives.
void Refresh_Image(const Sim& sim, std::span<uint8_t> image) {
  const Options& o = sim.options;
  orv::Image_Put(image, orv::LINK_OFS_IFACE_VERSION, o.iface_version, 4);
  orv::Image_Put(image, orv::LINK_OFS_SIM_VERSION, o.sim_word, 4);
  orv::Image_Put(image, 0x0EC6, o.pressure, 2);
  const double t = std::chrono::duration<double>(Clock::now() - sim.start).count();
  Put_Aircraft(image, Scripted_Aircraft(o, t));
}

// What is left of the run, never negative (a negative wait would have no limit).
int64_t Ms_Left(const Sim& sim) {
  const int64_t left =
      std::chrono::duration_cast<std::chrono::milliseconds>(sim.deadline - Clock::now()).count();
  return left > 0 ? left : 0;
}

// A client that does not take its answer within the link's time-out is given up.
bool Answer(int conn, uint32_t value) {
  std::array<uint8_t, 4> bytes{};
  orv::Block_Put32(bytes, 0, value);
  return orv::Send_All(conn, bytes.data(), bytes.size(), orv::LINK_ANSWER_TIMEOUT_MS).status ==
         orv::Io_Result::ok;
}

// Maps the block sent with the first message, or gives nullptr.
uint8_t* Map_Block(int fd) {
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(orv::LINK_BLOCK_SIZE)) {
    return nullptr;
  }
  void* p = ::mmap(nullptr, orv::LINK_BLOCK_SIZE, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return p == MAP_FAILED ? nullptr : static_cast<uint8_t*>(p);
}

// Request n of the run waits first when it is one of the late ones, as the whole simulator does
// while it loads scenery.
void Be_Late(const Sim& sim, uint64_t n) {
  const Options& o = sim.options;
  if (o.late_ms == 0 || n > o.late_count) return;
  const int64_t wait = std::min<int64_t>(o.late_ms, Ms_Left(sim));
  std::this_thread::sleep_for(std::chrono::milliseconds(wait));
}

void Serve_Requests(Sim& sim, int conn, uint32_t atom, std::span<uint8_t> block) {
  const Options& o = sim.options;
  std::vector<uint8_t> image(orv::MODULE_IMAGE_SIZE);
  for (;;) {
    std::array<uint8_t, 4> msg{};
    if (orv::Recv_Exact(conn, msg.data(), msg.size(), Ms_Left(sim)).status != orv::Io_Result::ok) {
      return;
    }
    const uint64_t n = ++sim.requests;
    if (o.crash_after && n > *o.crash_after) {
      std::fputs("orvane-sim: crashing as asked\n", stderr);
      std::_Exit(70);
    }
    if (o.hang_after && n > *o.hang_after) continue;
    Be_Late(sim, n);
    if (orv::Block_Get32(msg, 0) != atom) {
      if (!Answer(conn, 0)) return;
      continue;
    }
    Refresh_Image(sim, image);
    uint32_t reply = orv::Answer_Block(block, image) == orv::Module_Walk::ended ? 1 : 0;
    if (n > o.garbage_after) Damage(o.garbage, block, reply);
    if (!Answer(conn, reply)) return;
  }
}

void Serve_Connection(Sim& sim, int conn) {
  std::array<uint8_t, 4> first{};
  int fd = -1;
  if (orv::Recv_With_Descriptor(conn, first.data(), first.size(), Ms_Left(sim), fd).status !=
      orv::Io_Result::ok) {
    if (fd >= 0) ::close(fd);
    return;
  }
  uint8_t* view = sim.options.garbage == Garbage::handshake ? nullptr : Map_Block(fd);
  if (fd >= 0) ::close(fd);
  if (view == nullptr) {
    Answer(conn, 0);
    return;
  }
  if (Answer(conn, 1)) {
    Serve_Requests(sim, conn, orv::Block_Get32(first, 0), {view, orv::LINK_BLOCK_SIZE});
  }
  ::munmap(view, orv::LINK_BLOCK_SIZE);
}

// Serves one client on a thread of its own; every wait in it ends by the run's deadline.
void Start_Client(Sim& sim, int conn) {
  {
    const std::lock_guard<std::mutex> lock(sim.mutex);
    if (sim.clients >= kMaxClients) {
      ::close(conn);
      return;
    }
    ++sim.clients;
  }
  std::thread([&sim, conn] {
    Serve_Connection(sim, conn);
    ::close(conn);
    const std::lock_guard<std::mutex> lock(sim.mutex);
    --sim.clients;
    sim.clients_done.notify_all();
  }).detach();
}

void Wait_For_Clients(Sim& sim) {
  std::unique_lock<std::mutex> lock(sim.mutex);
  sim.clients_done.wait(lock, [&sim] { return sim.clients == 0; });
}

// The socket's path, kept where the signal handler can reach it.
char g_socket_path[sizeof(sockaddr_un::sun_path)] = {};

extern "C" void On_Stop_Signal(int) {
  if (g_socket_path[0] != '\0') ::unlink(g_socket_path);
  std::_Exit(0);
}

bool Make_Address(const std::string& path, sockaddr_un& addr) {
  addr = {};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

int Listen_At(const std::string& path, int backlog) {
  sockaddr_un addr{};
  if (!Make_Address(path, addr)) {
    std::fprintf(stderr, "orvane-sim: socket path too long: %s\n", path.c_str());
    return -1;
  }
  // A socket left by a simulator that crashed is taken over; any other file is left alone.
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode)) {
      std::fprintf(stderr, "orvane-sim: %s exists and is not a socket\n", path.c_str());
      return -1;
    }
    ::unlink(path.c_str());
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(fd, backlog) != 0) {
    std::fprintf(stderr, "orvane-sim: cannot listen at %s: %s\n", path.c_str(),
                 std::strerror(errno));
    if (fd >= 0) ::close(fd);
    return -1;
  }
  std::memcpy(g_socket_path, path.c_str(), path.size() + 1);
  return fd;
}

// Connects to our own listener until its queue of waiting connections is full, so that a
// client's connect finds a simulator that is there but never takes it. The connections stay
// open for the whole run.
std::vector<int> Fill_Backlog(const std::string& path) {
  std::vector<int> held;
  sockaddr_un addr{};
  if (!Make_Address(path, addr)) return held;
  while (held.size() < 64) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) break;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
      ::close(fd);
      break;
    }
    held.push_back(fd);
  }
  return held;
}

void Install_Signals() {
  struct sigaction stop {};
  stop.sa_handler = On_Stop_Signal;
  sigemptyset(&stop.sa_mask);
  ::sigaction(SIGTERM, &stop, nullptr);
  ::sigaction(SIGINT, &stop, nullptr);
  ::sigaction(SIGHUP, &stop, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  // Ends with the process that started it (a test, a shell).
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

int Poll_Ms(const Sim& sim) {
  const int64_t left = Ms_Left(sim);
  return left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(left);
}

}  // namespace

int main(int argc, char** argv) {
  Sim sim;
  CLI::App app(
      "A stand-in simulator: answers the simulator link on this computer and flies a scripted "
      "aircraft. It always stops by itself.",
      "orvane-sim");
  orv::sim_options::Add_Version(app);
  Add_Options(app, sim.options);
  if (const auto code = orv::sim_options::Parse_Command_Line(app, argc, argv)) return *code;
  const Options& o = sim.options;
  Install_Signals();
  const std::filesystem::path dir = o.socket_dir.empty() ? orv::Link_Socket_Dir() : o.socket_dir;
  if (dir.empty()) {
    std::fputs("orvane-sim: no private runtime folder for the socket\n", stderr);
    return 1;
  }
  const std::string path = (dir / o.class_name).string();
  const int listener = Listen_At(path, o.never_accept ? 0 : kMaxClients);
  if (listener < 0) return 1;
  const std::vector<int> held = o.never_accept ? Fill_Backlog(path) : std::vector<int>{};

  sim.deadline = sim.start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(o.max_seconds));

  std::printf("orvane-sim: listening on %s\n", path.c_str());
  std::fflush(stdout);

  while (Ms_Left(sim) > 0) {
    // A simulator that never accepts only waits for its time to run out.
    pollfd p{listener, static_cast<short>(o.never_accept ? 0 : POLLIN), 0};
    if (::poll(&p, 1, Poll_Ms(sim)) <= 0 || o.never_accept) continue;
    const int conn = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (conn >= 0) Start_Client(sim, conn);
  }
  for (const int fd : held) ::close(fd);
  ::close(listener);
  ::unlink(path.c_str());
  Wait_For_Clients(sim);
  return 0;
}
