// A whole scenery file walked as a normal run walks it once an airport is chosen: the airspaces
// around the chosen airport are read, nothing is appended to the database.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "airspace/airspace_reader.h"
#include "core/program_state.h"
#include "scenery/bgl_image.h"
#include "scenery/scan_bgl_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orv::Program_State st;
  st.first_run = false;
  st.db_ready = true;
  // Where the seed files put their airports and airspaces.
  st.cur_airport.ident = "KSEA";
  st.cur_airport.lat = 47.449;
  st.cur_airport.lon = -122.309;
  const orv::Bgl_Image image = orv::Make_Bgl_Image(std::span(data, size));
  orv::Bgl_Reader rd(image);
  orv::Scan_Bgl_File(st, rd, "fuzz.bgl", orv::Read_Airspace_Section);
  if (st.airport_count != 0 || st.airspace_file_count != 0) std::abort();
  if (st.airspace_count < 0 || static_cast<size_t>(st.airspace_count) > st.airspaces.size()) {
    std::abort();
  }
  return 0;
}
