// orvane-relay's side of the simulator: a thread of its own that holds the link to the
// simulator beside it and does one exchange at a time, so that a slow simulator never stops the
// serving thread from accepting, reading, refusing and answering the others. The serving thread
// hands it one job at a time and hears of the job's end through a wake socket it polls with the
// clients.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "simlink/link_transport.h"
#include "simlink/net_socket.h"

namespace orv {

// The relay's own link to the simulator: the block it hands over, as the link client holds it.
struct Relay_Sim {
  std::unique_ptr<Link_Transport> transport;
  uintptr_t window = 0;
  uint32_t window_kind = 0;  // RELAY_WINDOW_*
  uint32_t msg = 0;
  uint16_t atom = 0;
  uintptr_t mapping = 0;
  uint8_t* view = nullptr;
  std::optional<std::chrono::steady_clock::time_point> looked;  // the last search that found none
};

struct Relay_Sim_Job {
  enum Kind : uint8_t { look, pass } kind = look;
  uint64_t client = 0;  // the client's number, for the answer
  uint32_t sequence = 0;
  std::vector<uint8_t> block;  // pass: an allowed block, its read data zeroed
  uint32_t timeout_ms = 0;
};

struct Relay_Sim_Done {
  Relay_Sim_Job job;    // the block as the simulator left it
  uint32_t status = 0;  // pass: RELAY_ANSWER_*
  uint32_t reply = 0;
  uint32_t window_kind = 0;  // the simulator's window after the job, RELAY_WINDOW_NONE when gone
  bool passed = false;       // the block reached the simulator
  bool opened = false;       // the link to the simulator was set up afresh
  std::chrono::steady_clock::duration took{};
};

class Relay_Sim_Worker {
 public:
  Relay_Sim_Worker(std::function<std::unique_ptr<Link_Transport>()> make_transport,
                   uint32_t look_interval_ms);
  ~Relay_Sim_Worker();
  Relay_Sim_Worker(const Relay_Sim_Worker&) = delete;
  Relay_Sim_Worker& operator=(const Relay_Sim_Worker&) = delete;

  // False when the thread or its wake socket could not be made.
  bool Started() const { return thread_.joinable(); }
  // The socket that turns readable when a job is done.
  Net_Fd Wake_Fd() const { return wake_in_; }
  // Hands over a job; only when none is in hand.
  void Start_Job(Relay_Sim_Job job);
  bool Busy() const { return busy_; }
  // The job done, if one is; it clears the wake socket.
  std::optional<Relay_Sim_Done> Take_Done();

 private:
  void Run();
  Relay_Sim_Done Do_Job(Relay_Sim_Job job);

  std::function<std::unique_ptr<Link_Transport>()> make_transport_;
  std::chrono::milliseconds look_interval_;
  Relay_Sim sim_;  // the worker thread's alone
  std::mutex mutex_;
  std::condition_variable wake_worker_;
  std::optional<Relay_Sim_Job> job_;
  std::optional<Relay_Sim_Done> done_;
  bool stop_ = false;
  bool busy_ = false;  // the serving thread's view: a job handed over and not yet taken back
  Net_Fd wake_in_ = NET_NONE;
  Net_Fd wake_out_ = NET_NONE;
  std::thread thread_;
};

}  // namespace orv
