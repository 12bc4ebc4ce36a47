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

struct Bgl_Reader {
  explicit Bgl_Reader(const Bgl_Image& image) : bytes(image.bytes) {}
  explicit Bgl_Reader(std::span<const uint8_t> image_bytes) : bytes(image_bytes) {}

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

  std::span<const uint8_t> bytes;
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
