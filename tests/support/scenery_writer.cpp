#include "support/scenery_writer.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "support/temp_dir.h"

namespace orv::scenery_writer {
namespace {

[[noreturn]] void Bad(const std::string& what) {
  throw std::invalid_argument(what);
}

int32_t Whole_Long(double value, const char* what) {
  const double r = std::nearbyint(value);
  if (!(r >= INT32_MIN && r <= INT32_MAX)) Bad(std::string(what) + " out of range");
  return static_cast<int32_t>(r);
}

// degrees * 2^32 / 360, wrapped into 32 bits: the whole signed range covers one turn.
int32_t Turn_Value(double degrees, const char* what) {
  const double r = std::nearbyint(degrees * 4294967296.0 / 360.0);
  if (!(std::fabs(r) < 0x1p52)) Bad(std::string(what) + " out of range");
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(r)));
}

// A record: type, size (the payload's unless told), payload.
std::vector<uint8_t> Record(int32_t type, std::span<const uint8_t> payload,
                            std::optional<int32_t> size = std::nullopt) {
  Byte_Buffer out;
  out.Long(type).Long(size ? *size : static_cast<int64_t>(payload.size())).Append(payload);
  return std::move(out.bytes);
}

void Check_Range(const std::vector<uint8_t>& bytes, int64_t at, int64_t width) {
  if (at < 0 || width > static_cast<int64_t>(bytes.size()) ||
      at > static_cast<int64_t>(bytes.size()) - width) {
    Bad("patch at " + std::to_string(at) + " lies outside " + std::to_string(bytes.size()) +
        " bytes");
  }
}

void Patch(std::vector<uint8_t>& bytes, int64_t at, uint32_t value, int width) {
  Check_Range(bytes, at, width);
  for (int i = 0; i < width; ++i) {
    bytes[static_cast<size_t>(at + i)] = static_cast<uint8_t>(value >> (8 * i));
  }
}

int64_t Here(const Byte_Buffer& out) {
  return static_cast<int64_t>(out.size());
}

}  // namespace

// ---- Value encoders --------------------------------------------------------------------------

int32_t Lat_Value(double degrees) {
  return Whole_Long(degrees * 10001750.0 / 90.0, "latitude");
}

int32_t Lon_Value(double degrees) {
  return Turn_Value(degrees, "longitude");
}

int32_t Heading_Value(double degrees) {
  return Turn_Value(degrees, "heading");
}

double Stored_Lat(double degrees) {
  return Lat_Value(degrees) * 90.0 / 10001750.0;
}

double Stored_Lon(double degrees) {
  return Lon_Value(degrees) * 360.0 / 4294967296.0;
}

int32_t Bcd_Frequency(std::string_view mhz) {
  const size_t dot = mhz.find('.');
  const std::string_view whole = mhz.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? "" : mhz.substr(dot + 1);
  if (whole.empty() || whole.size() > 4 || fraction.size() > 4) {
    Bad("frequency \"" + std::string(mhz) + "\" does not fit");
  }
  std::string digits(whole);
  digits += fraction;
  digits.append(4 - fraction.size(), '0');
  uint32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') Bad("frequency \"" + std::string(mhz) + "\" is not a number");
    value = value * 16 + static_cast<uint32_t>(c - '0');
  }
  return static_cast<int32_t>(value);
}

uint32_t Float_Bits(float value) {
  return std::bit_cast<uint32_t>(value);
}

uint32_t Parking_Identity(int32_t code, int32_t number, int32_t type) {
  if (code < 0 || code > 0x7F || number < 0 || number > 0x1FFF || type < 0 || type > 0xF) {
    Bad("parking identity does not fit its bits");
  }
  return static_cast<uint32_t>(code) | static_cast<uint32_t>(number) << 7 |
         static_cast<uint32_t>(type) << 20;
}

int16_t Mag_Var_Units(double degrees_east) {
  const int32_t v = Whole_Long(degrees_east * 65536.0 / 360.0, "variation");
  if (v < INT16_MIN || v > INT16_MAX) Bad("variation out of range");
  return static_cast<int16_t>(v);
}

// ---- Bytes -------------------------------------------------------------------------------------

Byte_Buffer& Byte_Buffer::Long(int64_t value) {
  if (value < INT32_MIN || value > UINT32_MAX) Bad("value does not fit 32 bits");
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  return *this;
}

Byte_Buffer& Byte_Buffer::Word(int32_t value) {
  if (value < INT16_MIN || value > UINT16_MAX) Bad("value does not fit 16 bits");
  const auto v = static_cast<uint16_t>(value);
  bytes.push_back(static_cast<uint8_t>(v));
  bytes.push_back(static_cast<uint8_t>(v >> 8));
  return *this;
}

Byte_Buffer& Byte_Buffer::Byte(int32_t value) {
  if (value < INT8_MIN || value > UINT8_MAX) Bad("value does not fit 8 bits");
  bytes.push_back(static_cast<uint8_t>(value));
  return *this;
}

Byte_Buffer& Byte_Buffer::Float(float value) {
  return Long(Float_Bits(value));
}

Byte_Buffer& Byte_Buffer::Text(std::string_view text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  return *this;
}

Byte_Buffer& Byte_Buffer::Text(std::string_view text, size_t width) {
  if (text.size() > width) Bad("text \"" + std::string(text) + "\" is longer than its field");
  return Text(text).Zeros(width - text.size());
}

Byte_Buffer& Byte_Buffer::Zeros(size_t count) {
  bytes.insert(bytes.end(), count, 0);
  return *this;
}

Byte_Buffer& Byte_Buffer::Append(std::span<const uint8_t> more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
  return *this;
}

void Byte_Buffer::Patch_Long(size_t at, int64_t value) {
  scenery_writer::Patch_Long(bytes, static_cast<int64_t>(at), value);
}

void Patch_Long(std::vector<uint8_t>& bytes, int64_t at, int64_t value) {
  if (value < INT32_MIN || value > UINT32_MAX) Bad("value does not fit 32 bits");
  Patch(bytes, at, static_cast<uint32_t>(value), 4);
}

void Patch_Word(std::vector<uint8_t>& bytes, int64_t at, int32_t value) {
  if (value < INT16_MIN || value > UINT16_MAX) Bad("value does not fit 16 bits");
  Patch(bytes, at, static_cast<uint32_t>(value), 2);
}

void Patch_Byte(std::vector<uint8_t>& bytes, int64_t at, int32_t value) {
  if (value < INT8_MIN || value > UINT8_MAX) Bad("value does not fit 8 bits");
  Patch(bytes, at, static_cast<uint32_t>(value), 1);
}

// ---- Layout ------------------------------------------------------------------------------------

int64_t Airport_Layout::Record(int32_t type, size_t nth) const {
  for (const Record_Place& place : records) {
    if (place.type == type && nth-- == 0) return place.offset;
  }
  throw std::out_of_range("the airport has no such detail record");
}

Bgl_Image Built_File::Image() const {
  return Make_Bgl_Image(bytes);
}

void Built_File::Write(const std::filesystem::path& path) const {
  orv::testing::Write_Bytes(path, bytes);
}

// ---- Taxiway record ----------------------------------------------------------------------------

Taxiway_Record& Taxiway_Record::Points(const std::vector<Taxi_Point_Spec>& points) {
  subs_.push_back(Here(body_));
  body_.Long(static_cast<int64_t>(points.size())).Long(12);
  for (const Taxi_Point_Spec& p : points) body_.Long(p.kind).Float(p.x).Float(p.y);
  return *this;
}

Taxiway_Record& Taxiway_Record::Parkings(const std::vector<Parking_Spec>& parkings) {
  subs_.push_back(Here(body_));
  body_.Long(static_cast<int64_t>(parkings.size())).Long(20);
  for (const Parking_Spec& p : parkings) {
    body_.Float(p.x).Float(p.y).Float(p.radius).Long(0).Long(p.identity);
  }
  return *this;
}

Taxiway_Record& Taxiway_Record::Paths(const std::vector<Path_Spec>& paths) {
  subs_.push_back(Here(body_));
  body_.Long(static_cast<int64_t>(paths.size())).Long(32);
  for (const Path_Spec& p : paths) {
    body_.Long(p.kind).Zeros(8).Long(p.start).Long(p.end).Zeros(8).Long(p.name);
  }
  return *this;
}

Taxiway_Record& Taxiway_Record::Names(const std::vector<std::string>& names) {
  subs_.push_back(Here(body_));
  body_.Long(static_cast<int64_t>(names.size())).Long(8);
  for (const std::string& name : names) body_.Text(name, 8);
  return *this;
}

Taxiway_Record& Taxiway_Record::Sub_Record(int32_t n, int32_t e,
                                           const std::vector<uint8_t>& elements) {
  subs_.push_back(Here(body_));
  body_.Long(n).Long(e).Append(elements);
  return *this;
}

Taxiway_Record& Taxiway_Record::Tail(const std::vector<uint8_t>& bytes) {
  body_.Append(bytes);
  return *this;
}

Taxiway_Record& Taxiway_Record::Size_Field(int32_t size) {
  size_ = size;
  return *this;
}

std::vector<uint8_t> Taxiway_Record::Bytes(std::vector<int64_t>* sub_offsets) const {
  if (sub_offsets != nullptr) {
    sub_offsets->clear();
    for (const int64_t s : subs_) sub_offsets->push_back(8 + s);
  }
  return Record(RECORD_TAXIWAY, body_.bytes, size_);
}

// ---- Airport -----------------------------------------------------------------------------------

Airport::Airport(std::string ident) : ident_(std::move(ident)) {}

Airport& Airport::Add_Item(Item item) {
  items_.push_back(std::move(item));
  return *this;
}

Airport& Airport::Reference(double lat, double lon) {
  Byte_Buffer p;
  p.Long(0).Long(Lat_Value(lat)).Long(0).Long(Lon_Value(lon));
  return Add_Item({RECORD_REFERENCE, Record(RECORD_REFERENCE, p.bytes), {}, false});
}

Airport& Airport::Name(std::string_view name) {
  Byte_Buffer p;
  p.Text(name);
  return Add_Item({RECORD_NAME, Record(RECORD_NAME, p.bytes), {}, false});
}

Airport& Airport::Frequency(int32_t type, std::string_view mhz) {
  return Frequency_Bcd(type, Bcd_Frequency(mhz));
}

Airport& Airport::Frequency_Bcd(int32_t type, int32_t value) {
  Byte_Buffer p;
  p.Long(value).Long(type);
  return Add_Item({RECORD_FREQUENCY, Record(RECORD_FREQUENCY, p.bytes), {}, false});
}

Airport& Airport::Runway(const Runway_Spec& r) {
  Byte_Buffer p;
  p.Long(0).Long(Lat_Value(r.lat)).Long(0).Long(Lon_Value(r.lon));
  p.Long(0).Long(r.elevation_m).Long(Heading_Value(r.true_heading)).Long(0);
  p.Long(r.length_ft).Long(r.width_ft).Long(r.side).Long(r.number);
  return Add_Item({RECORD_RUNWAY, Record(RECORD_RUNWAY, p.bytes), {}, false});
}

Airport& Airport::Navaid(const Navaid_Spec& n) {
  Byte_Buffer p;
  p.Long(0).Long(Lat_Value(n.lat)).Long(0).Long(Lon_Value(n.lon)).Zeros(8);
  p.Long(Heading_Value(n.true_course));
  p.Long(n.frequency_bcd ? *n.frequency_bcd : Bcd_Frequency(n.frequency));
  p.Long(n.kind).Zeros(12).Text(n.ident);
  return Add_Item({RECORD_NAVAID, Record(RECORD_NAVAID, p.bytes), {}, false});
}

Airport& Airport::Ils(const Navaid_Spec& ils) {
  Navaid_Spec n = ils;
  n.kind = NAVAID_ILS;
  return Navaid(n);
}

Airport& Airport::Taxiway(const Taxiway_Record& taxiway) {
  Item item{RECORD_TAXIWAY, {}, {}, true};
  item.bytes = taxiway.Bytes(&item.sub_offsets);
  return Add_Item(std::move(item));
}

Airport& Airport::Raw_Record(int32_t type, const std::vector<uint8_t>& payload,
                             std::optional<int32_t> size) {
  return Add_Item({type, Record(type, payload, size), {}, false});
}

Airport& Airport::End_Record(int32_t type) {
  end_type_ = type;
  return *this;
}

Airport& Airport::No_End_Record() {
  end_type_.reset();
  return *this;
}

Airport& Airport::Kind(int32_t kind) {
  kind_ = kind;
  return *this;
}

Airport& Airport::Detail_Offset(int32_t d) {
  detail_offset_ = d;
  return *this;
}

Airport& Airport::Detail_Header(int32_t h0, int32_t h1, int32_t h2, int32_t h3) {
  header_ = {h0, h1, h2, h3};
  return *this;
}

Airport& Airport::Index_Size(int32_t size) {
  index_size_ = size;
  return *this;
}

// ---- Airport block -----------------------------------------------------------------------------

Airport_Block& Airport_Block::Add(const Airport& airport) {
  entries_.push_back({airport, 0, {}, std::nullopt});
  return *this;
}

Airport_Block& Airport_Block::Raw_Record(int32_t type, const std::vector<uint8_t>& payload,
                                         std::optional<int32_t> size) {
  entries_.push_back({std::nullopt, type, {payload.begin(), payload.end()}, size});
  return *this;
}

Airport_Block& Airport_Block::Count(int32_t n) {
  count_ = n;
  return *this;
}

Airport_Block& Airport_Block::Type(int32_t type) {
  type_ = type;
  return *this;
}

Airport_Block& Airport_Block::Size_Field(int32_t size) {
  size_ = size;
  return *this;
}

// ---- Airspace group ----------------------------------------------------------------------------

Airspace_Group& Airspace_Group::Raw(int32_t id, const std::vector<uint8_t>& payload,
                                    std::optional<int32_t> size) {
  records_.push_back({id, Here(body_)});
  body_.Append(Record(id, payload, size));
  return *this;
}

Airspace_Group& Airspace_Group::Box(double south, double west, double north, double east) {
  Byte_Buffer p;
  p.Long(Lat_Value(south)).Long(Lon_Value(west)).Long(Lat_Value(north)).Long(Lon_Value(east));
  return Raw(SPACE_BOX, p.bytes);
}

Airspace_Group& Airspace_Group::Name(std::string_view name) {
  Byte_Buffer p;
  p.Text(name);
  return Raw(SPACE_NAME, p.bytes);
}

Airspace_Group& Airspace_Group::Frequency(std::string_view mhz, std::string_view text) {
  return Frequency_Bcd(Bcd_Frequency(mhz), text);
}

Airspace_Group& Airspace_Group::Frequency_Bcd(int32_t value, std::string_view text) {
  Byte_Buffer p;
  p.Long(value).Long(0).Text(text);
  return Raw(SPACE_FREQUENCY, p.bytes);
}

Airspace_Group& Airspace_Group::Point(int32_t id, double lat, double lon) {
  Byte_Buffer p;
  p.Long(0).Long(Lat_Value(lat)).Long(0).Long(Lon_Value(lon));
  return Raw(id, p.bytes);
}

Airspace_Group& Airspace_Group::Center(double lat, double lon) {
  return Point(SPACE_CENTER, lat, lon);
}

Airspace_Group& Airspace_Group::Start(double lat, double lon, int32_t low, int32_t high) {
  Byte_Buffer p;
  p.Long(0).Long(Lat_Value(lat)).Long(0).Long(Lon_Value(lon)).Long(low).Long(high);
  return Raw(SPACE_START, p.bytes);
}

Airspace_Group& Airspace_Group::Line(double lat, double lon) {
  return Point(SPACE_LINE, lat, lon);
}

Airspace_Group& Airspace_Group::Arc_Cw(double lat, double lon) {
  return Point(SPACE_ARC_CW, lat, lon);
}

Airspace_Group& Airspace_Group::Arc_Ccw(double lat, double lon) {
  return Point(SPACE_ARC_CCW, lat, lon);
}

Airspace_Group& Airspace_Group::Circle(int32_t radius, int32_t low, int32_t high) {
  Byte_Buffer p;
  p.Long(radius).Long(0).Long(low).Long(high);
  return Raw(SPACE_CIRCLE, p.bytes);
}

Airspace_Group& Airspace_Group::Skip() {
  return Raw(SPACE_SKIP);
}

Airspace_Group& Airspace_Group::End_Group() {
  return Raw(SPACE_END_GROUP);
}

Airspace_Group& Airspace_Group::Subtype(int32_t subtype) {
  subtype_ = subtype;
  return *this;
}

Airspace_Group& Airspace_Group::Size_Field(int32_t size) {
  size_ = size;
  return *this;
}

// ---- Airspace container ------------------------------------------------------------------------

Airspace_Container& Airspace_Container::Add(const Airspace_Group& group) {
  entries_.push_back({group, 0, {}, std::nullopt});
  return *this;
}

Airspace_Container& Airspace_Container::Skipped_Record(const std::vector<uint8_t>& payload) {
  return Raw(SPACE_SKIPPED, payload);
}

Airspace_Container& Airspace_Container::Raw(int32_t type, const std::vector<uint8_t>& payload,
                                            std::optional<int32_t> size) {
  entries_.push_back({std::nullopt, type, {payload.begin(), payload.end()}, size});
  return *this;
}

Airspace_Container& Airspace_Container::Subtype(int32_t subtype) {
  subtype_ = subtype;
  return *this;
}

Airspace_Container& Airspace_Container::Size_Field(int32_t size) {
  size_ = size;
  return *this;
}

// ---- Scenery file ------------------------------------------------------------------------------

Bgl_File& Bgl_File::Add(const Airport& airport) {
  if (blocks_.empty()) blocks_.emplace_back();
  blocks_.back().Add(airport);
  return *this;
}

Bgl_File& Bgl_File::Add(const Airport_Block& block) {
  blocks_.push_back(block);
  return *this;
}

Bgl_File& Bgl_File::Add(const Airspace_Container& container) {
  space_.push_back({container, 0, {}, std::nullopt});
  return *this;
}

Bgl_File& Bgl_File::Airspace_Skipped_Record(const std::vector<uint8_t>& payload) {
  return Airspace_Raw(SPACE_SKIPPED, payload);
}

Bgl_File& Bgl_File::Airspace_Raw(int32_t type, const std::vector<uint8_t>& payload,
                                 std::optional<int32_t> size) {
  space_.push_back({std::nullopt, type, {payload.begin(), payload.end()}, size});
  return *this;
}

Bgl_File& Bgl_File::Empty_Airport_Section() {
  empty_airports_ = true;
  return *this;
}

Bgl_File& Bgl_File::Empty_Airspace_Section() {
  empty_airspace_ = true;
  return *this;
}

Bgl_File& Bgl_File::No_Airport_Section_End() {
  airport_end_ = false;
  return *this;
}

Bgl_File& Bgl_File::No_Airspace_Section_End() {
  airspace_end_ = false;
  return *this;
}

Bgl_File& Bgl_File::Signature(int64_t value) {
  signature_ = value;
  return *this;
}

Bgl_File& Bgl_File::Version(int32_t value) {
  version_ = value;
  return *this;
}

Bgl_File& Bgl_File::Header_Size(int64_t size) {
  if (size < HEADER_AIRSPACES + 4) Bad("the header must hold the section offsets");
  header_size_ = size;
  return *this;
}

Bgl_File& Bgl_File::Header_Long(int64_t offset, int64_t value) {
  header_longs_.emplace_back(offset, value);
  return *this;
}

Bgl_File& Bgl_File::Tail(const std::vector<uint8_t>& bytes) {
  tail_.insert(tail_.end(), bytes.begin(), bytes.end());
  return *this;
}

namespace {

// A record whose size field is patched once its content is written.
int64_t Open_Record(Byte_Buffer& out, int32_t type) {
  const int64_t at = Here(out);
  out.Long(type).Long(0);
  return at;
}

void Close_Record(Byte_Buffer& out, int64_t at, std::optional<int32_t> size) {
  out.Patch_Long(static_cast<size_t>(at + 4), size ? *size : Here(out) - at - 8);
}

}  // namespace

Built_File Bgl_File::Build() const {
  Byte_Buffer out;
  out.Zeros(static_cast<size_t>(header_size_));
  Bgl_Layout lay;
  std::vector<const Airport*> airports;  // in layout order

  if (!blocks_.empty() || empty_airports_) {
    lay.airport_section = Here(out);
    for (size_t b = 0; b < blocks_.size(); ++b) {
      const Airport_Block& block = blocks_[b];
      Block_Layout bl;
      bl.offset = Open_Record(out, block.type_);
      out.Zeros(12).Long(block.count_ ? *block.count_
                                      : static_cast<int64_t>(block.entries_.size()) - 1);
      for (const Airport_Block::Entry& e : block.entries_) {
        if (!e.airport) {
          bl.records.push_back({e.type, Here(out)});
          out.Append(Record(e.type, e.payload, e.size));
          continue;
        }
        const Airport& a = *e.airport;
        Airport_Layout al;
        al.block = static_cast<int32_t>(b);
        al.index_record = Here(out);
        bl.records.push_back({RECORD_AIRPORT_INDEX, al.index_record});
        out.Long(RECORD_AIRPORT_INDEX)
            .Long(a.index_size_ ? *a.index_size_ : static_cast<int64_t>(a.ident_.size()) + 8)
            .Long(a.kind_)
            .Long(0)  // D, set when the detail is placed
            .Text(a.ident_);
        lay.airports.push_back(std::move(al));
        airports.push_back(&a);
      }
      Close_Record(out, bl.offset, block.size_);
      lay.blocks.push_back(std::move(bl));
    }
    if (airport_end_) lay.airport_section_end = Open_Record(out, RECORD_END);
  }

  for (size_t i = 0; i < airports.size(); ++i) {
    const Airport& a = *airports[i];
    Airport_Layout& al = lay.airports[i];
    al.detail = Here(out);
    for (const int32_t h : a.header_) out.Long(h);
    for (const Airport::Item& item : a.items_) {
      const int64_t at = Here(out);
      al.records.push_back({item.type, at});
      if (item.taxiway) {
        Taxiway_Layout tl{at, {}};
        for (const int64_t s : item.sub_offsets) tl.sub_records.push_back(at + s);
        al.taxiways.push_back(std::move(tl));
      }
      out.Append(item.bytes);
    }
    if (a.end_type_) al.end_record = Open_Record(out, *a.end_type_);
    out.Patch_Long(static_cast<size_t>(al.index_record + 12),
                   a.detail_offset_ ? *a.detail_offset_ : al.detail);
  }

  if (!space_.empty() || empty_airspace_) {
    lay.airspace_section = Here(out);
    for (const Space_Entry& e : space_) {
      if (!e.container) {
        lay.airspace_records.push_back({e.type, Here(out)});
        out.Append(Record(e.type, e.payload, e.size));
        continue;
      }
      const Airspace_Container& c = *e.container;
      Container_Layout cl;
      cl.offset = Open_Record(out, SPACE_LIST);
      lay.airspace_records.push_back({SPACE_LIST, cl.offset});
      out.Long(c.subtype_).Long(0);
      for (const Airspace_Container::Entry& ce : c.entries_) {
        if (!ce.group) {
          cl.records.push_back({ce.type, Here(out)});
          out.Append(Record(ce.type, ce.payload, ce.size));
          continue;
        }
        const Airspace_Group& g = *ce.group;
        Group_Layout gl;
        gl.offset = Open_Record(out, SPACE_LIST);
        cl.records.push_back({SPACE_LIST, gl.offset});
        out.Long(g.subtype_).Long(0);
        for (const Record_Place& r : g.records_) {
          gl.records.push_back({r.type, gl.offset + 16 + r.offset});
        }
        out.Append(g.body_.bytes);
        Close_Record(out, gl.offset, g.size_);
        cl.groups.push_back(std::move(gl));
      }
      Close_Record(out, cl.offset, c.size_);
      lay.containers.push_back(std::move(cl));
    }
    if (airspace_end_) lay.airspace_section_end = Open_Record(out, RECORD_END);
  }

  out.Append(tail_);
  out.Patch_Long(HEADER_SIGNATURE, signature_);
  out.Patch_Long(HEADER_VERSION, version_);
  out.Patch_Long(HEADER_AIRPORTS, lay.airport_section);
  out.Patch_Long(HEADER_AIRSPACES, lay.airspace_section);
  for (const auto& [offset, value] : header_longs_) Patch_Long(out.bytes, offset, value);
  return {std::move(out.bytes), std::move(lay)};
}

// ---- Magnetic variation grid -------------------------------------------------------------------

namespace {
constexpr int64_t GRID_POINTER = 110;
constexpr int GRID_VALUES = 65161;
}  // namespace

std::vector<uint8_t> Magdec_File(const std::function<int16_t(int lat, int lon)>& units,
                                 int32_t grid_offset) {
  std::vector<int16_t> table(GRID_VALUES, 0);
  for (int lat = -90; lat <= 90; ++lat) {
    for (int lon = 0; lon <= 359; ++lon) table[(lat + 90) + lon * 181] = units(lat, lon);
  }
  return Magdec_File(table, grid_offset);
}

std::vector<uint8_t> Magdec_File(std::span<const int16_t> table, int32_t grid_offset) {
  if (table.size() != GRID_VALUES) Bad("a grid has 65161 values");
  Byte_Buffer out;
  if (grid_offset <= 0) {  // a file without a grid
    out.Zeros(DEFAULT_GRID_OFFSET).Patch_Long(GRID_POINTER, grid_offset);
    return std::move(out.bytes);
  }
  if (grid_offset < GRID_POINTER + 4) Bad("the grid would overlap its own pointer");
  out.Zeros(static_cast<size_t>(grid_offset)).Patch_Long(GRID_POINTER, grid_offset);
  out.Word(360).Word(181).Zeros(4);
  for (const int16_t v : table) out.Word(v);
  return std::move(out.bytes);
}

// ---- Simulator folder --------------------------------------------------------------------------

Sim_Folder::Sim_Folder(std::filesystem::path root) : root_(std::move(root)) {}

Sim_Folder& Sim_Folder::Exe_Name(std::string name) {
  exe_ = std::move(name);
  return *this;
}

Sim_Folder& Sim_Folder::No_Exe() {
  exe_.reset();
  return *this;
}

Sim_Folder& Sim_Folder::General(std::vector<std::string> lines) {
  general_ = std::move(lines);
  return *this;
}

Sim_Folder& Sim_Folder::Area(Area_Spec area) {
  areas_.push_back(std::move(area));
  return *this;
}

Sim_Folder& Sim_Folder::Scenery_Cfg_Text(std::string text) {
  cfg_text_ = std::move(text);
  return *this;
}

Sim_Folder& Sim_Folder::No_Scenery_Cfg() {
  write_cfg_ = false;
  return *this;
}

Sim_Folder& Sim_Folder::Line_End(std::string end) {
  line_end_ = std::move(end);
  return *this;
}

Sim_Folder& Sim_Folder::Magdec(std::vector<uint8_t> bytes, std::string relative) {
  magdec_.emplace(std::move(relative), std::move(bytes));
  return *this;
}

Sim_Folder& Sim_Folder::File(const std::filesystem::path& relative, std::vector<uint8_t> bytes) {
  files_.emplace_back(relative, std::move(bytes));
  return *this;
}

namespace {

std::string Area_Number(size_t index) {
  std::string number = std::to_string(index + 1);
  if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
  return number;
}

// The folder an area's files go to: `local` with "\" as a separator, plus "scenery" unless it
// already ends so, under the simulator folder unless absolute.
std::filesystem::path Area_Folder(const std::filesystem::path& root, const Area_Spec& area) {
  if (area.folder) return area.folder->is_absolute() ? *area.folder : root / *area.folder;
  std::string local = area.local;
  const size_t first = local.find_first_not_of(' ');
  const size_t last = local.find_last_not_of(' ');
  local = first == std::string::npos ? "" : local.substr(first, last - first + 1);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  std::filesystem::path folder(local);
  std::string tail = folder.filename().string();
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (tail != "scenery") folder /= "scenery";
  return folder.is_absolute() ? folder : root / folder;
}

}  // namespace

std::string Sim_Folder::Scenery_Cfg() const {
  if (cfg_text_) return *cfg_text_;
  std::string text = "[General]" + line_end_;
  for (const std::string& line : general_) text += line + line_end_;
  for (size_t i = 0; i < areas_.size(); ++i) {
    const Area_Spec& a = areas_[i];
    text += line_end_;
    text += (a.header ? *a.header : "[Area." + Area_Number(i) + "]") + line_end_;
    const auto key = [&](const char* name, const std::optional<std::string>& value) {
      if (value) text += std::string(name) + "=" + *value + line_end_;
    };
    key("Title", a.title);
    key("Texture_ID", a.texture_id);
    key("Remote", a.remote);
    key("Local", a.local);
    key("Layer", a.layer ? a.layer : std::to_string(i + 1));
    key("Active", a.active);
    key("Required", a.required);
  }
  return text;
}

Sim_Paths Sim_Folder::Write() const {
  namespace fs = std::filesystem;
  using orv::testing::Write_Bytes;
  using orv::testing::Write_Text;
  Sim_Paths paths;
  paths.root = root_;
  fs::create_directories(root_);
  if (exe_) {
    paths.exe = root_ / *exe_;
    Write_Text(paths.exe, "MZ");
  }
  paths.scenery_cfg = root_ / "scenery.cfg";
  if (write_cfg_) Write_Text(paths.scenery_cfg, Scenery_Cfg());
  if (magdec_) {
    paths.magdec = root_ / magdec_->first;
    Write_Bytes(paths.magdec, magdec_->second);
  }
  for (const Area_Spec& a : areas_) {
    if (!a.make_folder) {
      paths.area_folders.emplace_back();
      continue;
    }
    const fs::path folder = Area_Folder(root_, a);
    fs::create_directories(folder);
    for (const Named_File& f : a.files) Write_Bytes(folder / f.name, f.bytes);
    paths.area_folders.push_back(folder);
  }
  for (const auto& [relative, bytes] : files_) Write_Bytes(root_ / relative, bytes);
  return paths;
}

}  // namespace orv::scenery_writer
