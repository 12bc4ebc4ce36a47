// The scenery library list: any text read into areas, and the key lookup over any section.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/program_state.h"
#include "scenery/scenery_cfg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  orv::Program_State st;
  orv::Read_Scenery_Cfg_Text(st, text);
  if (st.area_count < 0 || st.areas.size() != static_cast<size_t>(st.area_count) + 1) std::abort();
  // Areas come from whole lines: no field holds a line end.
  for (const orv::Scenery_Area& a : st.areas) {
    for (const std::string* f :
         {&a.title, &a.texture_id, &a.active, &a.layer, &a.required, &a.remote, &a.local}) {
      if (f->find_first_of("\r\n") != std::string::npos) std::abort();
    }
  }
  for (const std::string_view key :
       {"Title", "Local", "Active", "Layer", "Required", "Remote", "Texture_ID", "", "="}) {
    const std::string value = orv::Key_Value(text, key);
    // A value never reaches past the end of its line (CR LF in a section).
    if (value.find("\r\n") != std::string::npos) std::abort();
  }
  // The first line as the key, against the rest as the section.
  const size_t eol = text.find('\n');
  if (eol != std::string_view::npos) orv::Key_Value(text.substr(eol + 1), text.substr(0, eol));
  return 0;
}
