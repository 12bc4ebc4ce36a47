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

void Record_Airspace_File(Program_State& st, std::string_view scan_file) {
  const int32_t count = st.airspace_file_count;
  const bool has_last = count > 0 && static_cast<size_t>(count) <= st.airspace_files.size();
  if (has_last && st.airspace_files[static_cast<size_t>(count) - 1] == scan_file) return;
  Append_With_Spare(st.airspace_files, st.airspace_file_count) = std::string(scan_file);
}

}  // namespace orv
