#include "scenery/walk_ahead.h"

#include <algorithm>
#include <utility>

namespace orv {
namespace {

// Files walked ahead of the one taken last: enough to keep the workers busy while the scan's
// thread is elsewhere (a window repainting), few enough that the results held stay small.
constexpr size_t kSlots = 16;

// Sleeping and waking a thread costs more than the walk of a small file: once the taker has to
// wait, it waits until this many files are walked.
constexpr size_t kTakenTogether = 4;

// A list of the state starts each file empty, with its spare element, keeping its capacity.
template <typename T>
void Start_List(std::vector<T>& list, int32_t& count) {
  list.clear();
  list.resize(1);
  count = 0;
}

// The used elements of a list of the state move to `out`, which gives its capacity back.
template <typename T>
void End_List(std::vector<T>& list, int32_t& count, std::vector<T>& out) {
  list.resize(static_cast<size_t>(std::max(count, 0)));
  out.swap(list);
  count = 0;
}

// Threads that read ahead of the workers from a cold disk, so that it has several reads to
// serve at once while the workers walk, and how far ahead of them they go.
constexpr int kReadersAhead = 16;
constexpr size_t kReadAhead = 256;

// Reads `path` and walks it as the scan would, with `st` standing in for the program's state:
// its airport and airspace file lists start empty and end in `out`. `buffers` are the reused
// buffers the file is read into.
void Walk_Scenery_File(Program_State& st, Bgl_Buffers& buffers, Bgl_Read how,
                       const std::string& path, Airspace_Section_Reader read_airspace,
                       Walked_File& out) {
  out.path = path;
  out.airports.clear();
  out.airspace_files.clear();
  Start_List(st.airports, st.airport_count);
  Start_List(st.airspace_files, st.airspace_file_count);
  const Bgl_Walk walk =
      Read_And_Scan_Bgl_File(st, buffers, how, Fs_Path(path), path, read_airspace);
  out.read = walk.read;
  out.has_signature = walk.has_signature;
  out.stop = walk.stop;
  End_List(st.airports, st.airport_count, out.airports);
  End_List(st.airspace_files, st.airspace_file_count, out.airspace_files);
}

}  // namespace

Walk_Ahead::Walk_Ahead(const Program_State& st, Airspace_Section_Reader read_airspace,
                       std::vector<std::string> paths, int workers, Bgl_Read how)
    : read_airspace_(read_airspace), how_(how), paths_(std::move(paths)), slots_(kSlots) {
  settings_.work_dir = st.work_dir;
  settings_.cfg = st.cfg;
  settings_.first_run = st.first_run;
  settings_.db_ready = st.db_ready;
  settings_.sim_version = st.sim_version;
  settings_.fs_path = st.fs_path;
  settings_.mag_var_table = st.mag_var_table;
  // Made before the workers, which tell it where they are.
  if (how_ == Bgl_Read::pieces && paths_.size() > kReadAhead) {
    read_ahead_ = std::make_unique<Read_Ahead>(paths_, kReadersAhead, kReadAhead);
  }
  const size_t count = std::min(static_cast<size_t>(std::max(workers, 1)), paths_.size());
  for (size_t i = 0; i < count; ++i) workers_.emplace_back([this] { Run(); });
}

Walk_Ahead::~Walk_Ahead() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  slot_freed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

bool Walk_Ahead::Ready_To_Take() const {
  for (size_t i = taken_; i < wanted_; ++i) {
    if (!slots_[i % slots_.size()].done) return false;
  }
  return true;
}

bool Walk_Ahead::Take(const std::string& path, Walked_File& out) {
  std::unique_lock lock(mutex_);
  if (taken_ >= paths_.size() || paths_[taken_] != path || workers_.empty()) return false;
  Slot& slot = slots_[taken_ % slots_.size()];
  if (!slot.done) {
    wanted_ = std::min(paths_.size(), taken_ + kTakenTogether);
    taker_waiting_ = true;
    file_walked_.wait(lock, [this] { return Ready_To_Take(); });
    taker_waiting_ = false;
  }
  std::swap(out, slot.file);
  slot.done = false;
  ++taken_;
  if (workers_waiting_ > 0) slot_freed_.notify_one();
  return true;
}

void Walk_Ahead::Run() {
  // The worker's own state: the settings and grid of the scan, and lists of its own.
  Program_State st = settings_;
  Bgl_Buffers buffers;
  std::unique_lock lock(mutex_);
  for (;;) {
    while (!stopping_ && claimed_ < paths_.size() && claimed_ >= taken_ + slots_.size()) {
      ++workers_waiting_;
      slot_freed_.wait(lock);
      --workers_waiting_;
    }
    if (stopping_ || claimed_ >= paths_.size()) return;
    const size_t i = claimed_++;
    Slot& slot = slots_[i % slots_.size()];
    lock.unlock();
    if (read_ahead_) read_ahead_->Reached(i);
    Walk_Scenery_File(st, buffers, how_, paths_[i], read_airspace_, slot.file);
    lock.lock();
    slot.done = true;
    if (taker_waiting_ && Ready_To_Take()) file_walked_.notify_one();
  }
}

}  // namespace orv
