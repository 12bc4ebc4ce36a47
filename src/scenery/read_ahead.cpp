#include "scenery/read_ahead.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <span>

#include "core/file_system.h"
#include "scenery/bgl_image.h"

namespace orv {
namespace {

// A file read ahead faster than this was in memory already; after this many such in a row, the
// thread ends: reading the files twice would then only cost time.
constexpr auto kInMemory = std::chrono::microseconds(40);
constexpr int kInMemoryInARow = 16;

}  // namespace

void Read_Bgl_File_Ahead(const std::string& path, std::vector<uint8_t>& scratch) {
  Positioned_File file;
  if (file.Open(Fs_Path(path)) != Read_Status::ok) return;
  std::array<uint8_t, BGL_HEAD_PIECE> head{};
  const size_t got = file.Read_At(0, head.data(), head.size());
  const std::span<const uint8_t> read(head.data(), got);
  if (!Has_Bgl_Signature(read)) return;
  Bgl_Reader rd(read);
  if (Read_Long(rd, 144) != 1) return;
  for (const int64_t header_field : {156, 164}) {
    const int32_t section = Read_Long(rd, header_field);
    if (!rd.ok() || section <= 0) continue;
    // The first piece of a section is enough for the disk to read ahead from; only files with
    // sections need the room.
    scratch.resize(static_cast<size_t>(BGL_PIECE));
    const int64_t start = section / BGL_PIECE * BGL_PIECE;
    file.Read_At(static_cast<uint64_t>(start), scratch.data(), scratch.size());
  }
}

Read_Ahead::Read_Ahead(const std::vector<std::string>& paths, int threads, size_t ahead)
    : paths_(paths), ahead_(ahead) {
  for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Run(); });
}

Read_Ahead::~Read_Ahead() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  room_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void Read_Ahead::Reached(size_t i) {
  const std::lock_guard lock(mutex_);
  reached_ = std::max(reached_, i);
  // The threads wake when half of the files ahead are read, not at every file.
  if (waiting_ > 0 && next_ <= reached_ + ahead_ / 2) room_.notify_all();
}

void Read_Ahead::Run() {
  std::vector<uint8_t> scratch;
  int in_memory = 0;
  std::unique_lock lock(mutex_);
  while (in_memory < kInMemoryInARow) {
    while (!stopping_ && next_ < paths_.size() && next_ >= reached_ + ahead_) {
      ++waiting_;
      room_.wait(lock);
      --waiting_;
    }
    next_ = std::max(next_, reached_ + 1);  // the reader reads those itself
    if (stopping_ || next_ >= paths_.size()) return;
    const size_t i = next_++;
    lock.unlock();
    const auto t0 = std::chrono::steady_clock::now();
    Read_Bgl_File_Ahead(paths_[i], scratch);
    in_memory = std::chrono::steady_clock::now() - t0 < kInMemory ? in_memory + 1 : 0;
    lock.lock();
  }
}

}  // namespace orv
