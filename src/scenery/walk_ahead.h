// Walks the scenery files a scan will want next on worker threads, each file into a result of
// its own (with a few threads reading ahead of them, so that a cold disk has several reads
// to serve at once), while the scan adds the files already walked to the database lists in its own
// order. The workers read and walk; the scan's thread only takes each file's result when its step
// comes, so every status text, message and list entry keeps the order of the plain walk.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/airport_records.h"
#include "core/file_system.h"
#include "core/program_state.h"
#include "scenery/bgl_image.h"
#include "scenery/read_ahead.h"
#include "scenery/scan_bgl_file.h"

namespace orv {

// What the walk of one scenery file found.
struct Walked_File {
  std::string path;
  Read_Status read = Read_Status::unopened;
  bool has_signature = false;               // read, with the signature: the file was walked
  Walk_Stop stop = Walk_Stop::none;         // why its walk ended early
  std::vector<Airport_Entry> airports;      // the file's airports in index order, no spare
  std::vector<std::string> airspace_files;  // what the airspace reader recorded, no spare
};

class Walk_Ahead {
 public:
  // The workers walk `paths` in this order, at most a few files ahead of the one taken last.
  // The settings and the magnetic grid of `st` are copied: the workers never touch `st`.
  // `how` says how each file is read.
  Walk_Ahead(const Program_State& st, Airspace_Section_Reader read_airspace,
             std::vector<std::string> paths, int workers, Bgl_Read how = Bgl_Read::pieces);
  ~Walk_Ahead();
  Walk_Ahead(const Walk_Ahead&) = delete;
  Walk_Ahead& operator=(const Walk_Ahead&) = delete;

  // When the next file of the paths is `path`: waits until it is walked and swaps its result
  // into `out` (whose lists are kept for a later file). Otherwise returns false and takes
  // nothing: the caller walks `path` itself.
  bool Take(const std::string& path, Walked_File& out);

 private:
  struct Slot {
    Walked_File file;
    bool done = false;
  };
  void Run();
  bool Ready_To_Take() const;

  Program_State settings_;  // what the workers copy: flags and the magnetic grid
  const Airspace_Section_Reader read_airspace_;
  const Bgl_Read how_;
  const std::vector<std::string> paths_;
  std::mutex mutex_;
  std::condition_variable slot_freed_;   // a worker waits for room ahead, or the end
  std::condition_variable file_walked_;  // the taker waits for the files it wants
  std::vector<Slot> slots_;              // file i is walked into slot i % slots_.size()
  size_t claimed_ = 0;                   // files a worker has started
  size_t taken_ = 0;                     // files taken
  size_t wanted_ = 0;                    // the taker sleeps until the files before this are walked
  bool taker_waiting_ = false;
  int workers_waiting_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
  std::unique_ptr<Read_Ahead> read_ahead_;  // reads the files ahead of the workers
};

}  // namespace orv
