#include "core/file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>

#include "core/text_1252.h"

#ifdef _WIN32
#include <windows.h>

#include <climits>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orv {

namespace stdfs = std::filesystem;

#ifdef _WIN32

namespace {

// `text` in `code_page` as UTF-16; nothing when the system cannot convert it.
std::optional<std::wstring> Wide_From(std::string_view text, UINT code_page, DWORD flags) {
  std::wstring wide;
  if (text.empty()) return wide;
  if (text.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(code_page, flags, text.data(), length, nullptr, 0);
  if (n <= 0) return std::nullopt;
  wide.resize(static_cast<size_t>(n));
  if (MultiByteToWideChar(code_page, flags, text.data(), length, wide.data(), n) != n) {
    return std::nullopt;
  }
  return wide;
}

// UTF-16 as bytes of `code_page`. Where that code page is not UTF-8, a character without a byte
// of its own fails the conversion instead of becoming a look-alike or "?": a path must name the
// very folder it was given.
std::optional<std::string> Narrow_From(std::wstring_view wide, UINT code_page) {
  std::string out;
  if (wide.empty()) return out;
  if (wide.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const bool utf8 = code_page == CP_UTF8 || (code_page == CP_ACP && GetACP() == CP_UTF8);
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* const used = utf8 ? nullptr : &used_default;
  const int length = static_cast<int>(wide.size());
  const int n =
      WideCharToMultiByte(code_page, flags, wide.data(), length, nullptr, 0, nullptr, used);
  if (n <= 0 || used_default) return std::nullopt;
  out.resize(static_cast<size_t>(n));
  if (WideCharToMultiByte(code_page, flags, wide.data(), length, out.data(), n, nullptr, used) !=
          n ||
      used_default) {
    return std::nullopt;
  }
  return out;
}

}  // namespace

std::string Utf8_From_Wide(std::wstring_view text) {
  return Narrow_From(text, CP_UTF8).value_or(std::string());
}

std::optional<std::string> Native_Path_From_Wide(std::wstring_view text) {
  return Narrow_From(text, CP_ACP);
}

std::optional<std::string> Native_Path_From_Utf8(std::string_view text) {
  const std::optional<std::wstring> wide = Wide_From(text, CP_UTF8, MB_ERR_INVALID_CHARS);
  if (!wide) return std::nullopt;
  return Native_Path_From_Wide(*wide);
}

std::string Utf8_From_Native_Path(std::string_view path) {
  const std::optional<std::wstring> wide = Wide_From(path, CP_ACP, 0);
  return wide ? Utf8_From_Wide(*wide) : std::string(path);
}

stdfs::path Fs_Path(std::string_view path) {
  const std::optional<std::wstring> wide = Wide_From(path, CP_ACP, 0);
  return wide ? stdfs::path(*wide) : stdfs::path();
}

stdfs::path Fs_Path_From_Utf8(std::string_view text) {
  const std::optional<std::wstring> wide = Wide_From(text, CP_UTF8, MB_ERR_INVALID_CHARS);
  return wide ? stdfs::path(*wide) : stdfs::path();
}

std::string Current_Folder() {
  char folder[MAX_PATH + 1] = {};
  const DWORD n = GetCurrentDirectoryA(sizeof folder, folder);
  if (n == 0 || n >= sizeof folder) return ".";
  return std::string(folder, n);
}

std::string Drive_Current_Folder(std::string_view drive) {
  // "x:" without a separator is, to the system, the current folder of drive x. Only a drive's
  // root keeps its separator, as the folder list shows it.
  std::string folder = Absolute_Native_Path(drive.substr(0, 2));
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string Absolute_Native_Path(std::string_view path) {
  const std::string given(path);
  char full[MAX_PATH + 1] = {};
  const DWORD n = GetFullPathNameA(given.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return given;
  return std::string(full, n);
}

#else

std::optional<std::string> Native_Path_From_Utf8(std::string_view text) {
  return std::string(text);
}

std::string Utf8_From_Native_Path(std::string_view path) {
  return std::string(path);
}

stdfs::path Fs_Path(std::string_view path) {
  return stdfs::path(std::string(path));
}

stdfs::path Fs_Path_From_Utf8(std::string_view text) {
  return stdfs::path(std::string(text));
}

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

#endif  // _WIN32

std::string Join_Path(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  joined.push_back(NATIVE_SEPARATOR);
  joined.append(name);
  return joined;
}

namespace {

bool Ends_With_Ci(std::string_view name, std::string_view suffix) {
  if (suffix.size() > name.size()) return false;
  return Lower_Ascii(name.substr(name.size() - suffix.size())) == Lower_Ascii(suffix);
}

std::string Upper_Ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return out;
}

bool Listing_Less(const std::string& a, const std::string& b) {
  const std::string ua = Upper_Ascii(a);
  const std::string ub = Upper_Ascii(b);
  if (ua != ub) return ua < ub;
  return a < b;
}

#ifndef _WIN32

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

#endif  // _WIN32

}  // namespace

std::optional<std::string> Resolve_Path_Ci(std::string_view path) {
  // The system would read a name only up to a zero byte: such a path names nothing.
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
#ifdef _WIN32
  // The system matches names ignoring case itself; the path keeps the spelling it was given.
  if (GetFileAttributesA(std::string(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
    return std::nullopt;
  }
  return std::string(path);
#else
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
#endif
}

#ifdef _WIN32

namespace {

// A wildcard in a name would make the system list other files than the one asked for.
bool Has_Wildcard(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

// The entries the system lists for `pattern`, in the system's own order (on NTFS by upper-cased
// name), as ANSI code page names with their attributes.
std::vector<WIN32_FIND_DATAA> Find_Entries(const std::string& pattern) {
  std::vector<WIN32_FIND_DATAA> found;
  WIN32_FIND_DATAA data{};
  const HANDLE h = FindFirstFileA(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back(data);
  } while (FindNextFileA(h, &data));
  FindClose(h);
  return found;
}

// A normal file of a listing: not a folder, not hidden, not a system file.
bool Is_Normal_File(const WIN32_FIND_DATAA& data) {
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (data.dwFileAttributes & kNotNormal) == 0;
}

}  // namespace

std::vector<std::string> List_Files_Ci(std::string_view folder, std::string_view suffix) {
  std::vector<std::string> names;
  if (Has_Wildcard(suffix)) return names;
  std::string pattern(1, '*');
  pattern.append(suffix);
  for (const WIN32_FIND_DATAA& data : Find_Entries(Join_Path(folder, pattern))) {
    const std::string name = data.cFileName;
    // The pattern also matches longer extensions through their short names: keep the suffix.
    if (Is_Normal_File(data) && Ends_With_Ci(name, suffix)) names.push_back(name);
  }
  return names;
}

std::optional<std::string> Find_File_Ci(std::string_view folder, std::string_view name) {
  if (name.empty() || Has_Wildcard(name)) return std::nullopt;
  for (const WIN32_FIND_DATAA& data : Find_Entries(Join_Path(folder, name))) {
    if (Is_Normal_File(data)) return std::string(data.cFileName);
  }
  return std::nullopt;
}

std::vector<std::string> List_Subfolders(std::string_view folder) {
  std::vector<std::string> names;
  std::optional<std::wstring> pattern = Wide_From(folder, CP_UTF8, MB_ERR_INVALID_CHARS);
  if (!pattern || pattern->empty()) return names;
  // "c:" means that drive's root here, as it does to the wizard's check.
  if (pattern->back() != L'\\' && pattern->back() != L'/') pattern->push_back(L'\\');
  pattern->push_back(L'*');
  constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  WIN32_FIND_DATAW data{};
  // A drive without a medium gives an empty list, not the system's "insert a disk" box.
  DWORD was_mode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &was_mode);
  const HANDLE h = FindFirstFileW(pattern->c_str(), &data);
  SetThreadErrorMode(was_mode, nullptr);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring_view name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (data.dwFileAttributes & kLeftOut) != 0 || name == L"." || name == L"..") {
      continue;
    }
    names.push_back(Utf8_From_Wide(name));
  } while (FindNextFileW(h, &data));
  FindClose(h);
  std::sort(names.begin(), names.end(), Listing_Less);
  return names;
}

#else

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

#endif  // _WIN32

std::optional<std::vector<uint8_t>> Read_Whole_File(const stdfs::path& path, uint64_t max_bytes) {
  // Only a regular file has a size to trust: the seek position of a folder is no length.
  std::error_code ec;
  if (!stdfs::is_regular_file(path, ec)) return std::nullopt;
  const uintmax_t length = stdfs::file_size(path, ec);
  if (ec || length > max_bytes || length > std::numeric_limits<std::streamsize>::max()) {
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  if (length > 0 &&
      !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length))) {
    return std::nullopt;  // shorter than it was a moment ago
  }
  return bytes;
}

#ifdef _WIN32

Read_Status Read_File_Reusing(const stdfs::path& path, std::vector<uint8_t>& buffer, size_t& length,
                              size_t zero_bytes, uint64_t max_bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Read_Status::unopened;
  // Only a regular file has a size to trust: the seek position of a folder is no length.
  std::error_code ec;
  if (!stdfs::is_regular_file(path, ec)) return Read_Status::unreadable;
  const uintmax_t size = stdfs::file_size(path, ec);
  constexpr auto kMaxRead = static_cast<uintmax_t>(std::numeric_limits<std::streamsize>::max());
  if (ec || size > max_bytes || size > kMaxRead - zero_bytes) return Read_Status::unreadable;
  const auto n = static_cast<size_t>(size);
  if (buffer.size() < n + zero_bytes) buffer.resize(n + zero_bytes);
  // Reads of a whole file go straight into the buffer, not through the stream's own.
  if (n > 0 && !in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(n))) {
    return Read_Status::unreadable;  // shorter than it was a moment ago
  }
  std::fill_n(buffer.begin() + static_cast<std::ptrdiff_t>(n), zero_bytes, uint8_t{0});
  length = n;
  return Read_Status::ok;
}

#else

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

#endif  // _WIN32

#ifdef _WIN32

Read_Status Positioned_File::Open(const stdfs::path& path) {
  Close();
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Read_Status::unopened;
  handle_ = h;
  LARGE_INTEGER size{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &size) || size.QuadPart < 0) {
    Close();
    return Read_Status::unreadable;
  }
  size_ = static_cast<uint64_t>(size.QuadPart);
  return Read_Status::ok;
}

void Positioned_File::Close() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  size_ = 0;
}

bool Positioned_File::Is_Open() const {
  return handle_ != nullptr;
}

void Positioned_File::Swap(Positioned_File& other) noexcept {
  std::swap(handle_, other.handle_);
  std::swap(size_, other.size_);
}

size_t Positioned_File::Read_At(uint64_t offset, uint8_t* out, size_t n) const {
  size_t done = 0;
  while (handle_ != nullptr && done < n) {
    // The offset of each read goes in its OVERLAPPED: no shared file position to move.
    OVERLAPPED at{};
    const uint64_t where = offset + done;
    at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    const auto want = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(handle_), out + done, want, &got, &at) || got == 0) break;
    done += got;
  }
  return done;
}

#else

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

#endif  // _WIN32

Read_Status Read_File_Into(const stdfs::path& path, std::vector<uint8_t>& buffer, size_t zero_bytes,
                           uint64_t max_bytes) {
  size_t length = 0;
  const Read_Status status = Read_File_Reusing(path, buffer, length, zero_bytes, max_bytes);
  if (status == Read_Status::ok) buffer.resize(length + zero_bytes);
  return status;
}

Write_Result Write_File_Safely(const stdfs::path& path, std::span<const uint8_t> bytes) {
  return Write_File_Safely_From(path, [bytes](const Byte_Sink& sink) { sink(bytes); });
}

Write_Result Write_File_Safely_From(const stdfs::path& path,
                                    const std::function<void(const Byte_Sink&)>& produce) {
  stdfs::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      return {false, "cannot create " + temp.string() + ": " + std::strerror(errno)};
    }
    produce([&out](std::span<const uint8_t> piece) {
      out.write(reinterpret_cast<const char*>(piece.data()),
                static_cast<std::streamsize>(piece.size()));
    });
    out.close();
    if (out.fail()) {
      const std::string reason = std::strerror(errno);
      std::error_code ignored;
      stdfs::remove(temp, ignored);
      return {false, "cannot write " + temp.string() + ": " + reason};
    }
  }
  std::error_code ec;
  stdfs::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    stdfs::remove(temp, ignored);
    return {false, "cannot replace " + path.string() + ": " + ec.message()};
  }
  return {true, {}};
}

}  // namespace orv
