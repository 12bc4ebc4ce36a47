#include "core/file_system.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>

namespace orv {

namespace stdfs = std::filesystem;

std::string Join_Path(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  joined.push_back(NATIVE_SEPARATOR);
  joined.append(name);
  return joined;
}

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
