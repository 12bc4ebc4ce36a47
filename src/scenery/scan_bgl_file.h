// The header walk of one loaded scenery file: finds the airport and airspace sections and
// hands each to its reader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "scenery/bgl_image.h"

namespace orv {

struct Program_State;

// Reads the airspace section whose first record is at file offset `section`. The scenery
// reader only finds the section; its caller names the reader (the airspace subsystem's).
using Airspace_Section_Reader = void (*)(Program_State& st, Bgl_Reader& rd, int64_t section,
                                         Section_Head& head, std::string_view scan_file);

// Walks the header of the file in `rd` and reads its airport section, then hands its airspace
// section to `read_airspace` (none: the section is passed over). `scan_file` is the file's
// path, recorded by the airspace reader while the database is built. Returns why the walk
// ended early, or Walk_Stop::none.
Walk_Stop Scan_Bgl_File(Program_State& st, Bgl_Reader& rd, std::string_view scan_file,
                        Airspace_Section_Reader read_airspace);

// How a scenery file is read for its walk: in pieces as the walk reaches them, or whole before
// it (the plain way, which the pieces must match byte for byte).
enum class Bgl_Read : uint8_t { pieces, whole };

// The buffers a reader of many scenery files keeps between them.
struct Bgl_Buffers {
  Bgl_Pieces pieces;
  std::vector<uint8_t> whole;
  size_t whole_length = 0;  // the length of the file read whole
};

// How reading and walking one scenery file went.
struct Bgl_Walk {
  Read_Status read = Read_Status::unopened;
  bool has_signature = false;  // read, with the signature at offset 118: the file was walked
  Walk_Stop stop = Walk_Stop::none;
};

// Reads the file at `path` as `how` says and, when it has the signature, walks it with
// Scan_Bgl_File; the file is closed before this returns.
Bgl_Walk Read_And_Scan_Bgl_File(Program_State& st, Bgl_Buffers& buffers, Bgl_Read how,
                                const std::filesystem::path& path, std::string_view scan_file,
                                Airspace_Section_Reader read_airspace);

// Records `scan_file` in st.airspace_files while the database is built, unless it is the file
// recorded last (a file with several airspace containers is listed once).
void Record_Airspace_File(Program_State& st, std::string_view scan_file);

}  // namespace orv
