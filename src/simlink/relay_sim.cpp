#include "simlink/relay_sim.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "simlink/link_block.h"
#include "simlink/link_client.h"
#include "simlink/relay_wire.h"

namespace orv {

namespace {

using Clock = std::chrono::steady_clock;

void Close_Sim(Relay_Sim& sim) {
  Link_Transport* t = sim.transport.get();
  if (t != nullptr) {
    if (sim.view != nullptr) t->Unmap_View(sim.view, LINK_BLOCK_SIZE);
    if (sim.mapping != 0) t->Close_Mapping(sim.mapping);
    if (sim.atom != 0) t->Delete_Atom(sim.atom);
    if (sim.window != 0) t->Release_Window(sim.window);
  }
  const auto looked = sim.looked;
  sim = {};
  sim.looked = looked;
}

// Finds the module's window and sets up the block the relay hands it, as the link's open does.
bool Open_Sim(Relay_Sim& sim, const std::function<std::unique_ptr<Link_Transport>()>& make) {
  Close_Sim(sim);
  sim.transport = make();
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
  return true;
}

}  // namespace

Relay_Sim_Worker::Relay_Sim_Worker(std::function<std::unique_ptr<Link_Transport>()> make_transport,
                                   uint32_t look_interval_ms)
    : make_transport_(std::move(make_transport)), look_interval_(look_interval_ms) {
  if (!Net_Wake_Pair(wake_in_, wake_out_)) return;
  thread_ = std::thread([this] { Run(); });
}

Relay_Sim_Worker::~Relay_Sim_Worker() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_worker_.notify_all();
  if (thread_.joinable()) thread_.join();
  Close_Sim(sim_);
  Net_Close(wake_in_);
  Net_Close(wake_out_);
}

void Relay_Sim_Worker::Start_Job(Relay_Sim_Job job) {
  busy_ = true;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    job_ = std::move(job);
  }
  wake_worker_.notify_all();
}

std::optional<Relay_Sim_Done> Relay_Sim_Worker::Take_Done() {
  Net_Drain(wake_in_);
  const std::lock_guard<std::mutex> lock(mutex_);
  std::optional<Relay_Sim_Done> done = std::move(done_);
  done_.reset();
  if (done) busy_ = false;
  return done;
}

void Relay_Sim_Worker::Run() {
  for (;;) {
    Relay_Sim_Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_worker_.wait(lock, [this] { return stop_ || job_.has_value(); });
      if (stop_) return;
      job = std::move(*job_);
      job_.reset();
    }
    Relay_Sim_Done done = Do_Job(std::move(job));
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      done_ = std::move(done);
    }
    Net_Wake(wake_out_);
  }
}

Relay_Sim_Done Relay_Sim_Worker::Do_Job(Relay_Sim_Job job) {
  const Clock::time_point start = Clock::now();
  Relay_Sim_Done done;
  // A simulator that went away since the last job is let go of, so that nobody is told of it.
  if (sim_.view != nullptr && !sim_.transport->Window_Alive(sim_.window)) Close_Sim(sim_);
  // While none is there it is looked for at most once a look interval.
  if (sim_.view == nullptr && (!sim_.looked || start - *sim_.looked >= look_interval_)) {
    done.opened = Open_Sim(sim_, make_transport_);
    sim_.looked = done.opened ? std::nullopt : std::optional<Clock::time_point>(start);
  }
  if (job.kind == Relay_Sim_Job::pass) {
    done.status = RELAY_ANSWER_NO_SIM;
    if (sim_.view != nullptr) {
      std::memset(sim_.view, 0, LINK_BLOCK_SIZE);
      std::memcpy(sim_.view, job.block.data(), job.block.size());
      done.passed = true;
      const Link_Send_Result sent = sim_.transport->Send_Message(
          sim_.window, sim_.msg, static_cast<int16_t>(sim_.atom), 0, job.timeout_ms);
      if (sent.delivered) {
        std::memcpy(job.block.data(), sim_.view, job.block.size());
        done.reply = sent.reply;
        done.status = RELAY_ANSWER_DELIVERED;
      } else if (sent.system_error != 0) {
        // A simulator that is gone is looked for afresh; one that is only slow keeps its link.
        Close_Sim(sim_);
      } else {
        done.status = RELAY_ANSWER_TIMEOUT;
      }
    }
  }
  done.window_kind = sim_.view != nullptr ? sim_.window_kind : RELAY_WINDOW_NONE;
  done.job = std::move(job);
  done.took = Clock::now() - start;
  return done;
}

}  // namespace orv
