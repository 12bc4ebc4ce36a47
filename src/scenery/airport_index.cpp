#include "scenery/airport_index.h"

#include <optional>
#include <string>

#include "core/program_state.h"
#include "scenery/airport_detail.h"

namespace orv {
namespace {

constexpr int32_t kAirportBlock = 0x30001;
constexpr int32_t kIndexRecord = 0x30002;
constexpr int32_t kAirportKind = 0x50001;

// One index record: appends its airport while the database is built, when its kind and
// detail header say it is one. Returns false when the walk must end.
bool Read_Index_Record(Program_State& st, Bgl_Reader& rd, int64_t r, int32_t size) {
  const int32_t kind = Read_Long(rd, r + 8);
  const int32_t detail = Read_Long(rd, r + 12);
  const std::string ident = Read_Text(rd, r + 16, int64_t{size} - 8);
  if (!rd.ok()) return false;
  if (kind != kAirportKind || detail <= 0) return true;
  const int32_t h0 = Read_Long(rd, detail);
  const int32_t h2 = Read_Long(rd, int64_t{detail} + 8);
  if (!rd.ok()) return false;
  if (h0 != 1 || h2 != 1 || st.db_ready) return true;
  Airport_Entry& entry = Append_With_Spare(st.airports, st.airport_count);
  entry.ident = ident;
  Read_Airport_Detail(st.mag_var_table, rd, detail, entry);
  return rd.ok();
}

// The n + 1 records of one block. Returns false when the walk must end.
bool Read_Block(Program_State& st, Bgl_Reader& rd, int64_t block) {
  const int32_t n = Read_Long(rd, block + 20);
  std::optional<int64_t> r = block + 24;
  for (int64_t i = 0; i <= n; ++i) {
    const int32_t type = Read_Long(rd, *r);
    const int32_t size = Read_Long(rd, *r + 4);
    if (!rd.ok()) return false;
    if (type == kIndexRecord && !Read_Index_Record(st, rd, *r, size)) return false;
    // The last record's size leads nowhere: the next block starts at the block's own size.
    if (i == n) break;
    r = Next_Record(rd, *r, size);
    if (!r) return false;
  }
  return rd.ok();
}

}  // namespace

void Read_Airport_Section(Program_State& st, Bgl_Reader& rd, int64_t section, Section_Head& head) {
  int64_t block = section;
  while (head.type == kAirportBlock) {
    if (!Read_Block(st, rd, block)) return;
    const std::optional<int64_t> next = Next_Record(rd, block, head.size);
    if (!next) return;
    block = *next;
    head.type = Read_Long(rd, block);
    head.size = Read_Long(rd, block + 4);
    if (!rd.ok()) return;
  }
}

}  // namespace orv
