// The fields of the data files' records as bytes, little-endian with no padding: a byte, an
// Integer (signed 16-bit), a Long (signed 32-bit), a Double (8 bytes IEEE 754), and a text (an
// Integer byte count, then the bytes). A record's layout is stated once, as the list of its
// fields in file order handed to a Record_Writer or a Record_Reader; the field's type picks its
// encoding, so the writer and the reader of a record cannot drift apart.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace orv {

// The bytes of a file being encoded: fields are written straight into room made ahead in large
// steps, so a field costs a store rather than the bookkeeping of a vector insert.
class Byte_Writer {
 public:
  std::span<const uint8_t> Bytes() const { return {bytes_.data(), used_}; }
  size_t size() const { return used_; }
  void Clear() { used_ = 0; }
  std::vector<uint8_t> Take() {
    bytes_.resize(used_);
    used_ = 0;
    return std::move(bytes_);
  }

  // The N low bytes of v, little-endian: one store on a little-endian machine.
  template <size_t N>
  void Put_Bytes(uint64_t v) {
    uint8_t* at = Room(N);
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(at, &v, N);
    } else {
      for (size_t i = 0; i < N; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
    }
  }

  void Put_Raw(const char* from, size_t n) {
    if (n > 0) std::memcpy(Room(n), from, n);
  }

 private:
  uint8_t* Room(size_t n) {
    if (bytes_.size() - used_ < n) bytes_.resize(std::max({2 * bytes_.size(), used_ + n, kFirst}));
    uint8_t* at = bytes_.data() + used_;
    used_ += n;
    return at;
  }

  static constexpr size_t kFirst = 4096;
  std::vector<uint8_t> bytes_;
  size_t used_ = 0;
};

// A cursor over the bytes of one file. The first failure is kept with the byte offset where it
// happened; later reads give 0 or empty texts.
class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  size_t pos() const { return pos_; }
  size_t Remaining() const { return bytes_.size() - pos_; }

  void Fail(const std::string& what) { Fail_At(pos_, what); }
  void Fail_At(size_t at, const std::string& what) {
    if (ok()) error_ = "at byte " + std::to_string(at) + ": " + what;
  }
  // Names the entry in which the failure happened.
  void Add_Context(const std::string& where) {
    if (!ok()) error_ = where + ", " + error_;
  }

  uint8_t Byte() { return static_cast<uint8_t>(Unsigned(1)); }
  int16_t Integer() { return static_cast<int16_t>(Unsigned(2)); }
  int32_t Long() { return static_cast<int32_t>(Unsigned(4)); }
  double Double() { return std::bit_cast<double>(Unsigned(8)); }

  std::string Text() {
    const size_t at = pos_;
    const int16_t n = Integer();
    if (!ok()) return {};
    if (n < 0) {
      Fail_At(at, "negative text length " + std::to_string(n));
      return {};
    }
    if (!Has(static_cast<size_t>(n))) return {};
    const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(pos_);
    std::string text(first, first + n);
    pos_ += static_cast<size_t>(n);
    return text;
  }

 private:
  bool Has(size_t n) {
    if (!ok()) return false;
    if (n > Remaining()) {
      Fail("the file ends " + std::to_string(n - Remaining()) + " bytes too early");
      return false;
    }
    return true;
  }

  uint64_t Unsigned(size_t n) {
    if (!Has(n)) return 0;
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= uint64_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += n;
    return v;
  }

  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  std::string error_;
};

inline void Put_Field(Byte_Writer& out, uint8_t value) {
  out.Put_Bytes<1>(value);
}
inline void Put_Field(Byte_Writer& out, int16_t value) {
  out.Put_Bytes<2>(static_cast<uint16_t>(value));
}
inline void Put_Field(Byte_Writer& out, int32_t value) {
  out.Put_Bytes<4>(static_cast<uint32_t>(value));
}
inline void Put_Field(Byte_Writer& out, double value) {
  out.Put_Bytes<8>(std::bit_cast<uint64_t>(value));
}
// Texts come from scenery reads limited to 32767 bytes; anything longer keeps its first 32767
// bytes, the most a length prefix can describe.
inline void Put_Field(Byte_Writer& out, const std::string& text) {
  const size_t n = std::min<size_t>(text.size(), std::numeric_limits<int16_t>::max());
  Put_Field(out, static_cast<int16_t>(n));
  out.Put_Raw(text.data(), n);
}

inline void Get_Field(Cursor& in, uint8_t& value) {
  value = in.Byte();
}
inline void Get_Field(Cursor& in, int16_t& value) {
  value = in.Integer();
}
inline void Get_Field(Cursor& in, int32_t& value) {
  value = in.Long();
}
inline void Get_Field(Cursor& in, double& value) {
  value = in.Double();
}
inline void Get_Field(Cursor& in, std::string& value) {
  value = in.Text();
}

// Writes a record's fields in the order given.
struct Record_Writer {
  Byte_Writer& out;
  template <typename... Field>
  void operator()(const Field&... fields) {
    (Put_Field(out, fields), ...);
  }
};

// Reads a record's fields in the order given; after a failure they are left 0 or empty.
struct Record_Reader {
  Cursor& in;
  template <typename... Field>
  void operator()(Field&... fields) {
    (Get_Field(in, fields), ...);
  }
};

}  // namespace orv
