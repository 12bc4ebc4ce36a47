// The taxiway record of an airport's detail: taxiway points, parking places and gates with
// their labels, path segments, and the taxiway names that label the segments.
#pragma once

#include <cstdint>
#include <string>

#include "core/airport_records.h"
#include "scenery/bgl_image.h"

namespace orv {

inline constexpr int32_t TAXIWAY_RECORD = 0x11001;

// Label of a parking place from its packed identity: the upper-cased name of its name code, a
// blank and its number; the number alone for a name code that has no name.
std::string Parking_Label(int32_t identity);

// Reads the taxiway record at file offset `record` into `entry`, placing points and parking
// places by their metre offsets from the reference point (ref_lat, ref_lon). Sub-records
// never run past the record's own end; one that would is not read and ends the record.
void Read_Taxi_Record(Bgl_Reader& rd, int64_t record, Airport_Entry& entry, double ref_lat,
                      double ref_lon);

}  // namespace orv
