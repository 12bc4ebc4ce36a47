#include "data/settings_file.h"

#include <fstream>
#include <limits>

#include "core/program_state.h"

namespace orv {
namespace {

// The longest record: two texts of 32767 bytes and the fixed fields.
constexpr size_t kMaxRecordBytes = 14 + 2 * 32767;

void Put_Text(std::vector<uint8_t>& out, const std::string& text) {
  const size_t n = std::min<size_t>(text.size(), std::numeric_limits<int16_t>::max());
  out.push_back(static_cast<uint8_t>(n & 0xFF));
  out.push_back(static_cast<uint8_t>(n >> 8));
  out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n));
}

void Put_Long(std::vector<uint8_t>& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// A cursor over the settings bytes; any read past the end marks it failed.
struct Cursor {
  std::span<const uint8_t> bytes;
  size_t pos = 0;
  bool failed = false;

  bool Has(size_t n) {
    if (failed || n > bytes.size() - pos) failed = true;
    return !failed;
  }
  uint8_t Byte() { return Has(1) ? bytes[pos++] : 0; }
  int32_t Long() {
    if (!Has(4)) return 0;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{bytes[pos + i]} << (8 * i);
    pos += 4;
    return static_cast<int32_t>(v);
  }
  std::string Text() {
    if (!Has(2)) return {};
    const auto n = static_cast<int16_t>(bytes[pos] | (bytes[pos + 1] << 8));
    pos += 2;
    if (n < 0) {
      failed = true;
      return {};
    }
    if (!Has(static_cast<size_t>(n))) return {};
    std::string text(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                     bytes.begin() + static_cast<std::ptrdiff_t>(pos + static_cast<size_t>(n)));
    pos += static_cast<size_t>(n);
    return text;
  }
};

std::optional<std::vector<uint8_t>> Read_Prefix(const std::filesystem::path& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes(limit);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

}  // namespace

std::vector<uint8_t> Encode_Config(const Config_Rec& rec) {
  std::vector<uint8_t> out;
  Put_Text(out, rec.banner);
  out.push_back(rec.cfg_valid);
  out.push_back(rec.sim_version);
  Put_Text(out, rec.fs_path);
  Put_Long(out, rec.airport_count);
  Put_Long(out, rec.airspace_file_count);
  return out;
}

std::optional<Config_Rec> Decode_Config(std::span<const uint8_t> bytes) {
  Cursor in{bytes};
  Config_Rec rec;
  rec.banner = in.Text();
  rec.cfg_valid = in.Byte();
  rec.sim_version = in.Byte();
  rec.fs_path = in.Text();
  rec.airport_count = in.Long();
  rec.airspace_file_count = in.Long();
  if (in.failed) return std::nullopt;
  return rec;
}

Settings_Status Load_Settings(Program_State& st, const std::filesystem::path& path) {
  const std::optional<std::vector<uint8_t>> bytes = Read_Prefix(path, kMaxRecordBytes);
  if (!bytes) return Settings_Status::missing;
  const std::optional<Config_Rec> rec = Decode_Config(*bytes);
  if (!rec) return Settings_Status::damaged;
  st.cfg = *rec;
  st.sim_version = rec->sim_version;
  st.fs_path = rec->fs_path;
  st.airport_count = rec->airport_count;
  st.airspace_file_count = rec->airspace_file_count;
  return Settings_Status::ok;
}

Write_Result Save_Settings(const Program_State& st) {
  const std::filesystem::path path = Data_File_Path(st.work_dir, SETTINGS_FILE);
  const std::vector<uint8_t> record = Encode_Config(st.cfg);
  std::vector<uint8_t> bytes = Read_Whole_File(path).value_or(std::vector<uint8_t>{});
  if (bytes.size() < record.size()) bytes.resize(record.size());
  std::copy(record.begin(), record.end(), bytes.begin());
  return Write_File_Safely(path, bytes);
}

}  // namespace orv
