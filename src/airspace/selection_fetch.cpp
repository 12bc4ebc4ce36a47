#include "airspace/selection_fetch.h"

#include "airspace/airport_fetch.h"
#include "airspace/airspace_reader.h"
#include "core/text_1252.h"

namespace orv {

Selection_Engine Airspace_Selection_Engine() {
  Selection_Engine engine;
  engine.read_airspace = Read_Airspace_Section;
  engine.take_airport = [](Program_State& st, const std::string& item) {
    // The list shows the items in UTF-8; the database holds them in Windows-1252.
    Find_Fetch_Airport_Where(
        st, [&item](const std::string& item_text) { return Utf8_From_1252(item_text) == item; });
    Release_Airport_List(st);
  };
  engine.read_airspaces = [](Program_State& st, const Airspace_Progress& progress) {
    Clear_Airspaces(st);
    Read_Airspace_Files(st, progress);
    Release_Airspace_File_List(st);
    Classify_Airspaces(st);
    Add_Tracon_Airspace(st);
  };
  return engine;
}

}  // namespace orv
