// A relay engine on a free loopback port, served on its own thread, with the fake module behind
// it holding an aircraft at a fixed position, heading 270 and 1013 millibars.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "simlink/fake_link_transport.h"
#include "simlink/relay_server.h"

namespace orv::testing {

// Serves until the test ends or Kill().
class Relay_Running {
 public:
  explicit Relay_Running(std::string key = "") {
    server_.options.listen = {{"127.0.0.1", 0}};
    server_.options.key = std::move(key);
    server_.options.make_transport = [this] {
      auto t = std::make_unique<Fake_Transport>();
      Image_Put(t->image, LINK_OFS_IFACE_VERSION, 0x19980005, 4);
      Image_Put(t->image, LINK_OFS_SIM_VERSION, 0xFADE0006, 4);
      Image_Put(t->image, 0x0564, 0x0401F3AF, 4);
      Image_Put(t->image, 0x0580, 0xC0000000, 4);  // 270 degrees
      Image_Put(t->image, 0x0EC6, 16208, 2);
      t->alive = [this] { return !sim_gone; };
      t->module = [this, t = t.get()](std::span<uint8_t> block, int) {
        ++sends;
        if (hold_first.exchange(false)) release.get_future().wait();
        return t->Answer_From_Image(block);
      };
      return t;
    };
    std::string error;
    EXPECT_TRUE(Relay_Start(server_, error)) << error;
    port = Net_Local_Port(server_.listeners.at(0));
    thread_ = std::thread([this] {
      while (!stop_) Relay_Serve_Once(server_, 20);
      Relay_Stop(server_);
    });
  }
  ~Relay_Running() { Kill(); }
  void Kill() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  uint16_t port = 0;
  std::atomic<int> sends{0};
  std::atomic<bool> hold_first{false};  // the first send waits for `release`
  std::atomic<bool> sim_gone{false};    // the module's window has gone away
  std::promise<void> release;

 private:
  Relay_Server server_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace orv::testing
