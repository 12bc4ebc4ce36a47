// The airport database build, cut into steps that the selection window runs one per timer tick
// (the tool runs them back to back), and the magnetic grid load that precedes every build and
// every database load.
//
// A build, with the status text the window writes and repaints before each step:
//   STATUS_MAGDEC               Load_Mag_Grid
//   STATUS_SCENERY_CFG          Prepare_Build (the text only when sim_version is 1)
//   then while !Scan_Finished:  the area title of Scan_Status_Text, when there is one;
//                               Scan_Bgls_Tick
//   STATUS_CREATING_DATABASE    Write_Airport_File (database_files.h)
//   STATUS_CREATING_AIRSPACES   Write_Airspace_List
//   STATUS_UPDATING_CONFIG      Update_Settings_Counts, only when both files were written
//   STATUS_ADDING_AIRPORTS      Add_Airport_Items (database_files.h)
//   End_Build, then STATUS_DONE
// A load on a normal run:
//   STATUS_MAGDEC               Load_Mag_Grid; db_ready = true
//   STATUS_READING_DATABASE     Load_Airport_File (database_files.h)
//   STATUS_READING_AIRSPACES    Load_Airspace_List
//   STATUS_ADDING_AIRPORTS      Add_Airport_Items, then STATUS_DONE
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "scenery/bgl_image.h"
#include "scenery/scan_bgl_file.h"
#include "scenery/scenery_cfg.h"
#include "scenery/walk_ahead.h"

namespace orv {

struct Program_State;

inline constexpr const char* STATUS_MAGDEC = "Magdec.bgl File";
inline constexpr const char* STATUS_SCENERY_CFG = "Scenery.cfg File";
inline constexpr const char* STATUS_CREATING_DATABASE = "Creating Database Files...";
inline constexpr const char* STATUS_CREATING_AIRSPACES = "Creating Airspaces Files List...";
inline constexpr const char* STATUS_UPDATING_CONFIG = "Updating Configuration...";
inline constexpr const char* STATUS_READING_DATABASE = "Reading Database File...";
inline constexpr const char* STATUS_READING_AIRSPACES = "Reading Airspaces Files List...";
inline constexpr const char* STATUS_ADDING_AIRPORTS = "Adding Airports to List...";
inline constexpr const char* STATUS_DONE = "Done";

inline constexpr const char* MSG_FIRST_BUILD =
    "This is the first time you run this program. Now this program will create a database file "
    "of all the airports of the FS2002 world. This process can take a few minutes, please wait.";
inline constexpr const char* MSG_DATABASE_CREATED =
    "The Database File was created successfully!. Now this program will add all airports to the "
    "list, please wait.";

// What the scan made of the scenery files, for telling the pilot when something was wrong.
struct Scan_Tally {
  int32_t files_read = 0;       // had the signature and were walked
  int32_t files_skipped = 0;    // no signature at offset 118: not a file this program reads
  int32_t files_unopened = 0;   // listed, but could not be opened or read
  int32_t files_cut_short = 0;  // walked, but the walk ended early (also in files_read)
};

// A file the pilot should hear about: one that could not be read, or whose walk was cut short.
struct Scan_Problem {
  std::string file;
  std::string reason;
};

// An area of scenery.cfg that names a folder which was not found: the scan passes over it.
struct Skipped_Area {
  std::string title;
  std::string local;  // as scenery.cfg writes it
};

// The scan state of one build.
struct Database_Build {
  int32_t scan_area = 0;             // index in areas of the area being scanned
  std::string scan_folder;           // the folder whose listing is in progress
  std::string scan_file;             // the scenery file read last, spelled as found on disk
  int32_t bgl_total = 0;             // scenery files counted before the scan
  int32_t files_done = 0;            // files stepped over so far: the progress bar's value
  std::vector<std::string> listing;  // names of scan_folder's listing
  size_t listing_next = 0;           // the next name of the listing to take
  Scan_Tally tally;
  // The listings Prepare_Build took of every area, by area index: the scan walks them when it
  // walks ahead, so the files it counted are the files it scans.
  std::vector<std::vector<std::string>> area_listings;
  // The files ahead of the current one are read and walked on worker threads (both cores)
  // while the scan adds the ones walked to the lists in their order; the database comes out
  // the same, byte for byte.
  bool use_walk_ahead = true;  // false: every file is read and walked when its step comes
  std::unique_ptr<Walk_Ahead> walk_ahead;
  Walked_File walked;  // the file taken last from walk_ahead
  // Each file is read in pieces as its walk reaches them, so a file without an airport or
  // airspace section costs only its header; `whole` reads every file whole first.
  Bgl_Read read_mode = Bgl_Read::pieces;
  Bgl_Buffers buffers;  // the file being walked, when the step walks it itself
  std::vector<Scan_Problem> problems;
  std::vector<Skipped_Area> skipped_areas;  // in library order
};

// The most skipped areas a build report names; the rest are counted.
inline constexpr size_t MAX_SKIPPED_AREAS_LISTED = 20;

// The areas a build passed over for want of their folders, for its report, in UTF-8: one line per
// area, its title and the folder scenery.cfg names, at most MAX_SKIPPED_AREAS_LISTED, then a line
// counting the rest. Empty when no area was skipped.
std::vector<std::string> Skipped_Area_Lines(const std::vector<Skipped_Area>& skipped);

// Loads fs_path/scenery/magdec.bgl (names matched ignoring case) into mag_var_table. A missing
// or unreadable file leaves the table as it is.
File_Status Load_Mag_Grid(Program_State& st);

// What Prepare_Build did with scenery.cfg: nothing when sim_version is not 1.
struct Prepare_Report {
  std::optional<File_Status> scenery_cfg;
};

// Starts a build: db_ready false; when sim_version is 1 reads fs_path/scenery.cfg into a fresh
// area list and resolves the area folders; counts the scenery files of every area with a
// folder into bgl_total; resets the scan state; releases both database lists and zeroes their
// counts.
Prepare_Report Prepare_Build(Program_State& st, Database_Build& b);

// True once every area has been scanned: the build's files are due.
bool Scan_Finished(const Program_State& st, const Database_Build& b);

// The status text to show before the next Scan_Bgls_Tick: the title of the area it works on,
// or nothing when the tick only passes over an area without a folder or the scan is over.
std::optional<std::string> Scan_Status_Text(const Program_State& st, const Database_Build& b);

enum class Scan_Step_Kind : uint8_t {
  finished,       // every area was already scanned; nothing was done
  area_skipped,   // the area has no folder
  area_ended,     // the area's listing has no further name (or its folder was just scanned)
  file_read,      // the file had the signature and was walked
  file_skipped,   // no signature at offset 118
  file_unopened,  // the file could not be opened or read
};

struct Scan_Step {
  Scan_Step_Kind kind = Scan_Step_Kind::finished;
  bool progress = false;             // a file was stepped over: the progress bar advances
  Walk_Stop stop = Walk_Stop::none;  // why the walk of a read file ended early
};

// One step of the scan: passes over one area without a folder, ends one area's listing, or
// handles one scenery file (its header read, the signature checked at offset 118, then the file
// walked as its pieces are read, appending its airports and handing its airspace section to
// `read_airspace`, which records the file when it holds airspace).
Scan_Step Scan_Bgls_Tick(Program_State& st, Database_Build& b,
                         Airspace_Section_Reader read_airspace);

// Copies airport_count and airspace_file_count into cfg and saves the settings, but only when
// orv_config.cfg is in the working folder.
struct Settings_Update {
  bool file_found = false;
  Write_Result result;  // ok when the file was absent and nothing was written
};
Settings_Update Update_Settings_Counts(Program_State& st);

// How the files of a build were written: ok, or which could not be and why.
struct Build_Files_Written {
  bool ok = false;
  const char* file = nullptr;  // the data file that failed, as named in the working folder
  const char* what = nullptr;  // what it is, for the pilot ("airport database")
  std::string error;
};

// The end of a build, the same for the window and the tool: writes the database, the airspace
// list, then the counts into the settings, announcing each step with its status text first.
// When one fails the three data files are removed, since a partial set is of no use to the next
// start. A settings file that vanished during the build fails too: the counts could not be kept
// and the next start would find only the other two files.
Build_Files_Written Write_Build_Files(Program_State& st,
                                      const std::function<void(const char* status)>& announce);

// Ends a build: db_ready true, first_run false, the listings, the worker threads and the image
// released.
void End_Build(Program_State& st, Database_Build& b);

}  // namespace orv
