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

Bgl_Walk Read_Whole_And_Scan(Program_State& st, std::vector<uint8_t>& whole,
                             const std::filesystem::path& path, std::string_view scan_file,
                             Airspace_Section_Reader read_airspace) {
  Bgl_Walk walk;
  size_t length = 0;
  walk.read = Read_File_Reusing(path, whole, length, 1);
  if (walk.read != Read_Status::ok) return walk;
  const std::span<const uint8_t> image(whole.data(), length + 1);
  if (!Has_Bgl_Signature(image.first(length))) return walk;
  walk.has_signature = true;
  Bgl_Reader rd(image);
  walk.stop = Scan_Bgl_File(st, rd, scan_file, read_airspace);
  return walk;
}

Bgl_Walk Read_Pieces_And_Scan(Program_State& st, Bgl_Pieces& pieces,
                              const std::filesystem::path& path, std::string_view scan_file,
                              Airspace_Section_Reader read_airspace) {
  Bgl_Walk walk;
  walk.read = Open_Bgl_Pieces(path, pieces);
  if (walk.read != Read_Status::ok) return walk;
  if (Has_Bgl_Signature(Bgl_Head(pieces))) {
    walk.has_signature = true;
    Bgl_Reader rd(pieces);
    walk.stop = Scan_Bgl_File(st, rd, scan_file, read_airspace);
  }
  Close_Bgl_Pieces(pieces);
  return walk;
}

}  // namespace

Bgl_Walk Read_And_Scan_Bgl_File(Program_State& st, Bgl_Buffers& buffers, Bgl_Read how,
                                const std::filesystem::path& path, std::string_view scan_file,
                                Airspace_Section_Reader read_airspace) {
  if (how == Bgl_Read::whole) {
    return Read_Whole_And_Scan(st, buffers.whole, path, scan_file, read_airspace);
  }
  return Read_Pieces_And_Scan(st, buffers.pieces, path, scan_file, read_airspace);
}

void Record_Airspace_File(Program_State& st, std::string_view scan_file) {
  const int32_t count = st.airspace_file_count;
  const bool has_last = count > 0 && static_cast<size_t>(count) <= st.airspace_files.size();
  if (has_last && st.airspace_files[static_cast<size_t>(count) - 1] == scan_file) return;
  Append_With_Spare(st.airspace_files, st.airspace_file_count) = std::string(scan_file);
}

}  // namespace orv
