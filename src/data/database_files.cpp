#include "data/database_files.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "core/program_state.h"

namespace orv {
namespace {

// ---- Writing ----

constexpr size_t kMaxText = std::numeric_limits<int16_t>::max();

// The bytes of a file being encoded: fields are written straight into room made ahead in large
// steps, so a field costs a store rather than the bookkeeping of a vector insert.
class Byte_Writer {
 public:
  std::span<const uint8_t> Bytes() const { return {bytes_.data(), used_}; }
  size_t size() const { return used_; }
  void Clear() { used_ = 0; }
  std::vector<uint8_t> Take() {
    bytes_.resize(used_);
    used_ = 0;
    return std::move(bytes_);
  }

  // The N low bytes of v, little-endian: one store on a little-endian machine.
  template <size_t N>
  void Put_Bytes(uint64_t v) {
    uint8_t* at = Room(N);
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(at, &v, N);
    } else {
      for (size_t i = 0; i < N; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
    }
  }

  void Put_Raw(const char* from, size_t n) {
    if (n > 0) std::memcpy(Room(n), from, n);
  }

 private:
  uint8_t* Room(size_t n) {
    if (bytes_.size() - used_ < n) bytes_.resize(std::max({2 * bytes_.size(), used_ + n, kFirst}));
    uint8_t* at = bytes_.data() + used_;
    used_ += n;
    return at;
  }

  static constexpr size_t kFirst = 4096;
  std::vector<uint8_t> bytes_;
  size_t used_ = 0;
};

void Put_Integer(Byte_Writer& out, int16_t value) {
  out.Put_Bytes<2>(static_cast<uint16_t>(value));
}

void Put_Long(Byte_Writer& out, int32_t value) {
  out.Put_Bytes<4>(static_cast<uint32_t>(value));
}

void Put_Double(Byte_Writer& out, double value) {
  out.Put_Bytes<8>(std::bit_cast<uint64_t>(value));
}

// Texts come from scenery reads limited to 32767 bytes; anything longer keeps its first 32767
// bytes, the most a length prefix can describe.
void Put_Text(Byte_Writer& out, const std::string& text) {
  const size_t n = std::min(text.size(), kMaxText);
  Put_Integer(out, static_cast<int16_t>(n));
  out.Put_Raw(text.data(), n);
}

void Put_Element(Byte_Writer& out, const Runway_Rec& r) {
  Put_Text(out, r.end1_name);
  Put_Text(out, r.end2_name);
  Put_Double(out, r.end1_lat);
  Put_Double(out, r.end1_lon);
  Put_Double(out, r.end2_lat);
  Put_Double(out, r.end2_lon);
  Put_Long(out, r.elev_ft);
  Put_Integer(out, r.end1_mag_hdg);
  Put_Integer(out, r.end2_mag_hdg);
  Put_Long(out, r.length_ft);
  Put_Long(out, r.width_ft);
}

void Put_Element(Byte_Writer& out, const Ils_Rec& r) {
  Put_Text(out, r.ident);
  Put_Double(out, r.lat);
  Put_Double(out, r.lon);
  Put_Integer(out, r.mag_hdg);
  Put_Text(out, r.freq);
}

void Put_Element(Byte_Writer& out, const Taxi_Point& r) {
  Put_Long(out, r.kind);
  Put_Double(out, r.lat);
  Put_Double(out, r.lon);
}

void Put_Element(Byte_Writer& out, const Parking_Rec& r) {
  Put_Text(out, r.label);
  Put_Double(out, r.lat);
  Put_Double(out, r.lon);
  Put_Long(out, r.radius_ft);
}

void Put_Element(Byte_Writer& out, const Taxi_Path& r) {
  Put_Long(out, r.kind);
  Put_Long(out, r.start_pt);
  Put_Long(out, r.end_pt);
  Put_Text(out, r.label);
}

// An empty list is one that was never sized: dims 0 and nothing more.
template <typename T>
void Put_List(Byte_Writer& out, const std::vector<T>& list) {
  if (list.empty()) {
    Put_Integer(out, 0);
    return;
  }
  Put_Integer(out, 1);
  Put_Long(out, static_cast<int32_t>(list.size()));
  Put_Long(out, 0);
  for (const T& element : list) Put_Element(out, element);
}

void Put_Airport(Byte_Writer& out, const Airport_Entry& a) {
  Put_Text(out, a.ident);
  Put_Text(out, a.name);
  Put_Double(out, a.lat);
  Put_Double(out, a.lon);
  Put_Text(out, a.freq7);
  Put_Text(out, a.freq5);
  Put_Text(out, a.freq6);
  Put_Text(out, a.freq9);
  Put_Text(out, a.freq8);
  Put_Text(out, a.freq10);
  Put_Text(out, a.freq1);
  Put_List(out, a.runways);
  Put_Long(out, a.runway_count);
  Put_List(out, a.ils);
  Put_Long(out, a.ils_count);
  Put_List(out, a.taxi_points);
  Put_Long(out, a.taxi_point_count);
  Put_List(out, a.parkings);
  Put_Long(out, a.parking_count);
  Put_List(out, a.taxi_paths);
  Put_Long(out, a.taxi_path_count);
}

// ---- Reading ----

// A cursor over the bytes of one database file. The first failure is kept with the byte
// offset where it happened; later reads give 0 or empty texts.
class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  size_t pos() const { return pos_; }
  size_t Remaining() const { return bytes_.size() - pos_; }

  void Fail(const std::string& what) { Fail_At(pos_, what); }
  void Fail_At(size_t at, const std::string& what) {
    if (ok()) error_ = "at byte " + std::to_string(at) + ": " + what;
  }
  // Names the entry in which the failure happened.
  void Add_Context(const std::string& where) {
    if (!ok()) error_ = where + ", " + error_;
  }

  int16_t Integer() { return static_cast<int16_t>(Unsigned(2)); }
  int32_t Long() { return static_cast<int32_t>(Unsigned(4)); }
  double Double() { return std::bit_cast<double>(Unsigned(8)); }

  std::string Text() {
    const size_t at = pos_;
    const int16_t n = Integer();
    if (!ok()) return {};
    if (n < 0) {
      Fail_At(at, "negative text length " + std::to_string(n));
      return {};
    }
    if (!Has(static_cast<size_t>(n))) return {};
    const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(pos_);
    std::string text(first, first + n);
    pos_ += static_cast<size_t>(n);
    return text;
  }

 private:
  bool Has(size_t n) {
    if (!ok()) return false;
    if (n > Remaining()) {
      Fail("the file ends " + std::to_string(n - Remaining()) + " bytes too early");
      return false;
    }
    return true;
  }

  uint64_t Unsigned(size_t n) {
    if (!Has(n)) return 0;
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= uint64_t{bytes_[pos_ + i]} << (8 * i);
    pos_ += n;
    return v;
  }

  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  std::string error_;
};

void Get_Element(Cursor& in, Runway_Rec& r) {
  r.end1_name = in.Text();
  r.end2_name = in.Text();
  r.end1_lat = in.Double();
  r.end1_lon = in.Double();
  r.end2_lat = in.Double();
  r.end2_lon = in.Double();
  r.elev_ft = in.Long();
  r.end1_mag_hdg = in.Integer();
  r.end2_mag_hdg = in.Integer();
  r.length_ft = in.Long();
  r.width_ft = in.Long();
}

void Get_Element(Cursor& in, Ils_Rec& r) {
  r.ident = in.Text();
  r.lat = in.Double();
  r.lon = in.Double();
  r.mag_hdg = in.Integer();
  r.freq = in.Text();
}

void Get_Element(Cursor& in, Taxi_Point& r) {
  r.kind = in.Long();
  r.lat = in.Double();
  r.lon = in.Double();
}

void Get_Element(Cursor& in, Parking_Rec& r) {
  r.label = in.Text();
  r.lat = in.Double();
  r.lon = in.Double();
  r.radius_ft = in.Long();
}

void Get_Element(Cursor& in, Taxi_Path& r) {
  r.kind = in.Long();
  r.start_pt = in.Long();
  r.end_pt = in.Long();
  r.label = in.Text();
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

// An airport record. With keep_lists false its five lists are checked but not kept.
void Get_Airport(Cursor& in, Airport_Entry& a, bool keep_lists = true) {
  a.ident = in.Text();
  a.name = in.Text();
  a.lat = in.Double();
  a.lon = in.Double();
  a.freq7 = in.Text();
  a.freq5 = in.Text();
  a.freq6 = in.Text();
  a.freq9 = in.Text();
  a.freq8 = in.Text();
  a.freq10 = in.Text();
  a.freq1 = in.Text();
  const auto kept = [keep_lists](auto& list) { return keep_lists ? &list : nullptr; };
  Get_Counted_List(in, MIN_RUNWAY_BYTES, "runway", "runway_count", true, kept(a.runways),
                   a.runway_count);
  Get_Counted_List(in, MIN_ILS_BYTES, "ils", "ils_count", true, kept(a.ils), a.ils_count);
  Get_Counted_List(in, MIN_TAXI_POINT_BYTES, "taxi point", "taxi_point_count", false,
                   kept(a.taxi_points), a.taxi_point_count);
  Get_Counted_List(in, MIN_PARKING_BYTES, "parking", "parking_count", false, kept(a.parkings),
                   a.parking_count);
  Get_Counted_List(in, MIN_TAXI_PATH_BYTES, "taxi path", "taxi_path_count", false,
                   kept(a.taxi_paths), a.taxi_path_count);
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
  const Airport_Entry empty;
  for (int64_t i = 0; i <= int64_t{count}; ++i) {
    const auto index = static_cast<size_t>(i);
    Put_Airport(out, index < airports.size() ? airports[index] : empty);
  }
  return out.Take();
}

std::vector<uint8_t> Encode_Airspace_List(std::span<const std::string> files, int32_t count) {
  Byte_Writer out;
  const std::string empty;
  for (int64_t i = 0; i <= int64_t{count}; ++i) {
    const auto index = static_cast<size_t>(i);
    Put_Text(out, index < files.size() ? files[index] : empty);
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
    if (i < read.size()) read[i] = {std::move(scratch.ident), std::move(scratch.name), offset};
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
  constexpr size_t kPiece = size_t{1} << 18;
  return Write_File_Safely_From(
      Data_File_Path(st.work_dir, DATABASE_FILE), [&st](const Byte_Sink& sink) {
        Byte_Writer piece;
        const Airport_Entry empty;
        for (int64_t i = 0; i <= int64_t{st.airport_count}; ++i) {
          const auto index = static_cast<size_t>(i);
          Put_Airport(piece, index < st.airports.size() ? st.airports[index] : empty);
          if (piece.size() >= kPiece) {
            sink(piece.Bytes());
            piece.Clear();
          }
        }
        sink(piece.Bytes());
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
