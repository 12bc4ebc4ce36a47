// Reads the scenery files a scan will want next on a second thread, so that opening and copying
// one file into memory overlaps the walk of the file before it. The walk itself stays on the
// caller's thread and takes the files in the order it asked for them.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/file_system.h"

namespace orv {

class File_Read_Ahead {
 public:
  // Each file is read with this many zero bytes after it (the image's extra byte).
  explicit File_Read_Ahead(size_t zero_bytes) : zero_bytes_(zero_bytes) {}
  ~File_Read_Ahead();
  File_Read_Ahead(const File_Read_Ahead&) = delete;
  File_Read_Ahead& operator=(const File_Read_Ahead&) = delete;

  // Queues a file; the second thread starts with the first one.
  void Ask(const std::string& path);

  // How many files are queued or read and not yet taken.
  size_t Queued();

  // When the oldest queued file is `path`: waits until it is read, swaps its bytes into
  // `buffer` (the buffer given is kept for a later file) and returns how its read went.
  // Otherwise drops every queued file and returns nothing: the caller reads `path` itself.
  std::optional<Read_Status> Take(const std::string& path, std::vector<uint8_t>& buffer);

 private:
  struct Job {
    std::string path;
    bool done = false;
    Read_Status status = Read_Status::unopened;
    std::vector<uint8_t> bytes;
  };
  void Run();

  const size_t zero_bytes_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;                      // in the order asked; the first `next_` are read
  size_t next_ = 0;                           // the job the second thread reads next
  uint64_t generation_ = 0;                   // raised when the queue is dropped
  std::vector<std::vector<uint8_t>> spares_;  // buffers to read the next files into
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace orv
