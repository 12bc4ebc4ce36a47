// One chart tick's four exchanges through orvane-relay's engine on loopback, with an in-memory
// module behind the relay: the cost the network path adds to a tick.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <thread>

#include "chart/aircraft_tracking.h"
#include "core/program_state.h"
#include "simlink/fake_link_transport.h"
#include "simlink/network_transport.h"
#include "simlink/relay_server.h"

namespace {

void BM_Relay_Tick(benchmark::State& bench) {
  orv::Relay_Server server;
  server.options.listen = {{"127.0.0.1", 0}};
  server.options.limits.requests_per_second = 1000000;
  server.options.make_transport = [] {
    auto t = std::make_unique<orv::testing::Fake_Transport>();
    orv::Image_Put(t->image, orv::LINK_OFS_IFACE_VERSION, 0x19980005, 4);
    orv::Image_Put(t->image, orv::LINK_OFS_SIM_VERSION, 0xFADE0006, 4);
    return t;
  };
  std::string error;
  if (!orv::Relay_Start(server, error)) {
    bench.SkipWithError(error.c_str());
    return;
  }
  const uint16_t port = orv::Net_Local_Port(server.listeners.at(0));
  std::atomic<bool> stop{false};
  std::thread relay([&] {
    while (!stop) orv::Relay_Serve_Once(server, 20);
    orv::Relay_Stop(server);
  });
  orv::Link_State link;
  link.transport = std::make_unique<orv::Network_Transport>(
      orv::Network_Transport_Options{.relay = {"127.0.0.1", port}, .key = ""});
  link.sleep = [](uint32_t) {};
  orv::Link_Init(link);
  int32_t result = 0;
  auto state = std::make_unique<orv::Program_State>();
  if (!orv::Link_Open(link, 6, result)) {
    bench.SkipWithError("the link did not open");
  } else {
    for (auto _ : bench) {
      if (!orv::Read_Aircraft(link, *state, result)) bench.SkipWithError("a tick failed");
    }
  }
  orv::Link_Close(link);
  stop = true;
  relay.join();
}
BENCHMARK(BM_Relay_Tick)->Unit(benchmark::kMicrosecond);

}  // namespace
