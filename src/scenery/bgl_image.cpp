#include "scenery/bgl_image.h"

#include <limits>

#include "core/file_system.h"

namespace orv {
namespace {

constexpr int64_t kMaxOffset = std::numeric_limits<int32_t>::max();
constexpr int64_t kMaxText = 32767;

// True when the n bytes at offset lie inside the image; fails the reader otherwise.
bool Inside(Bgl_Reader& rd, int64_t offset, int64_t n) {
  if (!rd.ok()) return false;
  if (offset > kMaxOffset) {
    rd.Fail(Walk_Stop::offset_overflow);
    return false;
  }
  const auto size = static_cast<int64_t>(rd.bytes.size());
  if (offset < 0 || n > size || offset > size - n) {
    rd.Fail(Walk_Stop::out_of_image);
    return false;
  }
  return true;
}

}  // namespace

const char* Walk_Stop_Name(Walk_Stop stop) {
  switch (stop) {
    case Walk_Stop::none:
      return "complete";
    case Walk_Stop::out_of_image:
      return "read past the end of the file";
    case Walk_Stop::text_too_long:
      return "text longer than 32767 bytes";
    case Walk_Stop::offset_overflow:
      return "offset beyond 32 bits";
    case Walk_Stop::no_progress:
      return "record that does not advance";
  }
  return "unknown";
}

std::optional<Bgl_Image> Load_Bgl_Image(const std::filesystem::path& path) {
  Bgl_Image image;
  if (Read_File_Into(path, image.bytes, 1) != Read_Status::ok) return std::nullopt;
  return image;
}

bool Has_Bgl_Signature(std::span<const uint8_t> file) {
  const auto at = static_cast<size_t>(BGL_SIGNATURE_OFFSET);
  if (file.size() < at + 4) return false;
  const uint32_t v = uint32_t{file[at]} | (uint32_t{file[at + 1]} << 8) |
                     (uint32_t{file[at + 2]} << 16) | (uint32_t{file[at + 3]} << 24);
  return static_cast<int32_t>(v) == BGL_SIGNATURE;
}

Bgl_Image Make_Bgl_Image(std::span<const uint8_t> file_bytes) {
  Bgl_Image image;
  image.bytes.reserve(file_bytes.size() + 1);
  image.bytes.assign(file_bytes.begin(), file_bytes.end());
  image.bytes.push_back(0);
  return image;
}

int32_t Read_Long(Bgl_Reader& rd, int64_t offset) {
  if (!Inside(rd, offset, 4)) return 0;
  const auto* p = rd.bytes.data() + offset;
  const uint32_t v =
      uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
  return static_cast<int32_t>(v);
}

uint8_t Read_Byte(Bgl_Reader& rd, int64_t offset) {
  if (!Inside(rd, offset, 1)) return 0;
  return rd.bytes[static_cast<size_t>(offset)];
}

int16_t Read_Word(Bgl_Reader& rd, int64_t offset) {
  if (!Inside(rd, offset, 2)) return 0;
  const auto* p = rd.bytes.data() + offset;
  return static_cast<int16_t>(uint16_t{p[0]} | (uint16_t{p[1]} << 8));
}

std::string Read_Text(Bgl_Reader& rd, int64_t offset, int64_t n) {
  if (!rd.ok() || n <= 0) return {};
  if (n > kMaxText) {
    rd.Fail(Walk_Stop::text_too_long);
    return {};
  }
  if (!Inside(rd, offset, n)) return {};
  std::string text;
  for (int64_t i = 0; i < n; ++i) {
    const uint8_t b = rd.bytes[static_cast<size_t>(offset + i)];
    if (b != 0) text.push_back(static_cast<char>(b));
  }
  return text;
}

std::optional<int64_t> Next_Record(Bgl_Reader& rd, int64_t offset, int64_t size) {
  const int64_t next = offset + size + 8;
  if (next <= offset) {
    rd.Note(Walk_Stop::no_progress);
    return std::nullopt;
  }
  if (next > kMaxOffset) {
    rd.Note(Walk_Stop::offset_overflow);
    return std::nullopt;
  }
  return next;
}

}  // namespace orv
