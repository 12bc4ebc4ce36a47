// The two airport database files of the working folder.
//
// all_fs_airports.dat holds airport_count + 1 airport records back to back, the last one the
// empty spare entry; world_airspaces.lst holds airspace_file_count + 1 texts, the last one
// empty. Neither file carries its count: both counts come from the settings file.
//
// Encoding, little-endian with no padding: a text is an Integer (signed 16-bit) byte count and
// the bytes; a Double is 8 bytes IEEE 754; a Long 4 bytes signed. An airport record is its
// fields in declaration order; each of its five lists is a list block: Integer dims (0 for a
// list that was never sized, then nothing follows; else 1), Long element count, Long lower
// bound (always 0), then the elements field by field. Lists are written exactly as they are
// in memory, spare elements included, so reading a file and writing it again gives the same
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/airport_records.h"
#include "core/file_system.h"
#include "core/mapped_file.h"
#include "data/data_file_names.h"

namespace orv {

struct Program_State;

// The smallest encodings: what a file must hold at least per record or element. An airport
// record with empty texts and five never-sized lists is 64 bytes.
inline constexpr size_t MIN_AIRPORT_BYTES = 64;
inline constexpr size_t MIN_RUNWAY_BYTES = 52;
inline constexpr size_t MIN_ILS_BYTES = 22;
inline constexpr size_t MIN_TAXI_POINT_BYTES = 20;
inline constexpr size_t MIN_PARKING_BYTES = 22;
inline constexpr size_t MIN_TAXI_PATH_BYTES = 14;
inline constexpr size_t MIN_TEXT_BYTES = 2;

// Records 0 .. count of `airports` (the used ones and the spare). An entry missing from a list
// shorter than count + 1 is written as an empty record, so the file always holds count + 1.
std::vector<uint8_t> Encode_Airports(std::span<const Airport_Entry> airports, int32_t count);

// Texts 0 .. count of `files`, an empty text for any the list lacks.
std::vector<uint8_t> Encode_Airspace_List(std::span<const std::string> files, int32_t count);

// The outcome of decoding one file. On failure `error` says what is wrong and where, and the
// output list is left untouched.
struct Decode_Result {
  bool ok = false;
  std::string error;
};

// Decodes exactly count + 1 airport records filling the whole of `bytes` into `airports`. Fails
// on a negative count, a text or list running past the end, a negative length or element
// count, a list block with dims other than 0 or 1 or a lower bound other than 0, a list count
// that does not match its list (runways and ils: never sized with count 0, or count + 1
// elements; the taxiway lists: exactly count elements), and bytes left after the last record.
Decode_Result Decode_Airports(std::span<const uint8_t> bytes, int32_t count,
                              std::vector<Airport_Entry>& airports);

// What the airport list, the tool's fetch and the nearest search need of an airport record
// without its detail: the parts of its item text, where the record starts in the file, and its
// reference point.
struct Airport_Index_Entry {
  std::string ident;
  std::string name;
  size_t offset = 0;
  double lat = 0.0;
  double lon = 0.0;
};

// The database file held in memory with one index entry per used airport (the spare is not
// indexed), for the subcommands that list the airports or fetch one of them.
struct Airport_Index {
  Mapped_File bytes;
  std::vector<Airport_Index_Entry> entries;
};

// The same checks as Decode_Airports over the whole of `bytes`, keeping only the index.
Decode_Result Decode_Airport_Index(std::span<const uint8_t> bytes, int32_t count,
                                   std::vector<Airport_Index_Entry>& entries);

// Decodes the one airport record at `offset` (an offset the index gave) into `airport`.
Decode_Result Decode_Airport_At(std::span<const uint8_t> bytes, size_t offset,
                                Airport_Entry& airport);

// Decodes exactly count + 1 texts filling the whole of `bytes` into `files`.
Decode_Result Decode_Airspace_List(std::span<const uint8_t> bytes, int32_t count,
                                   std::vector<std::string>& files);

// Writes airports (airport_count + 1 records) to all_fs_airports.dat in the working folder,
// through a temporary name.
Write_Result Write_Airport_File(const Program_State& st);

// Writes airspace_files (airspace_file_count + 1 texts) to world_airspaces.lst.
Write_Result Write_Airspace_List(const Program_State& st);

enum class Database_Status : uint8_t {
  ok,
  missing,  // a file cannot be opened
  damaged,  // a file does not hold what the counts of the settings describe
};

struct Database_Load {
  Database_Status status = Database_Status::ok;
  std::string error;  // for the user: which file and what is wrong with it
};

// Reads all_fs_airports.dat into airports using airport_count. Anything but ok releases both
// database lists to their single spare element and sets both counts to 0, so that nothing
// walks a list that was not read.
Database_Load Load_Airport_File(Program_State& st);

// Reads world_airspaces.lst into airspace_files using airspace_file_count, with the same
// release on failure.
Database_Load Load_Airspace_List(Program_State& st);

// Both of the above, the airport file first; stops at the first failure.
Database_Load Load_Database(Program_State& st);

// Load_Database with the airport file read into `index` instead of airports (which stays at
// its spare), with the same checks, messages and release on failure.
Database_Load Load_Database_Index(Program_State& st, Airport_Index& index);

// One list item per used airport: ident, " (", name, ")". The spare entry is never listed.
std::vector<std::string> Add_Airport_Items(const Program_State& st);

}  // namespace orv
