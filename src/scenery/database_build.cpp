#include "scenery/database_build.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>

#include "core/program_state.h"
#include "core/settings_file.h"
#include "core/text_1252.h"
#include "scenery/magdec.h"
#include "scenery/scan_bgl_file.h"
#include "scenery/scenery_cfg.h"

namespace orv {
namespace {

constexpr const char* kBglSuffix = ".bgl";

// A file of the simulator folder, spelled as found on disk when it exists.
std::filesystem::path Sim_File(const std::string& fs_path, std::string_view relative) {
  const std::string wanted = Join_Path(fs_path, relative);
  return Resolve_Path_Ci(wanted).value_or(wanted);
}

enum class Signature : uint8_t { present, absent, unopened };

// The positioned read of the 32-bit value at offset 118, before the whole file is loaded. A
// file too short to hold it has no signature.
Signature Check_Signature(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Signature::unopened;
  uint8_t b[4] = {};
  in.seekg(BGL_SIGNATURE_OFFSET);
  in.read(reinterpret_cast<char*>(b), sizeof b);
  if (in.gcount() != static_cast<std::streamsize>(sizeof b)) return Signature::absent;
  const uint32_t v =
      uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
  return static_cast<int32_t>(v) == BGL_SIGNATURE ? Signature::present : Signature::absent;
}

size_t Area_Limit(const Program_State& st) {
  return std::min(static_cast<size_t>(std::max<int32_t>(st.area_count, 0)), st.areas.size());
}

int32_t Add_Clamped(int32_t total, size_t more) {
  constexpr auto kMax = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  const size_t sum = static_cast<size_t>(total) + std::min(more, kMax);
  return static_cast<int32_t>(std::min(sum, kMax));
}

// Handles the file b.scan_file: signature check, load and walk.
Scan_Step Scan_One_File(Program_State& st, Database_Build& b,
                        Airspace_Section_Reader read_airspace) {
  Scan_Step step;
  step.progress = true;
  switch (Check_Signature(b.scan_file)) {
    case Signature::absent:
      ++b.tally.files_skipped;
      step.kind = Scan_Step_Kind::file_skipped;
      return step;
    case Signature::unopened:
      ++b.tally.files_unopened;
      b.problems.push_back({b.scan_file, "cannot be opened"});
      step.kind = Scan_Step_Kind::file_unopened;
      return step;
    case Signature::present:
      break;
  }
  const std::optional<Bgl_Image> image = Load_Bgl_Image(b.scan_file);
  if (!image) {
    ++b.tally.files_unopened;
    b.problems.push_back({b.scan_file, "cannot be read"});
    step.kind = Scan_Step_Kind::file_unopened;
    return step;
  }
  Bgl_Reader rd(*image);
  step.kind = Scan_Step_Kind::file_read;
  step.stop = Scan_Bgl_File(st, rd, b.scan_file, read_airspace);
  ++b.tally.files_read;
  if (step.stop != Walk_Stop::none) {
    ++b.tally.files_cut_short;
    b.problems.push_back(
        {b.scan_file, std::string("walk ended early: ") + Walk_Stop_Name(step.stop)});
  }
  return step;
}

}  // namespace

File_Status Load_Mag_Grid(Program_State& st) {
  return Load_Magdec(st.mag_var_table, Sim_File(st.fs_path, Join_Path("scenery", "magdec.bgl")));
}

Prepare_Report Prepare_Build(Program_State& st, Database_Build& b) {
  Prepare_Report report;
  st.db_ready = false;
  int32_t areas_refused = 0;
  if (st.sim_version == 1) {
    Release_To_Spare(st.areas);
    st.area_count = 0;
    report.scenery_cfg = Read_Scenery_Cfg(st, Sim_File(st.fs_path, "scenery.cfg"), &areas_refused);
    Resolve_Area_Paths(st);
  }
  b = Database_Build{};
  if (areas_refused > 0) {
    b.problems.push_back({"scenery.cfg", std::to_string(areas_refused) +
                                             " scenery areas beyond the first " +
                                             std::to_string(MAX_AREAS) + " were not scanned"});
  }
  for (size_t i = 0; i < Area_Limit(st); ++i) {
    const std::string& local = st.areas[i].local;
    if (!local.empty())
      b.bgl_total = Add_Clamped(b.bgl_total, List_Files_Ci(local, kBglSuffix).size());
  }
  Release_To_Spare(st.airports);
  st.airport_count = 0;
  Release_To_Spare(st.airspace_files);
  st.airspace_file_count = 0;
  return report;
}

bool Scan_Finished(const Program_State& st, const Database_Build& b) {
  return b.scan_area < 0 || static_cast<size_t>(b.scan_area) >= Area_Limit(st);
}

std::optional<std::string> Scan_Status_Text(const Program_State& st, const Database_Build& b) {
  if (Scan_Finished(st, b)) return std::nullopt;
  const Scenery_Area& area = st.areas[static_cast<size_t>(b.scan_area)];
  if (area.local.empty()) return std::nullopt;
  return area.title;
}

Scan_Step Scan_Bgls_Tick(Program_State& st, Database_Build& b,
                         Airspace_Section_Reader read_airspace) {
  if (Scan_Finished(st, b)) return {};
  const Scenery_Area& area = st.areas[static_cast<size_t>(b.scan_area)];
  if (area.local.empty()) {
    ++b.scan_area;
    return {Scan_Step_Kind::area_skipped};
  }
  // An area whose folder was the one scanned just before goes on with the listing that has
  // already ended, so a folder named by two areas in a row is scanned once.
  if (area.local != b.scan_folder) {
    b.scan_folder = area.local;
    b.listing = List_Files_Ci(b.scan_folder, kBglSuffix);
    b.listing_next = 0;
  }
  if (b.listing_next >= b.listing.size()) {
    ++b.scan_area;
    return {Scan_Step_Kind::area_ended};
  }
  b.scan_file = Join_Path(b.scan_folder, b.listing[b.listing_next++]);
#ifdef _WIN32
  b.scan_file = Lower_1252(b.scan_file);
#endif
  if (b.files_done < std::numeric_limits<int32_t>::max()) ++b.files_done;
  return Scan_One_File(st, b, read_airspace);
}

Settings_Update Update_Settings_Counts(Program_State& st) {
  Settings_Update update;
  std::error_code ec;
  update.file_found =
      std::filesystem::is_regular_file(Data_File_Path(st.work_dir, SETTINGS_FILE), ec);
  if (!update.file_found) {
    update.result.ok = true;
    return update;
  }
  st.cfg.airport_count = st.airport_count;
  st.cfg.airspace_file_count = st.airspace_file_count;
  update.result = Save_Settings(st);
  return update;
}

void End_Build(Program_State& st, Database_Build& b) {
  st.db_ready = true;
  st.first_run = false;
  b.listing.clear();
  b.listing.shrink_to_fit();
  b.listing_next = 0;
}

}  // namespace orv
