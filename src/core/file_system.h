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
#include <vector>

namespace orv {

#ifdef _WIN32
inline constexpr char NATIVE_SEPARATOR = '\\';
#else
inline constexpr char NATIVE_SEPARATOR = '/';
#endif

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
// name first, else the first in byte order. Entries that are not regular files are passed over.
std::optional<std::string> Find_File_Ci(std::string_view folder, std::string_view name);

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
