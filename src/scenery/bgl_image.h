// The in-memory image of one scenery file and the bounds-checked primitive readers over it.
//
// A failed read is sticky: the reader remembers why, every later read gives 0 or an empty
// text, and the walks check once per record and stop. Offsets are 32-bit signed file offsets;
// they are carried in 64 bits so that offset arithmetic on damaged sizes cannot wrap.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/file_system.h"

namespace orv {

// Why the walk of one scenery file ended early.
enum class Walk_Stop : uint8_t {
  none,             // every walk ended at its normal end
  out_of_image,     // a read whose bytes lie outside the image
  text_too_long,    // a text length above 32767
  offset_overflow,  // an offset that does not fit in 32 bits
  no_progress,      // a next record that would not lie after the current one
};

const char* Walk_Stop_Name(Walk_Stop stop);

// One scenery file: its bytes followed by one extra zero byte.
struct Bgl_Image {
  std::vector<uint8_t> bytes;
};

// Loads a whole file into an image. Empty when the file cannot be opened or read.
std::optional<Bgl_Image> Load_Bgl_Image(const std::filesystem::path& path);

// Makes an image from bytes already in memory (the extra zero byte is appended).
Bgl_Image Make_Bgl_Image(std::span<const uint8_t> file_bytes);

// The size of the header piece, read when a file is opened, and of the pieces read later as
// the walk first reaches them: large enough that the disk reads ahead, and a walk that follows
// a section through the file reads several at once.
inline constexpr int64_t BGL_HEAD_PIECE = 4096;
inline constexpr int64_t BGL_PIECE = 64 * 1024;
inline constexpr int64_t BGL_PIECES_AT_ONCE = 4;

// A scenery file whose image is read in pieces as its walk reaches them. The image means what
// a whole one does (the file's bytes, then one zero byte), but only the header piece is read
// when the file is opened: a file the walk looks at only the header of costs one open, one
// small read and one close. A later read that comes short (the file shrank) ends the readable
// image where the bytes ended, as a read outside the image would. Kept between files, so the
// buffer grows only to the furthest piece any file needed.
struct Bgl_Pieces {
  Positioned_File file;
  int64_t size = 0;             // the image's size: the file's length and the zero byte
  int64_t readable = 0;         // bytes [0, readable) may be read: `size`, less after a short read
  int64_t head_end = 0;         // bytes [0, head_end) are loaded
  std::vector<uint8_t> bytes;   // the bytes loaded so far, each at its offset
  std::vector<uint8_t> loaded;  // per BGL_PIECE of the image: 1 when its bytes are in `bytes`
};

// Opens `path` and reads its header piece; unreadable when that read comes short. The file
// stays open for the walk until Close_Bgl_Pieces.
Read_Status Open_Bgl_Pieces(const std::filesystem::path& path, Bgl_Pieces& pieces);

// The header piece as read: the file's first bytes, without the image's zero byte.
std::span<const uint8_t> Bgl_Head(const Bgl_Pieces& pieces);

// Closes the file; the buffer is kept for the next file.
void Close_Bgl_Pieces(Bgl_Pieces& pieces);

// Loads the bytes [offset, offset + n) of the image, which lie inside [0, pieces.readable):
// the pieces holding them that are not loaded yet, with the ones after them up to
// BGL_PIECES_AT_ONCE in one read. False when a read came short: `readable` then ends where it
// did.
bool Load_Bgl_Piece(Bgl_Pieces& pieces, int64_t offset, int64_t n);

struct Bgl_Reader {
  explicit Bgl_Reader(const Bgl_Image& image) : Bgl_Reader(std::span(image.bytes)) {}
  explicit Bgl_Reader(std::span<const uint8_t> image_bytes)
      : data(image_bytes.data()), size(static_cast<int64_t>(image_bytes.size())) {}
  // Reads from a file opened with Open_Bgl_Pieces, loading its pieces as the reads reach them.
  explicit Bgl_Reader(Bgl_Pieces& file_pieces)
      : data(file_pieces.bytes.data()), size(file_pieces.readable), pieces(&file_pieces) {}

  bool ok() const { return failure == Walk_Stop::none; }
  void Fail(Walk_Stop why) {
    if (failure == Walk_Stop::none) failure = why;
  }
  // A walk that ended early without making later reads fail (see Next_Record).
  void Note(Walk_Stop why) {
    if (cut_short == Walk_Stop::none) cut_short = why;
  }
  // The first reason the walk of this file stopped short, fatal or not.
  Walk_Stop Stop_Reason() const { return failure != Walk_Stop::none ? failure : cut_short; }

  const uint8_t* data;           // the image's bytes (those loaded, when read in pieces)
  int64_t size;                  // the image's readable size
  Bgl_Pieces* pieces = nullptr;  // the file the bytes come from, when read in pieces
  Walk_Stop failure = Walk_Stop::none;
  Walk_Stop cut_short = Walk_Stop::none;
};

// 32-bit signed little-endian value; the top byte counts as signed.
int32_t Read_Long(Bgl_Reader& rd, int64_t offset);

// The unsigned byte at offset.
uint8_t Read_Byte(Bgl_Reader& rd, int64_t offset);

// Signed 16-bit little-endian value.
int16_t Read_Word(Bgl_Reader& rd, int64_t offset);

// The n bytes at offset with every zero byte skipped; n <= 0 gives an empty text and a length
// above 32767 fails the read.
std::string Read_Text(Bgl_Reader& rd, int64_t offset, int64_t n);

// The offset of the record after one at `offset` whose size field is `size`: offset + size + 8.
// When that would not lie after `offset` or does not fit in 32 bits, the walk that asked ends
// as at an unknown record: nothing is returned and the reader notes why, but later reads (of
// another section, say) still work.
std::optional<int64_t> Next_Record(Bgl_Reader& rd, int64_t offset, int64_t size);

// The head of the current block of a section, advanced in place by the section readers.
struct Section_Head {
  int32_t type = 0;
  int32_t size = 0;
};

inline constexpr int32_t BGL_SIGNATURE = static_cast<int32_t>(0x87654321u);
inline constexpr int64_t BGL_SIGNATURE_OFFSET = 118;

// True when the file's bytes hold the signature at its offset; a file too short has none.
bool Has_Bgl_Signature(std::span<const uint8_t> file);

}  // namespace orv
