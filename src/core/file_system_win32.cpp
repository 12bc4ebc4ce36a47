// The file layer on Windows: the system's own calls, which match names ignoring case, in the
// ANSI code page of the program's paths.
#include <windows.h>
#include <winnetwk.h>

#include <algorithm>
#include <climits>
#include <fstream>
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

std::optional<std::string> Resolve_Path_Ci(std::string_view path) {
  // The system would read a name only up to a zero byte: such a path names nothing.
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  // The system matches names ignoring case itself; the path keeps the spelling it was given.
  if (GetFileAttributesA(std::string(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
    return std::nullopt;
  }
  return std::string(path);
}

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
  std::optional<std::wstring> pattern = Wide_From_Utf8(folder);
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

namespace {

// What a drive's entry shows after its letter: the share a network drive is connected to, else
// the volume label. Drives without a medium (an empty floppy or card reader) are not asked, so
// the list never waits for one.
std::string Drive_Description(const std::string& root) {
  const UINT type = GetDriveTypeA(root.c_str());
  if (type == DRIVE_REMOTE) {
    char share[MAX_PATH + 1] = {};
    DWORD length = sizeof share;
    const std::string local = root.substr(0, 2);
    if (WNetGetConnectionA(local.c_str(), share, &length) == NO_ERROR) return share;
  }
  if (type == DRIVE_REMOVABLE || type == DRIVE_NO_ROOT_DIR) return {};
  char label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr,
                             0)) {
    return {};
  }
  return label;
}

}  // namespace

std::vector<std::string> Drive_List() {
  std::vector<std::string> drives;
  char roots[27 * 4 + 1] = {};  // "c:\" and a zero per drive, and the closing zero
  const DWORD length = GetLogicalDriveStringsA(sizeof roots - 1, roots);
  if (length == 0 || length >= sizeof roots) return drives;
  for (const char* root = roots; *root != '\0'; root += std::string_view(root).size() + 1) {
    const std::string r = root;
    if (r.size() < 2 || r[1] != ':') continue;
    std::string entry = Lower_Ascii(r.substr(0, 2));
    const std::string description = Drive_Description(r);
    if (!description.empty()) entry += " [" + description + "]";
    drives.push_back(std::move(entry));
  }
  return drives;
}

}  // namespace orv
