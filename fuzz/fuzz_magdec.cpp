// The magnetic variation grid loader over any file: the grid pointer at 110, then every value
// read from wherever it points, and headings looked up in the table that results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "scenery/bgl_image.h"
#include "scenery/magdec.h"

namespace {
orv::Mag_Var_Table table;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const orv::Bgl_Image image = orv::Make_Bgl_Image(std::span(data, size));
  orv::Bgl_Reader rd(image);
  const int32_t p = orv::Read_Long(rd, 110);
  if (!rd.ok()) return 0;
  if (p > 0) orv::Fill_Magvar_Table(table, image, p);
  for (const double lat : {-90.4, -45.0, 0.0, 47.449, 89.6}) {
    for (const double lon : {-179.6, -122.309, 0.0, 90.5, 179.6}) {
      const int16_t hdg = orv::Mag_Heading(table, 163.7, lat, lon);
      if (hdg < 0 || hdg > 360) std::abort();
    }
  }
  return 0;
}
