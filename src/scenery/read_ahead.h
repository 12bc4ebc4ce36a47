// Brings the scenery files a reader will come to next from the disk into the system's cache on
// a few threads of its own, so that a cold disk has many reads to serve at once while the
// reader walks the files one after another. It changes nothing the reader reads, only how soon
// the bytes are there; when the files turn out to be in memory already, it stops.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orv {

class Read_Ahead {
 public:
  // Reads ahead in the files of `paths`, in their order, on `threads` threads, at most `ahead`
  // files beyond the one the reader reached last.
  Read_Ahead(const std::vector<std::string>& paths, int threads, size_t ahead);
  ~Read_Ahead();
  Read_Ahead(const Read_Ahead&) = delete;
  Read_Ahead& operator=(const Read_Ahead&) = delete;

  // The reader has come to file i: the files before it are no longer read ahead.
  void Reached(size_t i);

 private:
  void Run();

  const std::vector<std::string>& paths_;
  const size_t ahead_;
  std::mutex mutex_;
  std::condition_variable room_;  // a thread waits for the reader to catch up
  size_t next_ = 0;               // the next file to read ahead
  size_t reached_ = 0;            // the file the reader reached last
  int waiting_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// Brings the file at `path` into the system's cache as a walk will read it: the header piece,
// then the first piece of each section the header names. `scratch` is reused between files.
void Read_Bgl_File_Ahead(const std::string& path, std::vector<uint8_t>& scratch);

}  // namespace orv
