#include "data/database_files.h"

#include <algorithm>
#include <concepts>
#include <limits>
#include <type_traits>

#include "core/program_state.h"
#include "data/record_io.h"

namespace orv {
namespace {

// ---- The record layouts, each stated once for the writer and the reader ----

template <typename R, typename Record>
concept Record_Of = std::same_as<std::remove_const_t<R>, Record>;

template <typename Io, Record_Of<Runway_Rec> R>
void Fields(Io& io, R& r) {
  io(r.end1_name, r.end2_name, r.end1_lat, r.end1_lon, r.end2_lat, r.end2_lon, r.elev_ft,
     r.end1_mag_hdg, r.end2_mag_hdg, r.length_ft, r.width_ft);
}

template <typename Io, Record_Of<Ils_Rec> R>
void Fields(Io& io, R& r) {
  io(r.ident, r.lat, r.lon, r.mag_hdg, r.freq);
}

template <typename Io, Record_Of<Taxi_Point> R>
void Fields(Io& io, R& r) {
  io(r.kind, r.lat, r.lon);
}

template <typename Io, Record_Of<Parking_Rec> R>
void Fields(Io& io, R& r) {
  io(r.label, r.lat, r.lon, r.radius_ft);
}

template <typename Io, Record_Of<Taxi_Path> R>
void Fields(Io& io, R& r) {
  io(r.kind, r.start_pt, r.end_pt, r.label);
}

// How a list of an airport is checked when read: the least bytes an element takes, its name
// and its count's for messages, and whether it keeps a spare element after its used ones.
struct List_Format {
  size_t min_bytes;
  const char* name;
  const char* count_name;
  bool spare;
};

inline constexpr List_Format kRunways{MIN_RUNWAY_BYTES, "runway", "runway_count", true};
inline constexpr List_Format kIls{MIN_ILS_BYTES, "ils", "ils_count", true};
inline constexpr List_Format kTaxiPoints{MIN_TAXI_POINT_BYTES, "taxi point", "taxi_point_count",
                                         false};
inline constexpr List_Format kParkings{MIN_PARKING_BYTES, "parking", "parking_count", false};
inline constexpr List_Format kTaxiPaths{MIN_TAXI_PATH_BYTES, "taxi path", "taxi_path_count", false};

// An airport record: its fields, then each list block followed by its count.
template <typename Io, Record_Of<Airport_Entry> A>
void Fields(Io& io, A& a) {
  io(a.ident, a.name, a.lat, a.lon, a.freq7, a.freq5, a.freq6, a.freq9, a.freq8, a.freq10, a.freq1);
  io.List(a.runways, a.runway_count, kRunways);
  io.List(a.ils, a.ils_count, kIls);
  io.List(a.taxi_points, a.taxi_point_count, kTaxiPoints);
  io.List(a.parkings, a.parking_count, kParkings);
  io.List(a.taxi_paths, a.taxi_path_count, kTaxiPaths);
}

// ---- Writing ----

// The record writer with the list blocks of the database. An empty list is one that was never
// sized: dims 0 and nothing more.
struct Database_Writer : Record_Writer {
  template <typename T>
  void List(const std::vector<T>& list, int32_t count, const List_Format&) {
    if (list.empty()) {
      (*this)(int16_t{0});
    } else {
      (*this)(int16_t{1}, static_cast<int32_t>(list.size()), int32_t{0});
      for (const T& element : list) Fields(*this, element);
    }
    (*this)(count);
  }
};

void Put_Airport(Byte_Writer& out, const Airport_Entry& a) {
  Database_Writer writer{{out}};
  Fields(writer, a);
}

// Records 0 .. count, an empty one for any the list lacks, handed to `piece` whenever some
// hundred kilobytes are encoded and once at the end.
template <typename Piece>
void Encode_Airports_In_Pieces(std::span<const Airport_Entry> airports, int32_t count,
                               Byte_Writer& out, const Piece& piece) {
  constexpr size_t kPiece = size_t{1} << 18;
  const Airport_Entry empty;
  for (int64_t i = 0; i <= int64_t{count}; ++i) {
    const auto index = static_cast<size_t>(i);
    Put_Airport(out, index < airports.size() ? airports[index] : empty);
    if (out.size() >= kPiece) piece(out);
  }
  piece(out);
}

// ---- Reading ----

template <typename T>
void Get_Element(Cursor& in, T& element) {
  Record_Reader reader{in};
  Fields(reader, element);
}

// A list block. The element count is checked against the bytes left (each element needs at
// least min_bytes) before anything is allocated for it. Returns the number of elements (0 for
// a list never sized); the elements go into `list` when one is given, else they are only
// checked, one at a time, through a single scratch element.
template <typename T>
size_t Get_List(Cursor& in, size_t min_bytes, const char* name, std::vector<T>* list) {
  if (list != nullptr) list->clear();
  const size_t at = in.pos();
  const int16_t dims = in.Integer();
  if (!in.ok() || dims == 0) return 0;
  if (dims != 1) {
    in.Fail_At(at, std::string(name) + " list with " + std::to_string(dims) + " dimensions");
    return 0;
  }
  const int32_t n = in.Long();
  const int32_t lower = in.Long();
  if (!in.ok()) return 0;
  if (n < 0) {
    in.Fail_At(at, std::string(name) + " list of " + std::to_string(n) + " elements");
    return 0;
  }
  if (lower != 0) {
    in.Fail_At(at, std::string(name) + " list starting at index " + std::to_string(lower));
    return 0;
  }
  // An empty list is always written as never sized, so a sized list of no elements is not a
  // list this program wrote (and could not be written back the same).
  if (n == 0) {
    in.Fail_At(at, std::string(name) + " list sized with no elements");
    return 0;
  }
  if (static_cast<size_t>(n) > in.Remaining() / min_bytes) {
    in.Fail_At(at, std::string(name) + " list of " + std::to_string(n) +
                       " elements runs past the end of the file");
    return 0;
  }
  const auto size = static_cast<size_t>(n);
  if (list == nullptr) {
    T scratch;
    for (size_t i = 0; i < size && in.ok(); ++i) Get_Element(in, scratch);
    return size;
  }
  list->resize(size);
  for (T& element : *list) {
    Get_Element(in, element);
    if (!in.ok()) break;
  }
  return size;
}

// runways and ils: never sized with a count of 0, or one spare element after count used ones.
bool Spare_List_Matches(size_t size, int32_t count) {
  if (size == 0) return count == 0;
  return count >= 0 && static_cast<size_t>(count) + 1 == size;
}

bool Exact_List_Matches(size_t size, int32_t count) {
  return count >= 0 && static_cast<size_t>(count) == size;
}

void Check_Count(Cursor& in, size_t at, bool matches, const char* name, int32_t count,
                 size_t size) {
  if (!in.ok() || matches) return;
  in.Fail_At(at, std::string(name) + " " + std::to_string(count) + " does not match a list of " +
                     std::to_string(size) + " elements");
}

// One list block and the count after it, checked against each other.
template <typename T>
void Get_Counted_List(Cursor& in, size_t min_bytes, const char* name, const char* count_name,
                      bool spare, std::vector<T>* list, int32_t& count) {
  const size_t at = in.pos();
  const size_t size = Get_List(in, min_bytes, name, list);
  count = in.Long();
  const bool matches = spare ? Spare_List_Matches(size, count) : Exact_List_Matches(size, count);
  Check_Count(in, at, matches, count_name, count, size);
}

// The record reader with the database's checked list blocks. With keep_lists false the lists
// are checked but not kept.
struct Database_Reader : Record_Reader {
  bool keep_lists = true;
  template <typename T>
  void List(std::vector<T>& list, int32_t& count, const List_Format& format) {
    Get_Counted_List(in, format.min_bytes, format.name, format.count_name, format.spare,
                     keep_lists ? &list : nullptr, count);
  }
};

void Get_Airport(Cursor& in, Airport_Entry& a, bool keep_lists = true) {
  Database_Reader reader{{in}, keep_lists};
  Fields(reader, a);
}

// count + 1 entries, checked against the bytes there before anything is allocated.
bool Check_Entry_Count(Cursor& in, int32_t count, size_t min_bytes, const char* what) {
  if (count < 0) {
    in.Fail_At(
        0, "the settings give a negative " + std::string(what) + " count " + std::to_string(count));
    return false;
  }
  const uint64_t entries = uint64_t{static_cast<uint32_t>(count)} + 1;
  if (entries > in.Remaining() / min_bytes) {
    in.Fail_At(0, "the file is " + std::to_string(in.Remaining()) + " bytes long, too short for " +
                      std::to_string(entries) + " " + what + " entries");
    return false;
  }
  return true;
}

// Files are written whole, so bytes beyond the last entry mean the counts in the settings do
// not describe this file (for example counts never written back after a build).
void Check_Fully_Used(Cursor& in) {
  if (in.ok() && in.Remaining() != 0) {
    in.Fail(std::to_string(in.Remaining()) + " bytes follow the last entry");
  }
}

Decode_Result Result_Of(const Cursor& in) {
  return {in.ok(), in.error()};
}

void Release_Database(Program_State& st) {
  Release_To_Spare(st.airports);
  Release_To_Spare(st.airspace_files);
  st.airport_count = 0;
  st.airspace_file_count = 0;
}

// Database files are limited to what 32-bit counts of minimal records can describe.
constexpr uint64_t kMaxDatabaseBytes = uint64_t{1} << 36;

// Holds the file `name` of the working folder in `bytes` and decodes it.
template <typename Decode>
Database_Load Load_File(Program_State& st, const char* name, Mapped_File& bytes,
                        const Decode& decode) {
  const std::filesystem::path path = Data_File_Path(st.work_dir, name);
  if (bytes.Open(path, kMaxDatabaseBytes) != Read_Status::ok) {
    Release_Database(st);
    return {Database_Status::missing, "cannot read " + path.string()};
  }
  const Decode_Result result = decode(bytes.Bytes());
  if (!result.ok) {
    Release_Database(st);
    return {Database_Status::damaged, path.string() + " is damaged, " + result.error};
  }
  return {};
}

}  // namespace

std::vector<uint8_t> Encode_Airports(std::span<const Airport_Entry> airports, int32_t count) {
  Byte_Writer out;
  Encode_Airports_In_Pieces(airports, count, out, [](Byte_Writer&) {});
  return out.Take();
}

std::vector<uint8_t> Encode_Airspace_List(std::span<const std::string> files, int32_t count) {
  Byte_Writer out;
  const std::string empty;
  for (int64_t i = 0; i <= int64_t{count}; ++i) {
    const auto index = static_cast<size_t>(i);
    Put_Field(out, index < files.size() ? files[index] : empty);
  }
  return out.Take();
}

Decode_Result Decode_Airports(std::span<const uint8_t> bytes, int32_t count,
                              std::vector<Airport_Entry>& airports) {
  Cursor in(bytes);
  if (!Check_Entry_Count(in, count, MIN_AIRPORT_BYTES, "airport")) return Result_Of(in);
  std::vector<Airport_Entry> read(static_cast<size_t>(count) + 1);
  for (size_t i = 0; i < read.size() && in.ok(); ++i) {
    Get_Airport(in, read[i]);
    if (!in.ok()) in.Add_Context("airport record " + std::to_string(i));
  }
  Check_Fully_Used(in);
  if (in.ok()) airports = std::move(read);
  return Result_Of(in);
}

Decode_Result Decode_Airport_Index(std::span<const uint8_t> bytes, int32_t count,
                                   std::vector<Airport_Index_Entry>& entries) {
  Cursor in(bytes);
  if (!Check_Entry_Count(in, count, MIN_AIRPORT_BYTES, "airport")) return Result_Of(in);
  std::vector<Airport_Index_Entry> read(static_cast<size_t>(count));
  Airport_Entry scratch;
  for (size_t i = 0; i <= read.size() && in.ok(); ++i) {
    const size_t offset = in.pos();
    Get_Airport(in, scratch, false);
    if (!in.ok()) in.Add_Context("airport record " + std::to_string(i));
    if (i < read.size()) {
      read[i] = {std::move(scratch.ident), std::move(scratch.name), offset, scratch.lat,
                 scratch.lon};
    }
  }
  Check_Fully_Used(in);
  if (in.ok()) entries = std::move(read);
  return Result_Of(in);
}

Decode_Result Decode_Airport_At(std::span<const uint8_t> bytes, size_t offset,
                                Airport_Entry& airport) {
  Cursor in(bytes.subspan(std::min(offset, bytes.size())));
  Airport_Entry read;
  Get_Airport(in, read);
  if (in.ok()) airport = std::move(read);
  return Result_Of(in);
}

Decode_Result Decode_Airspace_List(std::span<const uint8_t> bytes, int32_t count,
                                   std::vector<std::string>& files) {
  Cursor in(bytes);
  if (!Check_Entry_Count(in, count, MIN_TEXT_BYTES, "airspace file")) return Result_Of(in);
  std::vector<std::string> read(static_cast<size_t>(count) + 1);
  for (size_t i = 0; i < read.size() && in.ok(); ++i) {
    read[i] = in.Text();
    if (!in.ok()) in.Add_Context("airspace file entry " + std::to_string(i));
  }
  Check_Fully_Used(in);
  if (in.ok()) files = std::move(read);
  return Result_Of(in);
}

Write_Result Write_Airport_File(const Program_State& st) {
  // Encoded a few hundred kilobytes at a time into one reused buffer: the same bytes as
  // Encode_Airports without holding the whole file in memory beside the airports.
  return Write_File_Safely_From(
      Data_File_Path(st.work_dir, DATABASE_FILE), [&st](const Byte_Sink& sink) {
        Byte_Writer out;
        Encode_Airports_In_Pieces(st.airports, st.airport_count, out, [&sink](Byte_Writer& piece) {
          sink(piece.Bytes());
          piece.Clear();
        });
      });
}

Write_Result Write_Airspace_List(const Program_State& st) {
  return Write_File_Safely(Data_File_Path(st.work_dir, AIRSPACE_LIST_FILE),
                           Encode_Airspace_List(st.airspace_files, st.airspace_file_count));
}

Database_Load Load_Airport_File(Program_State& st) {
  Mapped_File bytes;
  return Load_File(st, DATABASE_FILE, bytes, [&st](std::span<const uint8_t> file) {
    return Decode_Airports(file, st.airport_count, st.airports);
  });
}

Database_Load Load_Airspace_List(Program_State& st) {
  Mapped_File bytes;
  return Load_File(st, AIRSPACE_LIST_FILE, bytes, [&st](std::span<const uint8_t> file) {
    return Decode_Airspace_List(file, st.airspace_file_count, st.airspace_files);
  });
}

Database_Load Load_Database(Program_State& st) {
  Database_Load load = Load_Airport_File(st);
  if (load.status != Database_Status::ok) return load;
  return Load_Airspace_List(st);
}

Database_Load Load_Database_Index(Program_State& st, Airport_Index& index) {
  Database_Load load =
      Load_File(st, DATABASE_FILE, index.bytes, [&](std::span<const uint8_t> file) {
        return Decode_Airport_Index(file, st.airport_count, index.entries);
      });
  if (load.status != Database_Status::ok) return load;
  Release_To_Spare(st.airports);
  return Load_Airspace_List(st);
}

std::vector<std::string> Add_Airport_Items(const Program_State& st) {
  std::vector<std::string> items;
  const size_t used = st.airports.empty() ? 0 : st.airports.size() - 1;
  const size_t count = std::min(static_cast<size_t>(std::max(st.airport_count, 0)), used);
  items.reserve(count);
  for (size_t i = 0; i < count; ++i) items.push_back(Airport_Item_Text(st.airports[i]));
  return items;
}

}  // namespace orv
