#include "scenery/bgl_image.h"

#include <algorithm>
#include <limits>

#include "core/file_system.h"

namespace orv {
namespace {

constexpr int64_t kMaxOffset = std::numeric_limits<int32_t>::max();
constexpr int64_t kMaxText = 32767;

// Enough piece flags for every byte a read can reach: offsets beyond 32 bits fail first, and
// no read is longer than the longest text.
constexpr int64_t kMaxPieces = (kMaxOffset + kMaxText) / BGL_PIECE + 1;

bool Is_Loaded(const Bgl_Pieces& p, int64_t offset, int64_t n) {
  const int64_t end = offset + n;
  if (end <= p.head_end) return true;
  for (int64_t i = offset / BGL_PIECE; i <= (end - 1) / BGL_PIECE; ++i) {
    if (p.loaded[static_cast<size_t>(i)] == 0) return false;
  }
  return true;
}

// Reads the run of pieces from `first` on that are not loaded yet, at most BGL_PIECES_AT_ONCE,
// in one read. False when the read came short: the readable image then ends there.
bool Read_Run(Bgl_Pieces& p, int64_t first) {
  const auto count = static_cast<int64_t>(p.loaded.size());
  int64_t last = first + 1;
  while (last < first + BGL_PIECES_AT_ONCE && last < count &&
         p.loaded[static_cast<size_t>(last)] == 0) {
    ++last;
  }
  const int64_t start = first * BGL_PIECE;
  const int64_t end = std::min(last * BGL_PIECE, p.size);
  const int64_t file_end = std::min(end, p.size - 1);
  if (static_cast<int64_t>(p.bytes.size()) < end) p.bytes.resize(static_cast<size_t>(end));
  const auto want = static_cast<size_t>(file_end - start);
  const size_t got = p.file.Read_At(static_cast<uint64_t>(start), p.bytes.data() + start, want);
  for (int64_t i = first; i < last; ++i) p.loaded[static_cast<size_t>(i)] = 1;
  if (got < want) {
    p.readable = std::min(p.readable, start + static_cast<int64_t>(got));
    return false;
  }
  if (end > file_end) p.bytes[static_cast<size_t>(file_end)] = 0;  // the image's zero byte
  return true;
}

// Loads the pieces a read needs; a read that came short fails as one outside the image.
bool Load_For_Read(Bgl_Reader& rd, int64_t offset, int64_t n) {
  Bgl_Pieces& p = *rd.pieces;
  const bool read = Load_Bgl_Piece(p, offset, n);
  rd.data = p.bytes.data();
  rd.size = p.readable;
  if (!read || offset > rd.size - n) {
    rd.Fail(Walk_Stop::out_of_image);
    return false;
  }
  return true;
}

// True when the n bytes at offset lie inside the image, loading them when it is read in
// pieces; fails the reader otherwise.
bool Inside(Bgl_Reader& rd, int64_t offset, int64_t n) {
  if (!rd.ok()) return false;
  if (offset > kMaxOffset) {
    rd.Fail(Walk_Stop::offset_overflow);
    return false;
  }
  if (offset < 0 || n > rd.size || offset > rd.size - n) {
    rd.Fail(Walk_Stop::out_of_image);
    return false;
  }
  if (rd.pieces != nullptr && !Is_Loaded(*rd.pieces, offset, n)) {
    return Load_For_Read(rd, offset, n);
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

Read_Status Open_Bgl_Pieces(const std::filesystem::path& path, Bgl_Pieces& pieces) {
  Close_Bgl_Pieces(pieces);
  const Read_Status status = pieces.file.Open(path);
  if (status != Read_Status::ok) return status;
  const uint64_t length = pieces.file.Size();
  if (length >= static_cast<uint64_t>(std::numeric_limits<int64_t>::max() - BGL_PIECE)) {
    Close_Bgl_Pieces(pieces);
    return Read_Status::unreadable;
  }
  pieces.size = static_cast<int64_t>(length) + 1;
  pieces.readable = pieces.size;
  const int64_t count = std::min((pieces.size + BGL_PIECE - 1) / BGL_PIECE, kMaxPieces);
  pieces.loaded.assign(static_cast<size_t>(count), 0);
  const int64_t head_end = std::min(pieces.size, BGL_HEAD_PIECE);
  const int64_t file_head = std::min(head_end, pieces.size - 1);
  if (static_cast<int64_t>(pieces.bytes.size()) < head_end) {
    pieces.bytes.resize(static_cast<size_t>(head_end));
  }
  const auto want = static_cast<size_t>(file_head);
  if (pieces.file.Read_At(0, pieces.bytes.data(), want) < want) {
    Close_Bgl_Pieces(pieces);  // shorter than it was a moment ago, or a failed read
    return Read_Status::unreadable;
  }
  if (head_end > file_head) pieces.bytes[static_cast<size_t>(file_head)] = 0;
  pieces.head_end = head_end;
  return Read_Status::ok;
}

std::span<const uint8_t> Bgl_Head(const Bgl_Pieces& pieces) {
  const int64_t n = std::max<int64_t>(std::min(pieces.head_end, pieces.size - 1), 0);
  return {pieces.bytes.data(), static_cast<size_t>(n)};
}

void Close_Bgl_Pieces(Bgl_Pieces& pieces) {
  pieces.file.Close();
  pieces.size = 0;
  pieces.readable = 0;
  pieces.head_end = 0;
  pieces.loaded.clear();
}

bool Load_Bgl_Piece(Bgl_Pieces& pieces, int64_t offset, int64_t n) {
  if (n <= 0 || offset < 0 || n > pieces.readable || offset > pieces.readable - n) return false;
  if ((offset + n - 1) / BGL_PIECE >= static_cast<int64_t>(pieces.loaded.size())) return false;
  for (int64_t i = offset / BGL_PIECE; i <= (offset + n - 1) / BGL_PIECE; ++i) {
    if (pieces.loaded[static_cast<size_t>(i)] == 0 && !Read_Run(pieces, i)) return false;
  }
  return true;
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
  const auto* p = rd.data + offset;
  const uint32_t v =
      uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
  return static_cast<int32_t>(v);
}

uint8_t Read_Byte(Bgl_Reader& rd, int64_t offset) {
  if (!Inside(rd, offset, 1)) return 0;
  return rd.data[offset];
}

int16_t Read_Word(Bgl_Reader& rd, int64_t offset) {
  if (!Inside(rd, offset, 2)) return 0;
  const auto* p = rd.data + offset;
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
    const uint8_t b = rd.data[offset + i];
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
