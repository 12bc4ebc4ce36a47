// orvane-relay: runs beside the simulator and lets the chart on another computer follow it.
// It listens on the addresses it is given (loopback only when none), passes only the link's own
// reads and write on to the simulator, and runs until it is stopped (or for --max-seconds).
#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "orvane_version.h"
#include "simlink/net_socket.h"
#include "simlink/relay_server.h"
#include "simlink/relay_wire.h"
#ifndef _WIN32
#include "simlink/linux_transport.h"
#endif

namespace {

std::atomic<bool> g_stop{false};

extern "C" void On_Stop_Signal(int) {
  g_stop = true;
}

// The environment variable that may hold the key, out of sight of other users' process lists.
constexpr const char* kKeyVariable = "ORVANE_RELAY_KEY";

// Reads the key from the first line of a file only its owner can read. False with the reason.
bool Read_Key_File(const std::string& path, std::string& key, std::string& error) {
#ifndef _WIN32
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "cannot read the key file " + path;
    return false;
  }
  if ((st.st_mode & 077) != 0) {
    error = "the key file " + path + " is open to other users (chmod 600 it)";
    return false;
  }
#endif
  std::ifstream in(path, std::ios::binary);
  std::string text(orv::RELAY_MAX_KEY + 3, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad() || (!in && !in.eof())) {
    error = "cannot read the key file " + path;
    return false;
  }
  text.resize(static_cast<size_t>(in.gcount()));
  const size_t end = text.find_first_of("\r\n");
  if (end == std::string::npos && text.size() > orv::RELAY_MAX_KEY) {
    error = "the key in " + path + " takes more than 64 characters";
    return false;
  }
  key = text.substr(0, end);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app(
      "Passes the chart's requests from other computers to the simulator beside it. Only the "
      "aircraft's position, heading and pressure setting and the link's version words can be "
      "read, and only the link's own version write is passed on.",
      "orvane-relay");
  app.set_version_flag("--version", std::string("orvane-relay ") + ORVANE_VERSION);
  orv::Relay_Server server;
  std::vector<std::string> listen;
  app.add_option("--listen", listen,
                 "listen here; repeat for more addresses (default 127.0.0.1:8002, this "
                 "computer only; 0.0.0.0:8002 is every network)")
      ->type_name("ADDRESS:PORT");
  std::string key;
  std::string key_file;
  app.add_option("--key", key,
                 "refuse clients that do not know this key (at most 64 characters); other "
                 "users can see it in the process list: prefer --key-file or ORVANE_RELAY_KEY");
  app.add_option("--key-file", key_file,
                 "read the key from the first line of this file, which only its owner may read")
      ->type_name("FILE");
  app.add_option("--max-clients", server.options.max_clients, "clients served at once")
      ->check(CLI::Range(1, 64));
  app.add_option("--rate", server.options.limits.requests_per_second,
                 "requests a second each source address may make")
      ->check(CLI::Range(1, 1000));
  app.add_option("--max-per-address", server.options.limits.connections,
                 "connections one source address may hold at once")
      ->check(CLI::Range(1, 64));
  double max_seconds = 0;
  app.add_option("--max-seconds", max_seconds, "stop after this many seconds (0: never)")
      ->check(CLI::Range(0.0, 1e9));
#ifndef _WIN32
  std::string socket_dir;
  app.add_option("--socket-dir", socket_dir,
                 "the folder of the simulator's sockets (default: the user's runtime folder)");
#endif
  CLI11_PARSE(app, argc, argv);

  for (const std::string& text : listen) {
    orv::Net_Address a;
    if (!orv::Parse_Net_Address(text, a)) {
      std::fprintf(stderr, "orvane-relay: --listen takes ADDRESS:PORT, not \"%s\"\n", text.c_str());
      return 2;
    }
    server.options.listen.push_back(a);
  }
  std::string error;
  if (!key_file.empty()) {
    if (!key.empty() || !Read_Key_File(key_file, key, error)) {
      if (error.empty()) error = "give the key either with --key or with --key-file";
      std::fprintf(stderr, "orvane-relay: %s\n", error.c_str());
      return 2;
    }
  } else if (const char* from_env = std::getenv(kKeyVariable); key.empty() && from_env) {
    key = from_env;
  }
  if (key.size() > orv::RELAY_MAX_KEY) {
    std::fputs("orvane-relay: the key takes at most 64 characters\n", stderr);
    return 2;
  }
  server.options.key = key;
#ifndef _WIN32
  if (!socket_dir.empty()) {
    server.options.make_transport = [socket_dir] {
      return std::make_unique<orv::Linux_Transport>(
          orv::Linux_Transport_Options{.socket_dir = socket_dir});
    };
  }
#endif
  if (!orv::Relay_Start(server, error)) {
    std::fprintf(stderr, "orvane-relay: %s\n", error.c_str());
    return 1;
  }
  std::signal(SIGINT, On_Stop_Signal);
  std::signal(SIGTERM, On_Stop_Signal);
  for (const orv::Net_Fd fd : server.listeners) {
    std::fprintf(stderr, "orvane-relay: listening on port %u\n", orv::Net_Local_Port(fd));
  }
  const auto start = std::chrono::steady_clock::now();
  while (!g_stop) {
    if (max_seconds > 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >
            max_seconds) {
      break;
    }
    orv::Relay_Serve_Once(server, 200);
  }
  const orv::Relay_Counts& c = server.counts;
  std::fprintf(stderr,
               "orvane-relay: %llu clients served, %llu refused (%llu wrong keys), %llu "
               "dropped; %llu blocks passed, %llu refused, %llu timed out\n",
               static_cast<unsigned long long>(c.clients_accepted),
               static_cast<unsigned long long>(c.clients_refused),
               static_cast<unsigned long long>(c.wrong_keys),
               static_cast<unsigned long long>(c.clients_dropped),
               static_cast<unsigned long long>(c.blocks_passed),
               static_cast<unsigned long long>(c.blocks_refused),
               static_cast<unsigned long long>(c.timed_out));
  orv::Relay_Stop(server);
  return 0;
}
