#include "scenery/file_read_ahead.h"

#include <utility>

namespace orv {
namespace {

// Buffers kept for reuse: one per file on its way and the one being walked.
constexpr size_t kMaxSpares = 8;

}  // namespace

File_Read_Ahead::~File_Read_Ahead() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void File_Read_Ahead::Ask(const std::string& path) {
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back({path, false, Read_Status::unopened, {}});
  }
  if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
  changed_.notify_all();
}

size_t File_Read_Ahead::Queued() {
  const std::lock_guard lock(mutex_);
  return jobs_.size();
}

std::optional<Read_Status> File_Read_Ahead::Take(const std::string& path,
                                                 std::vector<uint8_t>& buffer) {
  std::unique_lock lock(mutex_);
  if (jobs_.empty() || jobs_.front().path != path) {
    jobs_.clear();
    next_ = 0;
    ++generation_;
    return std::nullopt;
  }
  changed_.wait(lock, [this] { return jobs_.front().done; });
  Job& job = jobs_.front();
  std::swap(buffer, job.bytes);
  const Read_Status status = job.status;
  if (spares_.size() < kMaxSpares) spares_.push_back(std::move(job.bytes));
  jobs_.pop_front();
  --next_;
  return status;
}

void File_Read_Ahead::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || next_ < jobs_.size(); });
    if (stopping_) return;
    const std::string path = jobs_[next_].path;
    const uint64_t generation = generation_;
    std::vector<uint8_t> bytes;
    if (!spares_.empty()) {
      bytes = std::move(spares_.back());
      spares_.pop_back();
    }
    lock.unlock();
    const Read_Status status = Read_File_Into(Fs_Path(path), bytes, zero_bytes_);
    lock.lock();
    // A dropped queue makes this read pointless; its buffer still serves the next one.
    if (generation != generation_) {
      if (spares_.size() < kMaxSpares) spares_.push_back(std::move(bytes));
      continue;
    }
    Job& job = jobs_[next_++];
    job.status = status;
    job.bytes = std::move(bytes);
    job.done = true;
    changed_.notify_all();
  }
}

}  // namespace orv
