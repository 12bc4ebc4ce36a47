// The airport fetch: takes the airport chosen in the list, copies its database entry into
// cur_airport, reads the airspaces around it from every scenery file that holds airspace data,
// labels them by class and adds a departure/approach airspace of its own.
//
// The selection window runs the steps in this order, writing its status texts before the
// steps they announce:
//   STATUS_GETTING_INFO    Find_Fetch_Airport, Release_Airport_List
//   STATUS_LOOKING_AIRSPACE  Clear_Airspaces, Read_Airspace_Files, Release_Airspace_File_List,
//                          Classify_Airspaces, Add_Tracon_Airspace
// Fetch_Airport runs them all in one go. They expect the ready state of the selection window
// (the database loaded, no build running), in which the scenery walk reads airspaces.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/airspace_records.h"
#include "scenery/bgl_image.h"

namespace orv {

struct Program_State;

inline constexpr const char* STATUS_GETTING_INFO = "Getting Airport's Info...";
inline constexpr const char* STATUS_LOOKING_AIRSPACE = "Looking for Airspace...";

// The circle of the departure/approach airspace: nautical miles around the airport, and its
// upper limit in feet.
inline constexpr int32_t TRACON_RADIUS = 20;
inline constexpr int32_t TRACON_ALT_HIGH = 10000;

// Copies the last entry of st.airports whose list item text equals `item` exactly into
// st.cur_airport. Returns false, leaving cur_airport as it was, when no entry matches.
bool Find_Fetch_Airport(Program_State& st, std::string_view item);

// The same search with another test of the item text (the tool compares the UTF-8 form).
using Item_Match = std::function<bool(const std::string& item_text)>;
bool Find_Fetch_Airport_Where(Program_State& st, const Item_Match& matches);

// Cuts the airport list down to its spare entry; airport_count stays as it is.
void Release_Airport_List(Program_State& st);

// Empties st.airspaces.
void Clear_Airspaces(Program_State& st);

// What happened to one listed scenery file.
enum class Fetch_File_Outcome : uint8_t {
  read,          // walked; see `stop` for whether the walk was cut short
  unreadable,    // missing or could not be read: skipped
  no_signature,  // not a scenery file this program reads: skipped
};

struct Fetch_File_Result {
  std::string path;
  Fetch_File_Outcome outcome = Fetch_File_Outcome::read;
  Walk_Stop stop = Walk_Stop::none;
};

// Called with (files done, files listed): once with 0 before the first file, then after each.
using Fetch_Progress = std::function<void(int32_t done, int32_t total)>;

// Walks every file of st.airspace_files in list order, reading only its header and the pieces
// the walk reaches, appending the airspaces that contain cur_airport to st.airspaces. A file that
// is missing, unreadable or without the scenery signature is skipped. Returns one result per listed
// file.
std::vector<Fetch_File_Result> Read_Airspace_Files(Program_State& st,
                                                   const Fetch_Progress& progress = {});

// Cuts the airspace file list down to its spare entry; airspace_file_count stays as it is.
void Release_Airspace_File_List(Program_State& st);

// Labels every airspace read from the scenery files: "ARTCC/FIR" when it has both frequency
// text and a com name, else "Airspace Class B", "Airspace Class C" or "Airspace Class D" by its
// altitude limits.
const char* Airspace_Class(const Airspace_Entry& entry);
void Classify_Airspaces(Program_State& st);

// Appends the departure/approach airspace around cur_airport, unless it has neither a freq9
// nor a freq8. Returns whether it was added.
bool Add_Tracon_Airspace(Program_State& st);

// Every step after the search, in order: from releasing the airport list to adding the
// departure/approach airspace.
std::vector<Fetch_File_Result> Fetch_Airspaces(Program_State& st,
                                               const Fetch_Progress& progress = {});

struct Fetch_Result {
  bool found = false;  // the item matched an airport; cur_airport is then that airport
  std::vector<Fetch_File_Result> files;
};

// Every step in order. When the item matches nothing the fetch still goes on with the
// cur_airport it had, as the program does; `found` tells the caller.
Fetch_Result Fetch_Airport(Program_State& st, std::string_view item,
                           const Fetch_Progress& progress = {});

}  // namespace orv
