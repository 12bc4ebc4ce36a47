// orvane-relay: runs beside the simulator and lets the chart on another computer follow it.
// It listens on the addresses it is given (loopback only when none), passes only the link's own
// reads and write on to the simulator, and runs until it is stopped (or for --max-seconds).
#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

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
  app.add_option("--key", server.options.key,
                 "refuse clients that do not give this key (at most 64 characters)");
  app.add_option("--max-clients", server.options.max_clients, "clients served at once")
      ->check(CLI::Range(1, 64));
  app.add_option("--rate", server.options.requests_per_second,
                 "requests a second each client may make")
      ->check(CLI::Range(1, 1000));
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
  if (server.options.key.size() > orv::RELAY_MAX_KEY) {
    std::fputs("orvane-relay: the key takes at most 64 characters\n", stderr);
    return 2;
  }
#ifndef _WIN32
  if (!socket_dir.empty()) {
    server.options.make_transport = [socket_dir] {
      return std::make_unique<orv::Linux_Transport>(
          orv::Linux_Transport_Options{.socket_dir = socket_dir});
    };
  }
#endif
  std::string error;
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
               "orvane-relay: %llu clients served, %llu refused; %llu blocks passed, %llu "
               "refused\n",
               static_cast<unsigned long long>(c.clients_accepted),
               static_cast<unsigned long long>(c.clients_refused),
               static_cast<unsigned long long>(c.blocks_passed),
               static_cast<unsigned long long>(c.blocks_refused));
  orv::Relay_Stop(server);
  return 0;
}
