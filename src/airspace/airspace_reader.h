// The airspace section of a scenery file: containers of groups of boundary records.
//
// The section is a list of level-1 records; a level-1 record of type 1 and subtype 4 is a
// container whose level-2 list starts 16 bytes in; a level-2 record of type 1 and subtype 5 is
// a group whose level-3 records (box, names, frequencies, boundary points) start 16 bytes in.
// Every list ends at the first record whose type its level does not know.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/airspace_records.h"
#include "scenery/bgl_image.h"

namespace orv {

struct Program_State;

// Record types and ids of the airspace section.
inline constexpr int32_t AIRSPACE_LIST_RECORD = 1;
inline constexpr int32_t AIRSPACE_SKIPPED_RECORD = 0x00030001;
inline constexpr int32_t AIRSPACE_CONTAINER_SUBTYPE = 4;
inline constexpr int32_t AIRSPACE_GROUP_SUBTYPE = 5;
inline constexpr int32_t AIRSPACE_BOX_ID = 0x0001000B;
inline constexpr int32_t AIRSPACE_NAME_ID = 0x00010006;
inline constexpr int32_t AIRSPACE_FREQUENCY_ID = 0x00020001;
inline constexpr int32_t AIRSPACE_CENTER_ID = 0x00012001;
inline constexpr int32_t AIRSPACE_START_ID = 0x00012002;
inline constexpr int32_t AIRSPACE_IGNORED_ID = 0x00012003;
inline constexpr int32_t AIRSPACE_LINE_ID = 0x00012005;
inline constexpr int32_t AIRSPACE_ARC_CW_ID = 0x00012006;
inline constexpr int32_t AIRSPACE_ARC_CCW_ID = 0x00012007;
inline constexpr int32_t AIRSPACE_CIRCLE_ID = 0x00012008;

// True while an airport fetch reads airspaces (the database is loaded and no build is running);
// otherwise the section walk only records which files hold airspace data.
bool Airspace_Read_Mode(const Program_State& st);

// Walks the airspace section whose first level-1 record is at file offset `section` and has the
// given head. While the database is built it records `scan_file` in st.airspace_files (once per
// run of consecutive files); during an airport fetch it appends the airspaces whose box contains
// st.cur_airport to st.airspaces. On return `head` holds the head where the walk stopped.
void Read_Airspace_Section(Program_State& st, Bgl_Reader& rd, int64_t section, Section_Head& head,
                           std::string_view scan_file);

// Walks a container's level-2 list from `list` (the container's start + 16), whose first head
// is given, reading every group found.
void Read_Airspace_Container(Program_State& st, Bgl_Reader& rd, int64_t list, Section_Head& head);

// Reads the level-3 records of the group that starts at `group`, keeping what follows a box
// that contains the chosen airport.
void Read_Airspace_Group(Program_State& st, Bgl_Reader& rd, int64_t group);

// Appends an entry to st.airspaces: the count is raised, the list grown to hold it if needed,
// and the new entry starts empty.
Airspace_Entry& Append_Airspace(Program_State& st);

// Appends a point to an entry's boundary path the same way.
Boundary_Point& Append_Point(Airspace_Entry& entry);

// Scenery latitude and longitude units to degrees, rounded to 4 decimals.
double Airspace_Lat(int32_t value);
double Airspace_Lon(int32_t value);

}  // namespace orv
