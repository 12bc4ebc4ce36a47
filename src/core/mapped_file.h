// A whole file's bytes held read-only in memory for decoding: mapped from the system's file
// cache where the platform allows it (no copy and no zero-filled buffer, which dominated the
// time of a database load), else read whole into a buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/file_system.h"

namespace orv {

class Mapped_File {
 public:
  Mapped_File() = default;
  ~Mapped_File();
  Mapped_File(Mapped_File&& other) noexcept;
  Mapped_File& operator=(Mapped_File&& other) noexcept;
  Mapped_File(const Mapped_File&) = delete;
  Mapped_File& operator=(const Mapped_File&) = delete;

  std::span<const uint8_t> Bytes() const { return {data_, size_}; }
  size_t size() const { return size_; }

  // Opens `path` and holds its bytes; a file larger than max_bytes, a folder or a failed read
  // is unreadable. What was held before is released first.
  Read_Status Open(const std::filesystem::path& path, uint64_t max_bytes = UINT64_MAX);

 private:
  void Release();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  void* mapping_ = nullptr;    // the mapping, when the bytes are mapped
  std::vector<uint8_t> copy_;  // the bytes, when they were read
};

}  // namespace orv
