#include "scenery/scan_bgl_file.h"

#include "core/program_state.h"
#include "scenery/airport_index.h"

namespace orv {

Walk_Stop Scan_Bgl_File(Program_State& st, Bgl_Reader& rd, std::string_view scan_file,
                        Airspace_Section_Reader read_airspace) {
  if (Read_Long(rd, 144) != 1) return rd.Stop_Reason();
  Read_Long(rd, 148);
  Read_Long(rd, 152);
  const int32_t airport_section = Read_Long(rd, 156);
  const int32_t airspace_section = Read_Long(rd, 164);
  if (!rd.ok()) return rd.Stop_Reason();

  if (airport_section > 0) {
    Section_Head head{Read_Long(rd, airport_section), Read_Long(rd, int64_t{airport_section} + 4)};
    if (rd.ok()) Read_Airport_Section(st, rd, airport_section, head);
  }
  if (airspace_section > 0 && read_airspace != nullptr && rd.ok()) {
    Section_Head head{Read_Long(rd, airspace_section),
                      Read_Long(rd, int64_t{airspace_section} + 4)};
    if (rd.ok()) read_airspace(st, rd, airspace_section, head, scan_file);
  }
  return rd.Stop_Reason();
}

namespace {

// Reads the file as `how` says: whole, or its header piece with the file left open for the walk.
Read_Status Read_Bgl_File(Bgl_Buffers& buffers, Bgl_Read how, const std::filesystem::path& path) {
  if (how == Bgl_Read::pieces) return Open_Bgl_Pieces(path, buffers.pieces);
  size_t length = 0;
  const Read_Status read = Read_File_Reusing(path, buffers.whole, length, 1);
  buffers.whole_length = read == Read_Status::ok ? length : 0;
  return read;
}

// When the read went well and the file has the signature, walks it; then closes the file.
Bgl_Walk Scan_Read_Bgl_File(Program_State& st, Bgl_Buffers& buffers, Bgl_Read how, Read_Status read,
                            std::string_view scan_file, Airspace_Section_Reader read_airspace) {
  Bgl_Walk walk;
  walk.read = read;
  if (read != Read_Status::ok) return walk;
  if (how == Bgl_Read::whole) {
    const std::span<const uint8_t> image(buffers.whole.data(), buffers.whole_length + 1);
    if (Has_Bgl_Signature(image.first(buffers.whole_length))) {
      walk.has_signature = true;
      Bgl_Reader rd(image);
      walk.stop = Scan_Bgl_File(st, rd, scan_file, read_airspace);
    }
    return walk;
  }
  if (Has_Bgl_Signature(Bgl_Head(buffers.pieces))) {
    walk.has_signature = true;
    Bgl_Reader rd(buffers.pieces);
    walk.stop = Scan_Bgl_File(st, rd, scan_file, read_airspace);
  }
  Close_Bgl_Pieces(buffers.pieces);
  return walk;
}

}  // namespace

Bgl_Walk Read_And_Scan_Bgl_File(Program_State& st, Bgl_Buffers& buffers, Bgl_Read how,
                                const std::filesystem::path& path, std::string_view scan_file,
                                Airspace_Section_Reader read_airspace) {
  const Read_Status read = Read_Bgl_File(buffers, how, path);
  return Scan_Read_Bgl_File(st, buffers, how, read, scan_file, read_airspace);
}

void Record_Airspace_File(Program_State& st, std::string_view scan_file) {
  const int32_t count = st.airspace_file_count;
  const bool has_last = count > 0 && static_cast<size_t>(count) <= st.airspace_files.size();
  if (has_last && st.airspace_files[static_cast<size_t>(count) - 1] == scan_file) return;
  Append_With_Spare(st.airspace_files, st.airspace_file_count) = std::string(scan_file);
}

}  // namespace orv
