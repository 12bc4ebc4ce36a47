// The file layer on Linux: names matched ignoring ASCII case by listing each folder, as the
// simulator's own file system would match them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>

#include "core/file_listing.h"
#include "core/file_system.h"
#include "core/text_1252.h"

namespace orv {

namespace stdfs = std::filesystem;

using file_listing::Ends_With_Ci;
using file_listing::Listing_Less;

std::string Current_Folder() {
  std::error_code ec;
  const stdfs::path current = stdfs::current_path(ec);
  return ec ? std::string(".") : current.string();
}

std::string Drive_Current_Folder(std::string_view) {
  return Current_Folder();  // one drive, "/", holds every folder
}

std::string Absolute_Native_Path(std::string_view path) {
  std::error_code ec;
  const stdfs::path absolute = stdfs::absolute(stdfs::path(std::string(path)), ec);
  return ec ? std::string(path) : absolute.lexically_normal().string();
}

namespace {

// Splits at either separator; keeps empty components out.
std::vector<std::string> Split_Components(std::string_view path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : path) {
    if (c == '/' || c == '\\') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

bool Entry_Exists(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::exists(p, ec);
}

// The names in `dir` (the current folder when empty) that equal `name` ignoring ASCII case,
// read without throwing; an entry that cannot be read ends the listing.
std::vector<std::string> Names_Matching(const stdfs::path& dir, const std::string& name) {
  std::vector<std::string> names;
  std::error_code ec;
  stdfs::directory_iterator it(dir.empty() ? stdfs::path(".") : dir, ec);
  const std::string wanted = Lower_Ascii(name);
  for (; !ec && it != stdfs::directory_iterator(); it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (Lower_Ascii(candidate) == wanted) names.push_back(std::move(candidate));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The entry of `dir` matching `name` ignoring case: exact first, else the first in byte order.
std::optional<std::string> Match_Entry(const stdfs::path& dir, const std::string& name) {
  if (name == "." || name == "..") return name;
  if (Entry_Exists(dir / name)) return name;
  std::vector<std::string> names = Names_Matching(dir, name);
  if (names.empty()) return std::nullopt;
  return std::move(names.front());
}

bool Is_Regular_File(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::is_regular_file(p, ec);
}

bool Is_Hidden(const std::string& name) {
  return !name.empty() && name[0] == '.';
}

}  // namespace

std::optional<std::string> Resolve_Path_Ci(std::string_view path) {
  // The system would read a name only up to a zero byte: such a path names nothing.
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  const bool absolute = path.front() == '/';
  stdfs::path current = absolute ? stdfs::path("/") : stdfs::path();
  std::string spelled = absolute ? "/" : "";
  for (const std::string& part : Split_Components(path)) {
    std::optional<std::string> found = Match_Entry(current, part);
    if (!found) return std::nullopt;
    current /= *found;
    if (!spelled.empty() && spelled.back() != '/') spelled.push_back('/');
    spelled += *found;
  }
  if (!Entry_Exists(current.empty() ? stdfs::path(".") : current)) return std::nullopt;
  return spelled.empty() ? std::string(".") : spelled;
}

std::vector<std::string> List_Files_Ci(std::string_view folder, std::string_view suffix) {
  std::vector<std::string> names;
  std::error_code ec;
  stdfs::directory_iterator it(stdfs::path(std::string(folder)), ec);
  for (; !ec && it != stdfs::directory_iterator(); it.increment(ec)) {
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    std::string name = it->path().filename().string();
    if (Is_Hidden(name) || !Ends_With_Ci(name, suffix)) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), Listing_Less);
  return names;
}

std::vector<std::string> List_Subfolders(std::string_view folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  std::error_code ec;
  stdfs::directory_iterator it(stdfs::path(std::string(folder)), ec);
  for (; !ec && it != stdfs::directory_iterator(); it.increment(ec)) {
    std::error_code type_ec;
    if (!it->is_directory(type_ec)) continue;
    std::string name = it->path().filename().string();
    if (!Is_Hidden(name)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), Listing_Less);
  return names;
}

std::optional<std::string> Find_File_Ci(std::string_view folder, std::string_view name) {
  const stdfs::path dir{std::string(folder)};
  const std::string wanted(name);
  // A folder or anything else of the exact name neither counts nor hides a file spelled
  // otherwise.
  if (Is_Hidden(wanted)) return std::nullopt;
  if (Is_Regular_File(dir / wanted)) return wanted;
  for (std::string& candidate : Names_Matching(dir, wanted)) {
    if (Is_Regular_File(dir / candidate)) return std::move(candidate);
  }
  return std::nullopt;
}

namespace {

// Closes a file descriptor when the read is over, however it ends.
struct Fd_Closer {
  int fd;
  ~Fd_Closer() { ::close(fd); }
};

}  // namespace

Read_Status Read_File_Reusing(const stdfs::path& path, std::vector<uint8_t>& buffer, size_t& length,
                              size_t zero_bytes, uint64_t max_bytes) {
  // One open, one status and the reads, straight into the buffer. Non-blocking, so that a pipe
  // put where a file was listed is refused instead of waiting for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Read_Status::unopened;
  const Fd_Closer closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    return Read_Status::unreadable;
  }
  const auto size = static_cast<uint64_t>(info.st_size);
  if (size > max_bytes || size > std::numeric_limits<size_t>::max() - zero_bytes - 1) {
    return Read_Status::unreadable;
  }
  const auto n = static_cast<size_t>(size);
  if (buffer.size() < n + zero_bytes) buffer.resize(n + zero_bytes);
  size_t done = 0;
  while (done < n) {
    const ssize_t got = ::read(fd, buffer.data() + done, n - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return Read_Status::unreadable;  // a failed read, or shorter than it was
    done += static_cast<size_t>(got);
  }
  std::fill_n(buffer.begin() + static_cast<std::ptrdiff_t>(n), zero_bytes, uint8_t{0});
  length = n;
  return Read_Status::ok;
}

Read_Status Positioned_File::Open(const stdfs::path& path) {
  Close();
  // Non-blocking, so that a pipe put where a file was listed is refused instead of waiting.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) return Read_Status::unopened;
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    Close();
    return Read_Status::unreadable;
  }
  size_ = static_cast<uint64_t>(info.st_size);
  return Read_Status::ok;
}

void Positioned_File::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

bool Positioned_File::Is_Open() const {
  return fd_ >= 0;
}

void Positioned_File::Swap(Positioned_File& other) noexcept {
  std::swap(fd_, other.fd_);
  std::swap(size_, other.size_);
}

size_t Positioned_File::Read_At(uint64_t offset, uint8_t* out, size_t n) const {
  constexpr auto kMaxOff = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
  size_t done = 0;
  while (fd_ >= 0 && done < n && offset + done <= kMaxOff) {
    const ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the file's end, or a failed read
    done += static_cast<size_t>(got);
  }
  return done;
}

std::vector<std::string> Drive_List() {
  return {"/"};
}

}  // namespace orv
