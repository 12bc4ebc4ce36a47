#include "scenery/database_build.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <system_error>
#include <thread>

#include "core/large_block.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "data/data_file_removal.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "scenery/magdec.h"
#include "scenery/scan_bgl_file.h"
#include "scenery/scenery_cfg.h"

namespace orv {
namespace {

constexpr const char* kBglSuffix = ".bgl";

// A file of the simulator folder, spelled as found on disk when it exists.
std::filesystem::path Sim_File(const std::string& fs_path, std::string_view relative) {
  const std::string wanted = Join_Path(fs_path, relative);
  return Fs_Path(Resolve_Path_Ci(wanted).value_or(wanted));
}

// Worker threads that read and walk the files ahead: the second core, and the first while the
// scan's own thread waits or adds what they found.
constexpr int kWalkers = 2;

// The path of a name of `folder`'s listing, as scan_file spells it.
std::string Listing_Path(const std::string& folder, const std::string& name) {
  std::string path = Join_Path(folder, name);
#ifdef _WIN32
  path = Lower_1252(path);
#endif
  return path;
}

size_t Area_Limit(const Program_State& st) {
  return std::min(static_cast<size_t>(std::max<int32_t>(st.area_count, 0)), st.areas.size());
}

int32_t Add_Clamped(int32_t total, size_t more) {
  constexpr auto kMax = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  const size_t sum = static_cast<size_t>(total) + std::min(more, kMax);
  return static_cast<int32_t>(std::min(sum, kMax));
}

// Threads that list the area folders together: from a cold disk each listing waits for it.
constexpr size_t kListers = 8;

// The listing of every area's folder by area index, empty for an area without a folder.
std::vector<std::vector<std::string>> List_Area_Folders(const Program_State& st) {
  std::vector<std::vector<std::string>> listings(Area_Limit(st));
  std::atomic<size_t> next{0};
  const auto list = [&] {
    for (size_t i = next++; i < listings.size(); i = next++) {
      const std::string& local = st.areas[i].local;
      if (!local.empty()) listings[i] = List_Files_Ci(local, kBglSuffix);
    }
  };
  std::vector<std::thread> listers;
  for (size_t k = 1; k < std::min(kListers, listings.size()); ++k) listers.emplace_back(list);
  list();
  for (std::thread& lister : listers) lister.join();
  return listings;
}

// The listing of the area the scan has come to: the one Prepare_Build took when walking ahead,
// else a fresh one.
std::vector<std::string> Area_Listing(Database_Build& b) {
  const auto area = static_cast<size_t>(b.scan_area);
  if (b.use_walk_ahead && area < b.area_listings.size()) return std::move(b.area_listings[area]);
  return List_Files_Ci(b.scan_folder, kBglSuffix);
}

// Every file the scan will come to from the current one on, in its order: the rest of the
// listing in progress, then the listings of the later areas that start one.
std::vector<std::string> Paths_Ahead(const Program_State& st, const Database_Build& b) {
  std::vector<std::string> paths;
  for (size_t i = b.listing_next - 1; i < b.listing.size(); ++i) {
    paths.push_back(Listing_Path(b.scan_folder, b.listing[i]));
  }
  std::string folder = b.scan_folder;
  for (size_t k = static_cast<size_t>(b.scan_area) + 1; k < Area_Limit(st); ++k) {
    const std::string& local = st.areas[k].local;
    if (local.empty() || local == folder) continue;
    if (k >= b.area_listings.size()) break;
    folder = local;
    for (const std::string& name : b.area_listings[k]) paths.push_back(Listing_Path(folder, name));
  }
  return paths;
}

// Takes b.scan_file's walk from the workers into b.walked, starting them when there are none
// or they have walked every file they were given. False when they cannot give it: the step
// walks the file itself, and so do the steps after it.
bool Take_Walked(const Program_State& st, Database_Build& b,
                 Airspace_Section_Reader read_airspace) {
  if (b.walk_ahead && b.walk_ahead->Take(b.scan_file, b.walked)) return true;
  b.walk_ahead =
      std::make_unique<Walk_Ahead>(st, read_airspace, Paths_Ahead(st, b), kWalkers, b.read_mode);
  if (b.walk_ahead->Take(b.scan_file, b.walked)) return true;
  b.walk_ahead.reset();
  b.use_walk_ahead = false;
  return false;
}

// Counts a file stepped over by how its read and walk went, and names it when it went wrong.
Scan_Step Count_File(Database_Build& b, Read_Status read, bool walked, Walk_Stop stop) {
  Scan_Step step;
  step.progress = true;
  if (read != Read_Status::ok) {
    ++b.tally.files_unopened;
    const bool unopened = read == Read_Status::unopened;
    b.problems.push_back({b.scan_file, unopened ? "cannot be opened" : "cannot be read"});
    step.kind = Scan_Step_Kind::file_unopened;
    return step;
  }
  if (!walked) {
    ++b.tally.files_skipped;
    step.kind = Scan_Step_Kind::file_skipped;
    return step;
  }
  step.kind = Scan_Step_Kind::file_read;
  step.stop = stop;
  ++b.tally.files_read;
  if (stop != Walk_Stop::none) {
    ++b.tally.files_cut_short;
    b.problems.push_back({b.scan_file, std::string("walk ended early: ") + Walk_Stop_Name(stop)});
  }
  return step;
}

// Handles the file b.scan_file on this thread: read, signature check and walk.
Scan_Step Scan_One_File(Program_State& st, Database_Build& b,
                        Airspace_Section_Reader read_airspace) {
  const Bgl_Walk walk = Read_And_Scan_Bgl_File(st, b.buffers, b.read_mode, Fs_Path(b.scan_file),
                                               b.scan_file, read_airspace);
  return Count_File(b, walk.read, walk.has_signature, walk.stop);
}

// Appends a walked file's airports after the used ones, as its walk would have appended them
// one by one: the list keeps its one empty spare element at the end.
void Append_Airports(Program_State& st, std::vector<Airport_Entry>& found) {
  if (found.empty()) return;
  const auto at = static_cast<size_t>(st.airport_count);
  const size_t size = at + found.size() + 1;
  // The list grows four times over when it must: each move of it to a larger block writes its
  // records to memory the system maps afresh, while the part of a block not yet used costs
  // nothing.
  if (size > st.airports.capacity())
    Reserve_Large(st.airports, std::max(size, 4 * st.airports.size()));
  st.airports.resize(size);
  std::move(found.begin(), found.end(), st.airports.begin() + static_cast<std::ptrdiff_t>(at));
  st.airport_count += static_cast<int32_t>(found.size());
  found.clear();
}

// Adds what the workers walked of b.scan_file to the lists, then counts it.
Scan_Step Add_Walked_File(Program_State& st, Database_Build& b) {
  Walked_File& f = b.walked;
  Append_Airports(st, f.airports);
  for (const std::string& file : f.airspace_files) Record_Airspace_File(st, file);
  f.airspace_files.clear();
  return Count_File(b, f.read, f.has_signature, f.stop);
}

// Resolves the area folders, keeping the areas whose named folder was not found.
std::vector<Skipped_Area> Resolve_And_Note_Skipped(Program_State& st) {
  std::vector<std::string> named;
  named.reserve(Area_Limit(st));
  for (size_t i = 0; i < Area_Limit(st); ++i) named.push_back(st.areas[i].local);
  Resolve_Area_Paths(st);
  std::vector<Skipped_Area> skipped;
  for (size_t i = 0; i < named.size(); ++i) {
    if (!named[i].empty() && st.areas[i].local.empty()) {
      skipped.push_back({st.areas[i].title, std::move(named[i])});
    }
  }
  return skipped;
}

}  // namespace

std::vector<std::string> Skipped_Area_Lines(const std::vector<Skipped_Area>& skipped) {
  std::vector<std::string> lines;
  const size_t listed = std::min(skipped.size(), MAX_SKIPPED_AREAS_LISTED);
  for (size_t i = 0; i < listed; ++i) {
    lines.push_back(Utf8_From_1252(skipped[i].title) + ": " + Utf8_From_1252(skipped[i].local));
  }
  if (skipped.size() > listed) {
    lines.push_back("... and " + std::to_string(skipped.size() - listed) + " more.");
  }
  return lines;
}

File_Status Load_Mag_Grid(Program_State& st) {
  return Load_Magdec(st.mag_var_table, Sim_File(st.fs_path, Join_Path("scenery", "magdec.bgl")));
}

Prepare_Report Prepare_Build(Program_State& st, Database_Build& b) {
  Prepare_Report report;
  st.db_ready = false;
  int32_t areas_refused = 0;
  std::vector<Skipped_Area> skipped;
  if (st.sim_version == 1) {
    Release_To_Spare(st.areas);
    st.area_count = 0;
    report.scenery_cfg = Read_Scenery_Cfg(st, Sim_File(st.fs_path, "scenery.cfg"), &areas_refused);
    skipped = Resolve_And_Note_Skipped(st);
  }
  const bool use_walk_ahead = b.use_walk_ahead;
  const Bgl_Read read_mode = b.read_mode;
  b = Database_Build{};
  b.read_mode = read_mode;
  b.skipped_areas = std::move(skipped);
  if (areas_refused > 0) {
    b.problems.push_back({"scenery.cfg", std::to_string(areas_refused) +
                                             " scenery areas beyond the first " +
                                             std::to_string(MAX_AREAS) + " were not scanned"});
  }
  b.use_walk_ahead = use_walk_ahead;
  std::vector<std::vector<std::string>> listings = List_Area_Folders(st);
  for (const std::vector<std::string>& listing : listings) {
    b.bgl_total = Add_Clamped(b.bgl_total, listing.size());
  }
  if (b.use_walk_ahead) b.area_listings = std::move(listings);
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
    b.listing = Area_Listing(b);
    b.listing_next = 0;
  }
  if (b.listing_next >= b.listing.size()) {
    ++b.scan_area;
    return {Scan_Step_Kind::area_ended};
  }
  b.scan_file = Listing_Path(b.scan_folder, b.listing[b.listing_next++]);
  if (b.files_done < std::numeric_limits<int32_t>::max()) ++b.files_done;
  if (b.use_walk_ahead && Take_Walked(st, b, read_airspace)) return Add_Walked_File(st, b);
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

Build_Files_Written Write_Build_Files(Program_State& st,
                                      const std::function<void(const char* status)>& announce) {
  Build_Files_Written written;
  const auto failed = [&](const char* file, const char* what, std::string error) {
    Remove_Data_Files(st);
    written = {false, file, what, std::move(error)};
    return written;
  };
  announce(STATUS_CREATING_DATABASE);
  if (Write_Result r = Write_Airport_File(st); !r.ok) {
    return failed(DATABASE_FILE, "airport database", r.error);
  }
  announce(STATUS_CREATING_AIRSPACES);
  if (Write_Result r = Write_Airspace_List(st); !r.ok) {
    return failed(AIRSPACE_LIST_FILE, "airspace file list", r.error);
  }
  // The counts go to the settings only once both files are in place, so the settings never
  // describe files that were not written.
  announce(STATUS_UPDATING_CONFIG);
  const Settings_Update update = Update_Settings_Counts(st);
  if (!update.result.ok) return failed(SETTINGS_FILE, "settings file", update.result.error);
  if (!update.file_found) {
    return failed(SETTINGS_FILE, "settings file",
                  "it vanished during the build, so the database's counts could not be kept");
  }
  written.ok = true;
  return written;
}

void End_Build(Program_State& st, Database_Build& b) {
  st.db_ready = true;
  st.first_run = false;
  b.listing.clear();
  b.listing.shrink_to_fit();
  b.listing_next = 0;
  b.area_listings.clear();
  b.area_listings.shrink_to_fit();
  b.walk_ahead.reset();
  b.walked = Walked_File{};
  b.buffers = Bgl_Buffers{};
}

}  // namespace orv
