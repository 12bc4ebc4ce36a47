// A whole scenery file walked as a database build walks it: airports appended, files holding
// airspace listed. Every walk must end inside the image, and what it appends must be sound.
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
  st.first_run = true;
  st.db_ready = false;
  const orv::Bgl_Image image = orv::Make_Bgl_Image(std::span(data, size));
  orv::Bgl_Reader rd(image);
  orv::Scan_Bgl_File(st, rd, "fuzz.bgl", orv::Read_Airspace_Section);
  // Used entries and the spare: the lists always hold count + 1 entries.
  if (st.airport_count < 0 || st.airports.size() != static_cast<size_t>(st.airport_count) + 1) {
    std::abort();
  }
  if (st.airspace_file_count < 0 ||
      st.airspace_files.size() != static_cast<size_t>(st.airspace_file_count) + 1) {
    std::abort();
  }
  return 0;
}
