// The file layer: names matched ignoring ASCII case as on the simulator's own file system,
// listings in a fixed order, whole-file reads and writes that never leave a half-written file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

#ifdef _WIN32
inline constexpr char NATIVE_SEPARATOR = '\\';
#else
inline constexpr char NATIVE_SEPARATOR = '/';
#endif

// Paths the program keeps (fs_path, the scenery folders, the stored file names) are the system's
// own bytes: UTF-8 on Linux, the ANSI code page on Windows, where the program's file calls take
// them. Texts shown to the user and given on the command line are UTF-8.

// The native path of a UTF-8 text: the same bytes on Linux; on Windows the ANSI code page, or
// nothing when the text is not well-formed UTF-8 or holds a character that code page lacks.
std::optional<std::string> Native_Path_From_Utf8(std::string_view text);

// A native path as UTF-8 for display and messages.
std::string Utf8_From_Native_Path(std::string_view path);

// A native path as a std::filesystem path (on Windows read in the ANSI code page).
std::filesystem::path Fs_Path(std::string_view path);

// A UTF-8 text as a std::filesystem path, with every character kept on every platform.
std::filesystem::path Fs_Path_From_Utf8(std::string_view text);

#ifdef _WIN32
// UTF-8 as UTF-16 for the system's wide calls; nothing when it is not well-formed.
std::optional<std::wstring> Wide_From_Utf8(std::string_view text);

// UTF-16 text from the system (wide arguments, wide window texts) as UTF-8.
std::string Utf8_From_Wide(std::wstring_view text);

// The native path of a UTF-16 text, as Native_Path_From_Utf8.
std::optional<std::string> Native_Path_From_Wide(std::wstring_view text);
#endif

// `path` made absolute against the working folder, in the native encoding; unchanged when it
// cannot be.
std::string Absolute_Native_Path(std::string_view path);

// The working folder, native.
std::string Current_Folder();

// The current folder of the drive `drive` names ("c:" on Windows, "/" on Linux): the working
// folder when it lies on that drive, else the folder the system remembers for that drive (its
// root when none). Native.
std::string Drive_Current_Folder(std::string_view drive);

// The system's drive list: on Linux the single entry "/"; on Windows one entry per drive, its
// letter and colon in lower case and, when it has one, the volume label or the share of a network
// drive in brackets ("c: [system]").
std::vector<std::string> Drive_List();

// a, the native separator, b: how the program joins a folder and a name.
std::string Join_Path(std::string_view folder, std::string_view name);

// Resolves every component of `path` to the directory entry whose name matches it ignoring
// ASCII case (an exact match wins; among several inexact matches the first in byte order).
// Relative paths resolve against the current folder and stay relative. Returns the spelling
// found on disk, or nothing when some component has no match.
std::optional<std::string> Resolve_Path_Ci(std::string_view path);

// Names of the regular, non-hidden files of `folder` whose names end in `suffix` ignoring case,
// ordered by upper-cased name, ties by byte order. Empty when the folder cannot be listed.
std::vector<std::string> List_Files_Ci(std::string_view folder, std::string_view suffix);

// The on-disk name of the regular file `name` in `folder`, matched ignoring case: the exact
// name first, else the first in byte order. Entries that are not regular files are passed over,
// and so are the files a listing leaves out (hidden ones, and system files on Windows).
std::optional<std::string> Find_File_Ci(std::string_view folder, std::string_view name);

// The folders inside `folder`, both in UTF-8 as windows show them: hidden and system folders
// (on Linux the names starting with ".") are left out, the order is by upper-cased name, ties by
// byte order. Empty when the folder cannot be listed.
std::vector<std::string> List_Subfolders(std::string_view folder);

// Whole-file read. Nothing when the file cannot be opened or read, or is larger than max_bytes.
std::optional<std::vector<uint8_t>> Read_Whole_File(const std::filesystem::path& path,
                                                    uint64_t max_bytes = UINT64_MAX);

// Whole-file read into a buffer the caller keeps between files, so that reading many files
// allocates (and the system maps fresh memory) only when a file is larger than any before.
// On success `buffer` holds the file's bytes followed by `zero_bytes` zero bytes.
enum class Read_Status : uint8_t {
  ok,
  unopened,    // the file cannot be opened
  unreadable,  // opened, but not a regular file, larger than max_bytes, or a read failed
};
Read_Status Read_File_Into(const std::filesystem::path& path, std::vector<uint8_t>& buffer,
                           size_t zero_bytes = 0, uint64_t max_bytes = UINT64_MAX);

// The same into the front of a buffer that only ever grows, for reading many files one after
// another: a file smaller than one before costs no shrinking and a later larger one no
// zero-filling of what was already there. On success buffer[0, length) holds the file's bytes
// and `zero_bytes` zero bytes follow them; what lies beyond is left as it was.
Read_Status Read_File_Reusing(const std::filesystem::path& path, std::vector<uint8_t>& buffer,
                              size_t& length, size_t zero_bytes = 0,
                              uint64_t max_bytes = UINT64_MAX);

// A file opened for positioned reads, so that a reader takes only the pieces it needs instead of
// the whole file: pread on Linux, ReadFile at an offset on Windows. Closed when it goes.
class Positioned_File {
 public:
  Positioned_File() = default;
  ~Positioned_File() { Close(); }
  Positioned_File(const Positioned_File&) = delete;
  Positioned_File& operator=(const Positioned_File&) = delete;
  Positioned_File(Positioned_File&& other) noexcept { Swap(other); }
  Positioned_File& operator=(Positioned_File&& other) noexcept {
    Positioned_File gone(std::move(other));
    Swap(gone);
    return *this;
  }

  // Opens a regular file and takes its length: unopened when it cannot be opened, unreadable
  // when it is not a regular file. Closes the file open before.
  Read_Status Open(const std::filesystem::path& path);
  void Close();
  bool Is_Open() const;
  // The length the file had when it was opened.
  uint64_t Size() const { return size_; }
  // Reads up to n bytes at `offset` into `out` and returns how many were read: fewer than n
  // only at the file's end (it shrank) or when a read failed.
  size_t Read_At(uint64_t offset, uint8_t* out, size_t n) const;

 private:
  void Swap(Positioned_File& other) noexcept;
#ifdef _WIN32
  void* handle_ = nullptr;  // the file's HANDLE, or nullptr
#else
  int fd_ = -1;
#endif
  uint64_t size_ = 0;
};

// Outcome of a write: ok, or the reason it failed in words for the user.
struct Write_Result {
  bool ok = false;
  std::string error;
};

// Writes `bytes` to a temporary name beside `path` and renames it over `path` only when
// every byte is written, so a failure leaves the previous file (or none) untouched.
Write_Result Write_File_Safely(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// The same with the bytes handed over in pieces, so that a large file need not be held whole:
// `produce` calls the sink with each piece in order.
using Byte_Sink = std::function<void(std::span<const uint8_t>)>;
Write_Result Write_File_Safely_From(const std::filesystem::path& path,
                                    const std::function<void(const Byte_Sink&)>& produce);

}  // namespace orv
