#include "data/settings_file.h"

#include <fstream>
#include <limits>

#include "core/program_state.h"
#include "data/record_io.h"

namespace orv {
namespace {

// The longest record: two texts of 32767 bytes and the fixed fields.
constexpr size_t kMaxRecordBytes = 14 + 2 * 32767;

// The settings record, stated once for the writer and the reader.
template <typename Io, typename R>
void Fields(Io& io, R& rec) {
  io(rec.banner, rec.cfg_valid, rec.sim_version, rec.fs_path, rec.airport_count,
     rec.airspace_file_count);
}

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
  Byte_Writer out;
  Record_Writer writer{out};
  Fields(writer, rec);
  return out.Take();
}

std::optional<Config_Rec> Decode_Config(std::span<const uint8_t> bytes) {
  Cursor in(bytes);
  Record_Reader reader{in};
  Config_Rec rec;
  Fields(reader, rec);
  if (!in.ok()) return std::nullopt;
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
