// A generated simulator folder of the size of the simulator's own world, for measuring the
// database build, the database load and the airport fetch on realistic volumes. Everything is
// made by the project's scenery writer; files are written one at a time, never all held.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace orv::fs_world {

// How a generated world is made up.
struct World_Shape {
  std::string name;               // names the folder the world is written to
  int32_t areas = 0;              // scenery areas, each with its own folder
  int32_t airport_files = 0;      // files holding an airport section
  int32_t airports_per_file = 0;  //
  int32_t large_every = 0;        // one airport in this many has taxiways and gates (0: none)
  int32_t airspace_files = 0;     // files holding an airspace section
  int32_t filler_files = 0;       // files with neither section (terrain and objects)
  int32_t filler_bytes = 0;       // average size of a filler file
};

// About 4,100 scenery files in 120 areas, 24,000 airports, 300 airspace files, 365 MB.
World_Shape Fs2002_Shape();

// About 2,100 small files holding 34,000 airports without taxiways, 11 MB.
World_Shape Small_Files_Shape();

// What was written.
struct World_Summary {
  std::filesystem::path root;  // the simulator folder (fs2002.exe, scenery.cfg, scenery/...)
  int64_t scenery_files = 0;
  int64_t scenery_bytes = 0;
};

// Writes the world under parent/shape.name unless a complete one is already there (a marker
// file is written last), and returns it.
World_Summary Make_World(const std::filesystem::path& parent, const World_Shape& shape);

}  // namespace orv::fs_world
