#include "core/mapped_file.h"

#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orv {

Mapped_File::~Mapped_File() {
  Release();
}

Mapped_File::Mapped_File(Mapped_File&& other) noexcept {
  *this = std::move(other);
}

Mapped_File& Mapped_File::operator=(Mapped_File&& other) noexcept {
  if (this == &other) return *this;
  Release();
  copy_ = std::move(other.copy_);
  mapping_ = std::exchange(other.mapping_, nullptr);
  size_ = std::exchange(other.size_, 0);
  data_ = mapping_ != nullptr ? static_cast<const uint8_t*>(mapping_) : copy_.data();
  other.data_ = nullptr;
  return *this;
}

void Mapped_File::Release() {
#ifndef _WIN32
  if (mapping_ != nullptr) ::munmap(mapping_, size_);
#endif
  mapping_ = nullptr;
  copy_.clear();
  data_ = nullptr;
  size_ = 0;
}

#ifdef _WIN32

Read_Status Mapped_File::Open(const std::filesystem::path& path, uint64_t max_bytes) {
  Release();
  const Read_Status status = Read_File_Into(path, copy_, 0, max_bytes);
  if (status == Read_Status::ok) {
    data_ = copy_.data();
    size_ = copy_.size();
  }
  return status;
}

#else

Read_Status Mapped_File::Open(const std::filesystem::path& path, uint64_t max_bytes) {
  Release();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Read_Status::unopened;
  struct stat st {};
  Read_Status status = Read_Status::unreadable;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
      static_cast<uint64_t>(st.st_size) <= max_bytes) {
    const auto length = static_cast<size_t>(st.st_size);
    if (length == 0) {
      status = Read_Status::ok;
    } else if (void* m = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0); m != MAP_FAILED) {
      mapping_ = m;
      data_ = static_cast<const uint8_t*>(m);
      size_ = length;
      status = Read_Status::ok;
    }
  }
  ::close(fd);
  return status;
}

#endif

}  // namespace orv
