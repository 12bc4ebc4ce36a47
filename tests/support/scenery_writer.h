// The project's own writer of simulator scenery: compiled scenery files (airport index, airport
// detail with runways, navaids, frequencies and taxiways, airspace boundaries), the magnetic
// variation grid, and whole simulator folders with scenery.cfg and scenery areas.
//
// Every byte is laid down from the file formats the program reads, so a test reads like a
// description of the airport it builds:
//
//   Built_File f = Bgl_File()
//       .Add(Airport("KSEA")
//                .Reference(47.449, -122.309)
//                .Name("Seattle-Tacoma Intl")
//                .Frequency(7, "118.3")
//                .Runway({.lat = 47.45, .lon = -122.31, .true_heading = 180, .length_ft = 11900,
//                         .width_ft = 150, .side = 2, .number = 16})
//                .Ils({.lat = 47.43, .lon = -122.31, .true_course = 180, .frequency = "110.3",
//                      .ident = "ISEA"}))
//       .Build();
//
// Records are written in the order they are added, and the builders accept odd input on
// purpose (unknown record types, wrong kinds, counts and sizes, header values) so that tests can
// build damaged files. Build() reports where everything went, so a test can corrupt a file at an
// exact place (Patch_Long, a truncation) and assert what survives.
//
// Mistakes in the test's own input (a name longer than its field, a frequency that is not a
// number) throw std::invalid_argument, which GoogleTest reports as a failure of that test.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scenery/bgl_image.h"

namespace orv::scenery_writer {

// ---- Value encoders --------------------------------------------------------------------------

// Latitude in scenery units of 90/10001750 degree, rounded halves to even.
int32_t Lat_Value(double degrees);

// Longitude in units of 360/2^32 degree as a wrapped signed 32-bit value (180 east and 180 west
// both give INT32_MIN).
int32_t Lon_Value(double degrees);

// A true heading or course on the same scale as a longitude: 270 degrees gives a negative value.
int32_t Heading_Value(double degrees);

// The position a reader gets back from a written latitude or longitude: the file keeps about
// one metre of latitude (90/10001750 degree), so expected values should come from here.
double Stored_Lat(double degrees);
double Stored_Lon(double degrees);

// Frequency text in megahertz ("118.3", "121", "118.375") as binary-coded decimal of
// MHz x 10000: "118.3" gives 0x01183000. At most 4 decimals and 4 whole digits.
int32_t Bcd_Frequency(std::string_view mhz);

// The 32-bit pattern of a single-precision float.
uint32_t Float_Bits(float value);

// Packed parking identity: name code in bits 0-6, number in bits 7-19, parking type in bits
// 20-23. Values that do not fit their bits throw.
uint32_t Parking_Identity(int32_t code, int32_t number, int32_t type = 0);

// Magnetic variation in grid units of 360/65536 degree, east positive, rounded halves to even.
int16_t Mag_Var_Units(double degrees_east);

// ---- Bytes -------------------------------------------------------------------------------------

// A growing little-endian byte buffer.
class Byte_Buffer {
 public:
  // A 32-bit value; anything from INT32_MIN to UINT32_MAX, so 0x87654321 can be written as is.
  Byte_Buffer& Long(int64_t value);
  Byte_Buffer& Word(int32_t value);  // 16 bits, -32768..65535
  Byte_Buffer& Byte(int32_t value);  // 8 bits, -128..255
  Byte_Buffer& Float(float value);
  Byte_Buffer& Text(std::string_view text);                // the bytes as they are
  Byte_Buffer& Text(std::string_view text, size_t width);  // padded with zero bytes to width
  Byte_Buffer& Zeros(size_t count);
  Byte_Buffer& Append(std::span<const uint8_t> bytes);

  void Patch_Long(size_t at, int64_t value);

  size_t size() const { return bytes.size(); }
  std::vector<uint8_t> bytes;
};

// In-place changes of a built file, for corrupting it on purpose. Writing outside the bytes
// throws.
void Patch_Long(std::vector<uint8_t>& bytes, int64_t at, int64_t value);
void Patch_Word(std::vector<uint8_t>& bytes, int64_t at, int32_t value);
void Patch_Byte(std::vector<uint8_t>& bytes, int64_t at, int32_t value);

// ---- Record types ------------------------------------------------------------------------------

inline constexpr int32_t BLOCK_AIRPORT_INDEX = 0x30001;
inline constexpr int32_t RECORD_AIRPORT_INDEX = 0x30002;
inline constexpr int32_t AIRPORT_KIND = 0x50001;
inline constexpr int32_t RECORD_REFERENCE = 0x10001;
inline constexpr int32_t RECORD_RUNWAY = 0x10002;
inline constexpr int32_t RECORD_SKIPPED_3 = 0x10003;
inline constexpr int32_t RECORD_NAVAID = 0x10004;
inline constexpr int32_t RECORD_SKIPPED_5 = 0x10005;
inline constexpr int32_t RECORD_NAME = 0x10006;
inline constexpr int32_t RECORD_TAXIWAY = 0x11001;
inline constexpr int32_t RECORD_FREQUENCY = 0x20001;
inline constexpr int32_t NAVAID_ILS = 4;

// The type of the record written after the last record of an airport detail, of the airport
// section and of the airspace section: a type no reader knows.
inline constexpr int32_t RECORD_END = 0;

inline constexpr int32_t SPACE_LIST = 1;
inline constexpr int32_t SPACE_SKIPPED = 0x00030001;
inline constexpr int32_t SPACE_CONTAINER_SUBTYPE = 4;
inline constexpr int32_t SPACE_GROUP_SUBTYPE = 5;
inline constexpr int32_t SPACE_BOX = 0x0001000B;
inline constexpr int32_t SPACE_NAME = 0x00010006;
inline constexpr int32_t SPACE_FREQUENCY = 0x00020001;
inline constexpr int32_t SPACE_CENTER = 0x00012001;
inline constexpr int32_t SPACE_START = 0x00012002;
inline constexpr int32_t SPACE_SKIP = 0x00012003;
inline constexpr int32_t SPACE_END_GROUP = 0x00012004;
inline constexpr int32_t SPACE_LINE = 0x00012005;
inline constexpr int32_t SPACE_ARC_CW = 0x00012006;
inline constexpr int32_t SPACE_ARC_CCW = 0x00012007;
inline constexpr int32_t SPACE_CIRCLE = 0x00012008;

// Header fields.
inline constexpr int64_t HEADER_SIGNATURE = 118;
inline constexpr int64_t HEADER_VERSION = 144;
inline constexpr int64_t HEADER_AIRPORTS = 156;
inline constexpr int64_t HEADER_AIRSPACES = 164;
inline constexpr int64_t DEFAULT_HEADER_SIZE = 176;
inline constexpr int32_t DEFAULT_GRID_OFFSET = 128;

// ---- Layout of a built file (absolute file offsets) --------------------------------------------

// Where one record went, with its type (the id of an airspace level-3 record).
struct Record_Place {
  int32_t type = 0;
  int64_t offset = 0;
};

struct Taxiway_Layout {
  int64_t record = 0;                // R: the 0x11001 record
  std::vector<int64_t> sub_records;  // S of each sub-record header, in order; elements at S + 8
};

struct Airport_Layout {
  int32_t block = 0;                  // index of the block holding the index record
  int64_t index_record = 0;           // R of the 0x30002 record
  int64_t detail = 0;                 // D: where the detail header was written
  std::vector<Record_Place> records;  // every detail record, in order, the end record excluded
  std::vector<Taxiway_Layout> taxiways;
  int64_t end_record = -1;  // the record that ends the detail; -1 when none was written

  // Offset of the nth record (from 0) of a type; throws when there is none.
  int64_t Record(int32_t type, size_t nth = 0) const;
};

struct Block_Layout {
  int64_t offset = 0;                 // B
  std::vector<Record_Place> records;  // every record of the block, index records and raw ones
};

struct Group_Layout {
  int64_t offset = 0;                 // g: the level-2 record; level-3 records from g + 16
  std::vector<Record_Place> records;  // every level-3 record, by id
};

struct Container_Layout {
  int64_t offset = 0;                 // the level-1 record; level-2 list from offset + 16
  std::vector<Record_Place> records;  // every level-2 record (groups and raw ones)
  std::vector<Group_Layout> groups;
};

struct Bgl_Layout {
  int64_t airport_section = 0;   // A, 0 when the file has none
  int64_t airspace_section = 0;  // S, 0 when the file has none
  std::vector<Block_Layout> blocks;
  std::vector<Airport_Layout> airports;        // in file order: blocks in order, records in order
  int64_t airport_section_end = -1;            // the non-index block that ends the section; -1 none
  std::vector<Record_Place> airspace_records;  // every level-1 record
  std::vector<Container_Layout> containers;
  int64_t airspace_section_end = -1;  // the unknown record that ends the section; -1 none
};

struct Built_File {
  std::vector<uint8_t> bytes;
  Bgl_Layout layout;

  Bgl_Image Image() const;  // the bytes as the program's in-memory image
  void Write(const std::filesystem::path& path) const;
};

// ---- Airport detail ----------------------------------------------------------------------------

// A runway record: centre, elevation in whole metres, true heading of the primary end, length
// and width in feet, side code of the primary end (0 none, 1 L, 2 R, 3 C, 4 H) and its number.
struct Runway_Spec {
  double lat = 0.0;
  double lon = 0.0;
  int32_t elevation_m = 0;
  double true_heading = 0.0;
  int32_t length_ft = 0;
  int32_t width_ft = 0;
  int32_t side = 0;
  int32_t number = 0;
};

// A navaid record; kind 4 is an ILS. `frequency_bcd`, when set, is written instead of the text.
struct Navaid_Spec {
  double lat = 0.0;
  double lon = 0.0;
  double true_course = 0.0;
  std::string frequency = "110.3";
  std::optional<int32_t> frequency_bcd = std::nullopt;
  int32_t kind = NAVAID_ILS;
  std::string ident = {};  // written as given (size - 48 bytes at +56); add zero bytes to pad
};

// Taxiway point: a type code and metres east (x) and north (y) of the reference point.
struct Taxi_Point_Spec {
  int32_t kind = 0;
  float x = 0.0f;
  float y = 0.0f;
};

// Parking place: metres east and north, radius in metres, packed identity (Parking_Identity).
struct Parking_Spec {
  float x = 0.0f;
  float y = 0.0f;
  float radius = 0.0f;
  uint32_t identity = 0;
};

// Path segment: kind (0 taxiway, 1 runway, 2 to a parking place), the two point indexes and the
// name number (a taxiway name index or a runway index).
struct Path_Spec {
  int32_t kind = 0;
  int32_t start = 0;
  int32_t end = 0;
  int32_t name = 0;
};

// One taxiway record (0x11001): its sub-records in the order added.
class Taxiway_Record {
 public:
  Taxiway_Record& Points(const std::vector<Taxi_Point_Spec>& points);
  Taxiway_Record& Parkings(const std::vector<Parking_Spec>& parkings);
  Taxiway_Record& Paths(const std::vector<Path_Spec>& paths);
  // Each name fills an 8-byte element, padded with zero bytes; a longer name throws.
  Taxiway_Record& Names(const std::vector<std::string>& names);
  // Any sub-record: count n, element size e, and the element bytes as given.
  Taxiway_Record& Sub_Record(int32_t n, int32_t e, const std::vector<uint8_t>& elements = {});
  // Bytes inside the record after the sub-records (counted in its size).
  Taxiway_Record& Tail(const std::vector<uint8_t>& bytes);
  // Writes this value in the record's size field instead of the true size.
  Taxiway_Record& Size_Field(int32_t size);

  // The whole record and the sub-record offsets within it.
  std::vector<uint8_t> Bytes(std::vector<int64_t>* sub_offsets = nullptr) const;

 private:
  Byte_Buffer body_;
  std::vector<int64_t> subs_;  // offsets within the body
  std::optional<int32_t> size_;
};

// One airport: its index record and its detail.
class Airport {
 public:
  explicit Airport(std::string ident);

  // Detail records, written in the order called.
  Airport& Reference(double lat, double lon);
  Airport& Name(std::string_view name);
  Airport& Frequency(int32_t type, std::string_view mhz);
  Airport& Frequency_Bcd(int32_t type, int32_t value);
  Airport& Runway(const Runway_Spec& runway);
  Airport& Navaid(const Navaid_Spec& navaid);
  Airport& Ils(const Navaid_Spec& ils);  // a navaid of kind 4, whatever its `kind` says
  Airport& Taxiway(const Taxiway_Record& taxiway);
  // Any record: the type, then the payload size (or `size` when given), then the payload.
  Airport& Raw_Record(int32_t type, const std::vector<uint8_t>& payload = {},
                      std::optional<int32_t> size = std::nullopt);

  // The record that ends the detail: type RECORD_END by default, another type, or none.
  Airport& End_Record(int32_t type);
  Airport& No_End_Record();

  // Index record and detail header.
  Airport& Kind(int32_t kind);        // 0x50001 unless told
  Airport& Detail_Offset(int32_t d);  // written as D instead of where the detail went
  Airport& Detail_Header(int32_t h0, int32_t h1, int32_t h2, int32_t h3);  // 1, 0, 1, 0
  Airport& Index_Size(int32_t size);  // the index record's size field (ident length + 8)

 private:
  friend class Bgl_File;
  struct Item {
    int32_t type = 0;
    std::vector<uint8_t> bytes;        // the whole record
    std::vector<int64_t> sub_offsets;  // taxiway sub-records, relative to the record
    bool taxiway = false;
  };
  Airport& Add_Item(Item item);

  std::string ident_;
  std::vector<Item> items_;
  std::optional<int32_t> end_type_ = RECORD_END;
  int32_t kind_ = AIRPORT_KIND;
  std::optional<int32_t> detail_offset_;
  std::array<int32_t, 4> header_ = {1, 0, 1, 0};
  std::optional<int32_t> index_size_;
};

// One block of the airport section: index records (with their airports) and raw records.
class Airport_Block {
 public:
  Airport_Block& Add(const Airport& airport);
  Airport_Block& Raw_Record(int32_t type, const std::vector<uint8_t>& payload = {},
                            std::optional<int32_t> size = std::nullopt);
  Airport_Block& Count(int32_t n);    // the n field; records - 1 unless told
  Airport_Block& Type(int32_t type);  // 0x30001 unless told
  Airport_Block& Size_Field(int32_t size);

 private:
  friend class Bgl_File;
  struct Entry {
    std::optional<Airport> airport;
    int32_t type = 0;
    std::vector<uint8_t> payload;
    std::optional<int32_t> size;
  };
  std::vector<Entry> entries_;
  std::optional<int32_t> count_;
  int32_t type_ = BLOCK_AIRPORT_INDEX;
  std::optional<int32_t> size_;
};

// ---- Airspace ----------------------------------------------------------------------------------

// One airspace group (level 2, type 1, subtype 5) and its level-3 records in the order added.
class Airspace_Group {
 public:
  Airspace_Group& Box(double south, double west, double north, double east);
  Airspace_Group& Name(std::string_view name);
  Airspace_Group& Frequency(std::string_view mhz, std::string_view text);
  Airspace_Group& Frequency_Bcd(int32_t value, std::string_view text);
  Airspace_Group& Center(double lat, double lon);
  Airspace_Group& Start(double lat, double lon, int32_t low, int32_t high);
  Airspace_Group& Line(double lat, double lon);
  Airspace_Group& Arc_Cw(double lat, double lon);
  Airspace_Group& Arc_Ccw(double lat, double lon);
  Airspace_Group& Circle(int32_t radius, int32_t low, int32_t high);
  Airspace_Group& Skip();       // 0x00012003, read past
  Airspace_Group& End_Group();  // 0x00012004, ends the group
  Airspace_Group& Raw(int32_t id, const std::vector<uint8_t>& payload = {},
                      std::optional<int32_t> size = std::nullopt);

  Airspace_Group& Subtype(int32_t subtype);  // 5 unless told
  Airspace_Group& Size_Field(int32_t size);

 private:
  friend class Airspace_Container;
  friend class Bgl_File;
  Airspace_Group& Point(int32_t id, double lat, double lon);
  Byte_Buffer body_;
  std::vector<Record_Place> records_;  // offsets within the body
  int32_t subtype_ = SPACE_GROUP_SUBTYPE;
  std::optional<int32_t> size_;
};

// One airspace container (level 1, type 1, subtype 4): groups and other level-2 records.
class Airspace_Container {
 public:
  Airspace_Container& Add(const Airspace_Group& group);
  Airspace_Container& Skipped_Record(const std::vector<uint8_t>& payload = {});  // 0x00030001
  Airspace_Container& Raw(int32_t type, const std::vector<uint8_t>& payload = {},
                          std::optional<int32_t> size = std::nullopt);

  Airspace_Container& Subtype(int32_t subtype);  // 4 unless told
  Airspace_Container& Size_Field(int32_t size);

 private:
  friend class Bgl_File;
  struct Entry {
    std::optional<Airspace_Group> group;
    int32_t type = 0;
    std::vector<uint8_t> payload;
    std::optional<int32_t> size;
  };
  std::vector<Entry> entries_;
  int32_t subtype_ = SPACE_CONTAINER_SUBTYPE;
  std::optional<int32_t> size_;
};

// ---- One scenery file --------------------------------------------------------------------------

// Layout: header, airport section (blocks, then a block of type RECORD_END), airport details in
// airport order, airspace section (level-1 records, then a record of type RECORD_END), tail.
class Bgl_File {
 public:
  // Airports go into the last block, which is made when there is none yet.
  Bgl_File& Add(const Airport& airport);
  Bgl_File& Add(const Airport_Block& block);
  Bgl_File& Add(const Airspace_Container& container);
  Bgl_File& Airspace_Skipped_Record(const std::vector<uint8_t>& payload = {});  // 0x00030001
  Bgl_File& Airspace_Raw(int32_t type, const std::vector<uint8_t>& payload = {},
                         std::optional<int32_t> size = std::nullopt);

  // A section with nothing in it is still written (only its end record), and the header
  // points to it.
  Bgl_File& Empty_Airport_Section();
  Bgl_File& Empty_Airspace_Section();
  Bgl_File& No_Airport_Section_End();
  Bgl_File& No_Airspace_Section_End();

  // Header.
  Bgl_File& Signature(int64_t value);   // 0x87654321 unless told
  Bgl_File& Version(int32_t value);     // the value at 144; 1 unless told
  Bgl_File& Header_Size(int64_t size);  // at least 168
  // Any 32-bit value of the file, set after everything else is laid out (so it can override
  // the section offsets at 156 and 164).
  Bgl_File& Header_Long(int64_t offset, int64_t value);
  // Bytes after everything else.
  Bgl_File& Tail(const std::vector<uint8_t>& bytes);

  Built_File Build() const;

 private:
  std::vector<Airport_Block> blocks_;
  struct Space_Entry {
    std::optional<Airspace_Container> container;
    int32_t type = 0;
    std::vector<uint8_t> payload;
    std::optional<int32_t> size;
  };
  std::vector<Space_Entry> space_;
  bool empty_airports_ = false;
  bool empty_airspace_ = false;
  bool airport_end_ = true;
  bool airspace_end_ = true;
  int64_t signature_ = 0x87654321;
  int32_t version_ = 1;
  int64_t header_size_ = DEFAULT_HEADER_SIZE;
  std::vector<std::pair<int64_t, int64_t>> header_longs_;
  std::vector<uint8_t> tail_;
};

// ---- Magnetic variation grid -------------------------------------------------------------------

// magdec.bgl: the grid offset p at 110, then at p the grid's dimensions (Words 360 and 181, four
// zero bytes) and from p + 8 the 65161 values, index (lat + 90) + lon x 181, lon 0..359 east.
std::vector<uint8_t> Magdec_File(const std::function<int16_t(int lat, int lon)>& units,
                                 int32_t grid_offset = DEFAULT_GRID_OFFSET);
// From a whole table of 65161 values.
std::vector<uint8_t> Magdec_File(std::span<const int16_t> table,
                                 int32_t grid_offset = DEFAULT_GRID_OFFSET);

// ---- Simulator folder --------------------------------------------------------------------------

struct Named_File {
  std::string name = {};
  std::vector<uint8_t> bytes = {};
};

// One [Area.NNN] section of scenery.cfg and the scenery files of its folder. A key whose value is
// not set is not written.
struct Area_Spec {
  std::string title = {};
  std::string local = {};  // as written in scenery.cfg, e.g. "Scenery\\World" or an absolute path
  std::optional<std::string> active = "TRUE";
  std::optional<std::string> layer = std::nullopt;  // the area's number unless told
  std::optional<std::string> required = "FALSE";
  std::optional<std::string> remote = std::nullopt;
  std::optional<std::string> texture_id = std::nullopt;
  // The section header line; "[Area.001]" style from the area's number unless told.
  std::optional<std::string> header = std::nullopt;
  // Where the files go, relative to the simulator folder unless absolute; by default the folder
  // `local` names (with "\" read as a separator) plus "scenery" unless it already ends so.
  std::optional<std::filesystem::path> folder = std::nullopt;
  std::vector<Named_File> files = {};
  bool make_folder = true;  // false: the folder is not created (a missing area)
};

struct Sim_Paths {
  std::filesystem::path root;
  std::filesystem::path scenery_cfg;
  std::filesystem::path exe;                        // empty when none was written
  std::filesystem::path magdec;                     // empty when none was written
  std::vector<std::filesystem::path> area_folders;  // in area order (empty when not made)
};

class Sim_Folder {
 public:
  explicit Sim_Folder(std::filesystem::path root);

  Sim_Folder& Exe_Name(std::string name);  // "fs2002.exe" unless told, in any letter case
  Sim_Folder& No_Exe();
  Sim_Folder& General(std::vector<std::string> lines);  // the lines after [General]
  Sim_Folder& Area(Area_Spec area);
  Sim_Folder& Scenery_Cfg_Text(std::string text);  // written as is instead of the built text
  Sim_Folder& No_Scenery_Cfg();
  Sim_Folder& Line_End(std::string end);  // "\r\n" unless told
  Sim_Folder& Magdec(std::vector<uint8_t> bytes, std::string relative = "scenery/magdec.bgl");
  Sim_Folder& File(const std::filesystem::path& relative, std::vector<uint8_t> bytes);

  // The scenery.cfg text as it will be written.
  std::string Scenery_Cfg() const;
  Sim_Paths Write() const;

 private:
  std::filesystem::path root_;
  std::optional<std::string> exe_ = "fs2002.exe";
  std::vector<std::string> general_ = {"Title=FS2002 World Scenery",
                                       "Description=FS2002 Scenery Data", "Clean_on_Exit=TRUE"};
  std::vector<Area_Spec> areas_;
  std::optional<std::string> cfg_text_;
  bool write_cfg_ = true;
  std::string line_end_ = "\r\n";
  std::optional<std::pair<std::string, std::vector<uint8_t>>> magdec_;
  std::vector<std::pair<std::filesystem::path, std::vector<uint8_t>>> files_;
};

}  // namespace orv::scenery_writer
