// The detail of one airport: reference point, name, frequencies, runways with their ends,
// designators and magnetic headings, the ILS of each runway, and the taxiway record.
#pragma once

#include <cstdint>
#include <string>

#include "core/airport_records.h"
#include "scenery/bgl_image.h"
#include "scenery/magdec.h"

namespace orv {

inline constexpr int32_t DETAIL_REFERENCE = 0x10001;
inline constexpr int32_t DETAIL_RUNWAY = 0x10002;
inline constexpr int32_t DETAIL_SKIPPED_3 = 0x10003;
inline constexpr int32_t DETAIL_NAVAID = 0x10004;
inline constexpr int32_t DETAIL_SKIPPED_5 = 0x10005;
inline constexpr int32_t DETAIL_NAME = 0x10006;
inline constexpr int32_t DETAIL_FREQUENCY = 0x20001;
inline constexpr int32_t NAVAID_ILS = 4;

// Designators of a runway's two ends from its number and side code: "9L" and "27R". A number
// above 36 gives two empty designators; a side code outside 0..4 gives no side letter.
struct Runway_Names {
  std::string end1;
  std::string end2;
};
Runway_Names Runway_Designators(int32_t number, int32_t side);

// Reads the detail records that start 16 bytes after `detail` into `entry`, until the first
// record of an unknown type. What was applied before a damaged record stays.
void Read_Airport_Detail(const Mag_Var_Table& mag_var_table, Bgl_Reader& rd, int64_t detail,
                         Airport_Entry& entry);

}  // namespace orv
