// The link over the real Linux transport, against the stand-in simulator started by each test in
// its own folder. Waits are counted, not spent; the hang uses a short answer time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "chart/aircraft_tracking.h"
#include "simlink/link_client.h"
#include "simlink/linux_transport.h"
#include "simlink/net_socket.h"
#include "simlink/relay_server.h"
#include "simlink/socket_io.h"
#include "support/temp_dir.h"

extern char** environ;

namespace orv {
namespace {

using testing::Temp_Dir;

// One orvane-sim process listening in `dir`; ended when the test ends.
class Sim_Process {
 public:
  Sim_Process(const std::filesystem::path& dir, std::vector<std::string> options) {
    std::vector<std::string> args = {ORVANE_SIM_PATH, "--socket-dir", dir.string(), "--max-seconds",
                                     "60"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
      pid_ = -1;
      ::close(out[0]);
      return;
    }
    ready_ = Wait_For_Ready_Line(out[0]);
    ::close(out[0]);
  }
  ~Sim_Process() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  Sim_Process(const Sim_Process&) = delete;
  Sim_Process& operator=(const Sim_Process&) = delete;

  bool ready() const { return ready_; }

 private:
  // The simulator says where it listens once it does; a safety limit keeps a broken start
  // from blocking the test run.
  static bool Wait_For_Ready_Line(int fd) {
    std::string line;
    for (;;) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 20000) <= 0) return false;
      char c = 0;
      if (::read(fd, &c, 1) != 1) return false;
      if (c == '\n') return line.rfind("orvane-sim: listening on ", 0) == 0;
      line.push_back(c);
    }
  }

  pid_t pid_ = -1;
  bool ready_ = false;
};

// A link over the Linux transport to the sockets of `dir`, counting its waits.
struct Real_Link {
  explicit Real_Link(const std::filesystem::path& dir, uint32_t answer_timeout_ms = 2000,
                     uint32_t open_timeout_ms = 2000) {
    link.transport =
        std::make_unique<Linux_Transport>(Linux_Transport_Options{dir, open_timeout_ms});
    link.sleep = [this](uint32_t ms) { sleeps.push_back(ms); };
    link.answer_timeout_ms = answer_timeout_ms;
    Link_Init(link);
  }
  ~Real_Link() { Link_Close(link); }
  Real_Link(const Real_Link&) = delete;
  Real_Link& operator=(const Real_Link&) = delete;

  Link_State link;
  std::vector<uint32_t> sleeps;
};

struct Linux_Link : ::testing::Test {
  // Starts a simulator in a fresh folder of its own and gives that folder.
  std::filesystem::path Start_Sim(std::vector<std::string> options) {
    const std::filesystem::path dir = tmp / ("sim" + std::to_string(sims.size()));
    std::filesystem::create_directories(dir);
    sims.push_back(std::make_unique<Sim_Process>(dir, std::move(options)));
    EXPECT_TRUE(sims.back()->ready());
    return dir;
  }

  Temp_Dir tmp;
  std::vector<std::unique_ptr<Sim_Process>> sims;
  std::unique_ptr<Program_State> state = std::make_unique<Program_State>();
};

TEST_F(Linux_Link, OpensReadsTheAircraftAndOpensAgainAfterClosing) {
  const auto dir = Start_Sim({"--fixed", "47.449,-122.309,270", "--pressure", "16208"});
  Real_Link r(dir);
  int32_t result = -1;
  ASSERT_TRUE(Link_Open(r.link, 6, result)) << Link_Result_Name(result);
  EXPECT_EQ(r.link.link_iface_version, 0x19980005);
  EXPECT_EQ(r.link.link_sim_version, 6);
  EXPECT_LT(r.link.link_atom, 0) << "atoms from 0xC000 up are held sign-extended";
  EXPECT_EQ(r.sleeps, std::vector<uint32_t>{100});

  state->altim_units = 1;
  ASSERT_TRUE(Read_Aircraft(r.link, *state, result)) << Link_Result_Name(result);
  EXPECT_NEAR(state->acft_lat, 47.449, 90.0 / 10001750.0);
  EXPECT_NEAR(state->acft_lon, -122.309, 360.0 / 4294967296.0);
  EXPECT_EQ(state->acft_hdg, -90);
  EXPECT_EQ(state->altim_value, 29.92);

  // A second client is served while the first stays open.
  Real_Link second(dir, 2000, 500);
  ASSERT_TRUE(Link_Open(second.link, 6, result)) << Link_Result_Name(result);
  ASSERT_TRUE(Read_Aircraft(second.link, *state, result)) << Link_Result_Name(result);
  ASSERT_TRUE(Read_Aircraft(r.link, *state, result)) << Link_Result_Name(result);

  Link_Close(r.link);
  ASSERT_TRUE(Link_Open(r.link, 6, result)) << Link_Result_Name(result);
  state->altim_units = 0;
  ASSERT_TRUE(Read_Aircraft(r.link, *state, result));
  EXPECT_EQ(state->altim_value, 1013.0);
}

TEST_F(Linux_Link, OpenReportsMissingAndWrongSimulators) {
  {
    Real_Link r(tmp.path());
    int32_t result = -1;
    EXPECT_FALSE(Link_Open(r.link, 6, result));
    EXPECT_EQ(result, LINK_NO_SIM_WINDOW);
  }
  {  // A simulator whose queue of waiting clients is full is given up after the open's time-out.
    Real_Link r(Start_Sim({"--never-accept"}), 2000, 50);
    int32_t result = -1;
    EXPECT_FALSE(Link_Open(r.link, 6, result));
    EXPECT_EQ(result, LINK_NO_SIM_WINDOW);
  }
  struct Case {
    std::vector<std::string> options;
    int32_t want;
  };
  const Case cases[] = {
      {{"--sim-code", "7"}, LINK_WRONG_SIM},
      {{"--iface-version", "0x19980004"}, LINK_BAD_VERSION},
      {{"--class", "FS98MAIN", "--iface-version", "0x19980004"}, LINK_NOT_READY},
      {{"--class", "FS98MAIN", "--sim-word", "0x12340006"}, LINK_NOT_READY},
      {{"--class", "FS98MAIN"}, LINK_OK},
      {{"--garbage", "handshake"}, LINK_MAPPING_FAILED},
      {{"--garbage", "reply"}, LINK_BAD_REPLY},
      {{"--garbage", "id"}, LINK_BAD_REPLY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.back());
    const auto dir = Start_Sim(c.options);
    Real_Link r(dir);
    int32_t result = -1;
    EXPECT_EQ(Link_Open(r.link, 6, result), c.want == LINK_OK);
    EXPECT_EQ(result, c.want) << Link_Result_Name(result);
    EXPECT_EQ(r.link.link_view != nullptr, c.want == LINK_OK);
  }
}

TEST_F(Linux_Link, ACrashMidSessionIsAFailedSendWithASystemError) {
  // The open is request 1, the latitude request 2; the simulator dies at the longitude.
  const auto dir = Start_Sim({"--fixed", "10,20,30", "--crash-after", "2"});
  Real_Link r(dir);
  int32_t result = -1;
  ASSERT_TRUE(Link_Open(r.link, 6, result)) << Link_Result_Name(result);
  r.sleeps.clear();
  state->acft_lon = 99.0;
  EXPECT_FALSE(Read_Aircraft(r.link, *state, result));
  EXPECT_EQ(result, LINK_SEND_FAILED) << Link_Result_Name(result);
  EXPECT_NEAR(state->acft_lat, 10.0, 1e-5);
  EXPECT_EQ(state->acft_lon, 99.0);
  EXPECT_EQ(r.sleeps, std::vector<uint32_t>(10, 100));
  EXPECT_NE(r.link.link_view, nullptr);
}

TEST_F(Linux_Link, ASilentSimulatorTimesOutAfterElevenAttempts) {
  const auto dir = Start_Sim({"--hang-after", "1"});
  Real_Link r(dir, 20);
  int32_t result = -1;
  ASSERT_TRUE(Link_Open(r.link, 6, result)) << Link_Result_Name(result);
  r.sleeps.clear();
  EXPECT_FALSE(Read_Aircraft(r.link, *state, result));
  EXPECT_EQ(result, LINK_TIMEOUT) << Link_Result_Name(result);
  EXPECT_EQ(r.sleeps, std::vector<uint32_t>(10, 100));
}

TEST_F(Linux_Link, ASimulatorLateAtOpenConnectsAndEveryAnswerStaysWithItsRequest) {
  // 300 ms late against waits of 200 ms: each late answer comes while a later attempt waits.
  for (const char* late_count : {"1", "2"}) {
    SCOPED_TRACE(late_count);
    Real_Link r(Start_Sim({"--fixed", "10,20,270", "--late", "300", "--late-count", late_count}),
                200);
    int32_t result = -1;
    ASSERT_TRUE(Link_Open(r.link, 6, result)) << Link_Result_Name(result);
    for (int tick = 0; tick < 3; ++tick) {
      *state = Program_State{};
      ASSERT_TRUE(Read_Aircraft(r.link, *state, result)) << Link_Result_Name(result);
      EXPECT_NEAR(state->acft_lon, 20.0, 1e-5);
      EXPECT_EQ(state->acft_hdg, -90);
    }
  }
}

TEST_F(Linux_Link, DamagedRepliesMidSessionAreRefused) {
  struct Case {
    const char* kind;
    bool ok;
  };
  for (const Case& c :
       {Case{"count", false}, Case{"noend", false}, Case{"reply", false}, Case{"dest", true}}) {
    SCOPED_TRACE(c.kind);
    const auto dir =
        Start_Sim({"--fixed", "10,20,30", "--garbage", c.kind, "--garbage-after", "1"});
    Real_Link r(dir);
    int32_t result = -1;
    ASSERT_TRUE(Link_Open(r.link, 6, result)) << Link_Result_Name(result);
    state->acft_lat = 55.0;
    EXPECT_EQ(Read_Aircraft(r.link, *state, result), c.ok);
    EXPECT_EQ(result, c.ok ? LINK_OK : LINK_BAD_REPLY) << Link_Result_Name(result);
    // An unknown destination is skipped, so the raw value read stays 0.
    EXPECT_EQ(state->acft_lat, c.ok ? 0.0 : 55.0);
  }
}

// orvane-tool aircraft against the simulator's sockets in `runtime`: started here and finished
// by Tool_Output, so that two runs can wait at the same time.
FILE* Start_Tool(const std::filesystem::path& runtime, const std::string& options) {
  const std::string command = "XDG_RUNTIME_DIR='" + runtime.string() +
                              "' '" ORVANE_TOOL_PATH "' aircraft " + options + " 2>&1";
  return ::popen(command.c_str(), "r");
}

std::string Tool_Output(FILE* tool, int& status) {
  std::string out;
  if (tool == nullptr) return out;
  char buffer[512];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, tool)) out.append(buffer, n);
  status = ::pclose(tool);
  return out;
}

// The command-line tool reads the stand-in simulator's aircraft back, and names the result code
// of a link that fails.
TEST_F(Linux_Link, TheToolReadsTheAircraftOrSaysWhyNot) {
  const auto dir = Start_Sim({"--fixed", "47.449,-122.309,270", "--pressure", "16208"});
  int status = -1;
  const std::string json = Tool_Output(Start_Tool(dir, ""), status);
  ASSERT_TRUE(WIFEXITED(status)) << json;
  EXPECT_EQ(WEXITSTATUS(status), 0) << json;
  EXPECT_NE(json.find("\"lat\": 47.44"), std::string::npos) << json;
  EXPECT_NE(json.find("\"lon\": -122.30"), std::string::npos) << json;
  EXPECT_NE(json.find("\"hdg\": -90,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"pressure_raw\": 16208,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"altimeter_mb\": 1013,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"altimeter_inhg\": 29.92}"), std::string::npos) << json;

  const std::string wrong = Tool_Output(Start_Tool(dir, "--sim-code 7"), status);
  EXPECT_EQ(WEXITSTATUS(status), 4) << wrong;
  EXPECT_NE(wrong.find("LINK_WRONG_SIM"), std::string::npos) << wrong;

  const std::filesystem::path empty = tmp / "nobody-home";
  std::filesystem::create_directories(empty);
  std::filesystem::permissions(empty, std::filesystem::perms::owner_all);
  const std::string none = Tool_Output(Start_Tool(empty, ""), status);
  EXPECT_EQ(WEXITSTATUS(status), 4) << none;
  EXPECT_NE(none.find("LINK_NO_SIM_WINDOW"), std::string::npos) << none;
}

// The tool on a computer without a simulator reads the stand-in's aircraft across TCP through
// the relay beside it.
TEST_F(Linux_Link, TheToolReadsTheSimulatorThroughTheRelay) {
  const auto dir = Start_Sim({"--fixed", "47.449,-122.309,270", "--pressure", "16208"});
  Relay_Server relay;
  relay.options.listen = {{"127.0.0.1", 0}};
  relay.options.make_transport = [dir] {
    return std::make_unique<Linux_Transport>(Linux_Transport_Options{dir, 2000});
  };
  std::string error;
  ASSERT_TRUE(Relay_Start(relay, error)) << error;
  const uint16_t port = Net_Local_Port(relay.listeners.at(0));
  std::atomic<bool> stop{false};
  std::thread serving([&] {
    while (!stop) Relay_Serve_Once(relay, 20);
  });
  const std::filesystem::path elsewhere = tmp / "no-simulator-here";
  std::filesystem::create_directories(elsewhere);
  std::filesystem::permissions(elsewhere, std::filesystem::perms::owner_all);
  int status = -1;
  const std::string json =
      Tool_Output(Start_Tool(elsewhere, "--sim 127.0.0.1:" + std::to_string(port)), status);
  stop = true;
  serving.join();
  Relay_Stop(relay);
  ASSERT_TRUE(WIFEXITED(status)) << json;
  EXPECT_EQ(WEXITSTATUS(status), 0) << json;
  EXPECT_NE(json.find("\"hdg\": -90,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"altimeter_inhg\": 29.92}"), std::string::npos) << json;
}

// The link's real time-outs, once: a simulator that answers its first request 2.5 s late (after
// the first attempt's 2 s) is read right, and one that never accepts fails within 2 s. Both
// tools run at the same time.
TEST_F(Linux_Link, TheToolOutwaitsALateSimulatorAndGivesUpOnAStuckOne) {
  FILE* late = Start_Tool(Start_Sim({"--fixed", "47.449,-122.309,270", "--late", "2500"}), "");
  FILE* stuck = Start_Tool(Start_Sim({"--never-accept"}), "");
  int status = -1;
  const std::string json = Tool_Output(late, status);
  EXPECT_EQ(WEXITSTATUS(status), 0) << json;
  EXPECT_NE(json.find("\"lat\": 47.44"), std::string::npos) << json;
  EXPECT_NE(json.find("\"hdg\": -90,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"altimeter_mb\": 1013,"), std::string::npos) << json;
  const std::string error = Tool_Output(stuck, status);
  EXPECT_EQ(WEXITSTATUS(status), 4) << error;
  EXPECT_NE(error.find("LINK_NO_SIM_WINDOW"), std::string::npos) << error;
}

// A simulator of the test's own that answers message 1 only once message 2 has come: the late
// answer arrives while message 2 waits, and neither it nor any later exchange takes an answer
// that belongs to an earlier message.
TEST(LinuxTransport, ALateAnswerIsNeverTakenForALaterMessage) {
  Temp_Dir tmp;
  sockaddr_un addr{AF_UNIX, {}};
  const std::string path = (tmp / "UIPCMAIN").string();
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(listener, 1), 0);
  std::jthread sim([listener] {
    const int conn = ::accept(listener, nullptr, nullptr);
    // 0 takes the next message: the block, then messages 1 and 2 before 1's answer, and so on.
    for (const uint8_t reply : {0, 1, 0, 0, 0xA1, 0xA2, 0, 0xA3, 0}) {
      uint8_t bytes[4] = {reply, 0, 0, 0};
      (void)(reply == 0 ? Recv_Exact(conn, bytes, 4, 5000) : Send_All(conn, bytes, 4, 5000));
    }
    ::close(conn);
  });
  Linux_Transport t({tmp.path(), 5000});
  const uintptr_t window = t.Find_Window("UIPCMAIN");
  ASSERT_NE(t.Create_Mapping("block", LINK_BLOCK_SIZE).handle, 0u);
  EXPECT_FALSE(t.Send_Message(window, 1, 7, 0, 0).delivered);
  EXPECT_EQ(t.Send_Message(window, 1, 7, 0, 5000).reply, 0xA2u);
  EXPECT_EQ(t.Send_Message(window, 1, 7, 0, 5000).reply, 0xA3u);
  t.Release_Window(window);
  ::close(listener);
}

TEST(LinkSocketDir, UsesTheRuntimeFolderElseAPrivateOneOfItsOwn) {
  Temp_Dir tmp;
  EXPECT_EQ(Link_Socket_Dir("/run/user/1000", tmp.path()), "/run/user/1000");
  const std::filesystem::path own = tmp / ("orvane-" + std::to_string(::getuid()));
  EXPECT_EQ(Link_Socket_Dir("", tmp.path()), own);
  struct stat st {};
  ASSERT_EQ(::stat(own.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(Link_Socket_Dir(nullptr, tmp.path()), own) << "an existing private folder is used";

  ASSERT_EQ(::chmod(own.c_str(), 0755), 0);
  EXPECT_EQ(Link_Socket_Dir(nullptr, tmp.path()), "") << "a folder others can enter is refused";
  std::filesystem::remove(own);
  std::filesystem::create_directory_symlink(tmp.path(), own);
  EXPECT_EQ(Link_Socket_Dir(nullptr, tmp.path()), "") << "a link in its place is refused";
  EXPECT_EQ(Link_Socket_Dir(nullptr, tmp / "missing"), "");
}

}  // namespace
}  // namespace orv
