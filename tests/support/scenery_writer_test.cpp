#include "support/scenery_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <stdexcept>

#include "scenery/bgl_image.h"
#include "scenery/magdec.h"
#include "support/temp_dir.h"

namespace orv::scenery_writer {
namespace {

TEST(SceneryWriterEncoders, MatchHandComputedValues) {
  EXPECT_EQ(Lat_Value(90.0), 10001750);
  EXPECT_EQ(Lat_Value(-90.0), -10001750);
  EXPECT_EQ(Lat_Value(47.5), 5278701);  // 5278701.39

  EXPECT_EQ(Lon_Value(90.0), 0x40000000);
  EXPECT_EQ(Lon_Value(-122.3), -1459095834);  // -1459095834.17
  EXPECT_EQ(Lon_Value(180.0), INT32_MIN);     // both ends of the range wrap to one value
  EXPECT_EQ(Lon_Value(-180.0), INT32_MIN);
  EXPECT_EQ(Lon_Value(180.0 / 4294967296.0), 0);  // exactly 0.5 unit: halves go to even
  EXPECT_EQ(Lon_Value(540.0 / 4294967296.0), 2);  // exactly 1.5 units

  EXPECT_DOUBLE_EQ(Stored_Lat(47.5), 5278701 * 90.0 / 10001750.0);
  EXPECT_NEAR(Stored_Lat(47.5), 47.5, 0.5 * 90.0 / 10001750.0);
  EXPECT_DOUBLE_EQ(Stored_Lon(-122.3), -1459095834 * 360.0 / 4294967296.0);
  EXPECT_EQ(Stored_Lon(180.0), -180.0);

  EXPECT_EQ(Heading_Value(90.0), 0x40000000);
  EXPECT_EQ(Heading_Value(270.0), -0x40000000);  // the upper half of a turn is negative

  EXPECT_EQ(Bcd_Frequency("118.3"), 0x01183000);
  EXPECT_EQ(Bcd_Frequency("121"), 0x01210000);
  EXPECT_EQ(Bcd_Frequency("118.375"), 0x01183750);
  EXPECT_EQ(Bcd_Frequency("108.15"), 0x01081500);
  EXPECT_THROW(Bcd_Frequency("118.3x"), std::invalid_argument);
  EXPECT_THROW(Bcd_Frequency("1.23456"), std::invalid_argument);
  EXPECT_THROW(Bcd_Frequency(""), std::invalid_argument);

  EXPECT_EQ(Float_Bits(1.0f), 0x3F800000u);
  EXPECT_EQ(Float_Bits(-10.0f), 0xC1200000u);

  EXPECT_EQ(Parking_Identity(12, 12), 0x0000060Cu);
  EXPECT_EQ(Parking_Identity(2, 3, 8), 0x00800182u);
  EXPECT_EQ(Parking_Identity(127, 8191, 15), 0x00FFFFFFu);
  EXPECT_THROW(Parking_Identity(128, 0), std::invalid_argument);
  EXPECT_THROW(Parking_Identity(1, 8192), std::invalid_argument);

  EXPECT_EQ(Mag_Var_Units(15.5), 2822);  // 2821.69
  EXPECT_EQ(Mag_Var_Units(-0.0054931640625), -1);
}

TEST(SceneryWriterBytes, AppendAndPatchLittleEndian) {
  Byte_Buffer b;
  b.Long(0x87654321).Long(-1).Word(-2).Byte(255).Text("AB", 4).Float(1.0f);
  EXPECT_EQ(b.bytes, (std::vector<uint8_t>{0x21, 0x43, 0x65, 0x87, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE,
                                           0xFF, 0xFF, 'A', 'B', 0, 0, 0x00, 0x00, 0x80, 0x3F}));
  b.Patch_Long(4, 0x01020304);
  EXPECT_EQ(b.bytes[4], 0x04);
  EXPECT_EQ(b.bytes[7], 0x01);
  EXPECT_THROW(b.Long(int64_t{1} << 32), std::invalid_argument);
  EXPECT_THROW(b.Text("ABCDEFGHI", 8), std::invalid_argument);
  EXPECT_THROW(b.Patch_Long(b.size() - 3, 0), std::invalid_argument);
  EXPECT_THROW(Patch_Byte(b.bytes, -1, 0), std::invalid_argument);
}

// Reads a built file back with the program's own primitive readers and checks every offset the
// writer reports against the formats.
TEST(SceneryWriterBgl, WellFormedFileReadsBackAtTheReportedOffsets) {
  const Built_File f =
      Bgl_File()
          .Add(Airport("KSEA")
                   .Reference(47.449, -122.309)
                   .Name("Seattle-Tacoma Intl")
                   .Frequency(7, "118.3")
                   .Runway({.lat = 47.45,
                            .lon = -122.31,
                            .elevation_m = 131,
                            .true_heading = 270,
                            .length_ft = 11900,
                            .width_ft = 150,
                            .side = 2,
                            .number = 16})
                   .Ils({.lat = 47.43, .lon = -122.31, .true_course = 180, .ident = "ISEA"})
                   .Taxiway(Taxiway_Record()
                                .Points({{.kind = 1, .x = -100.0f, .y = 50.0f}})
                                .Parkings({{.x = 10.0f,
                                            .y = 20.0f,
                                            .radius = 20.0f,
                                            .identity = Parking_Identity(12, 12, 8)}})
                                .Paths({{.kind = 0, .start = 0, .end = 1, .name = 1}})
                                .Names({"A", "B"})))
          .Add(Airspace_Container().Add(
              Airspace_Group().Box(47, -123, 48, -122).Name("SEATTLE").Circle(10, 0, 10000)))
          .Build();
  const Bgl_Image img = f.Image();
  Bgl_Reader rd(img);
  const Bgl_Layout& lay = f.layout;

  EXPECT_EQ(Read_Long(rd, 118), BGL_SIGNATURE);
  EXPECT_EQ(Read_Long(rd, 144), 1);
  EXPECT_EQ(Read_Long(rd, 156), lay.airport_section);
  EXPECT_EQ(Read_Long(rd, 164), lay.airspace_section);
  EXPECT_EQ(lay.airport_section, DEFAULT_HEADER_SIZE);

  // One block holding one index record (n = 0), then a block of an unknown type.
  const int64_t a = lay.airport_section;
  ASSERT_EQ(lay.blocks.size(), 1u);
  EXPECT_EQ(Read_Long(rd, a), BLOCK_AIRPORT_INDEX);
  EXPECT_EQ(Read_Long(rd, a + 20), 0);
  EXPECT_EQ(a + Read_Long(rd, a + 4) + 8, lay.airport_section_end);
  EXPECT_EQ(Read_Long(rd, lay.airport_section_end), RECORD_END);

  ASSERT_EQ(lay.airports.size(), 1u);
  const Airport_Layout& ap = lay.airports[0];
  const int64_t r = ap.index_record;
  EXPECT_EQ(r, a + 24);
  EXPECT_EQ(Read_Long(rd, r), RECORD_AIRPORT_INDEX);
  EXPECT_EQ(Read_Long(rd, r + 4), 12);
  EXPECT_EQ(Read_Long(rd, r + 8), AIRPORT_KIND);
  EXPECT_EQ(Read_Long(rd, r + 12), ap.detail);
  EXPECT_EQ(Read_Text(rd, r + 16, 4), "KSEA");
  EXPECT_EQ(r + 12 + 8, lay.airport_section_end);

  // Detail header 1/x/1/x, then the records back to back in the order added.
  const int64_t d = ap.detail;
  EXPECT_EQ(Read_Long(rd, d), 1);
  EXPECT_EQ(Read_Long(rd, d + 8), 1);
  ASSERT_EQ(ap.records.size(), 6u);
  EXPECT_EQ(ap.records[0].offset, d + 16);
  for (size_t i = 0; i < ap.records.size(); ++i) {
    const int64_t at = ap.records[i].offset;
    EXPECT_EQ(Read_Long(rd, at), ap.records[i].type);
    const int64_t next = i + 1 < ap.records.size() ? ap.records[i + 1].offset : ap.end_record;
    EXPECT_EQ(at + Read_Long(rd, at + 4) + 8, next) << "record " << i;
  }
  EXPECT_EQ(Read_Long(rd, ap.end_record), RECORD_END);

  const int64_t ref = ap.Record(RECORD_REFERENCE);
  EXPECT_EQ(Read_Long(rd, ref + 12), Lat_Value(47.449));
  EXPECT_EQ(Read_Long(rd, ref + 20), Lon_Value(-122.309));
  EXPECT_EQ(Read_Text(rd, ap.Record(RECORD_NAME) + 8, 19), "Seattle-Tacoma Intl");
  const int64_t freq = ap.Record(RECORD_FREQUENCY);
  EXPECT_EQ(Read_Long(rd, freq + 8), 0x01183000);
  EXPECT_EQ(Read_Long(rd, freq + 12), 7);
  const int64_t rwy = ap.Record(RECORD_RUNWAY);
  EXPECT_EQ(Read_Long(rd, rwy + 4), 48);
  EXPECT_EQ(Read_Long(rd, rwy + 28), 131);
  EXPECT_EQ(Read_Long(rd, rwy + 32), -0x40000000);
  EXPECT_EQ(Read_Long(rd, rwy + 40), 11900);
  EXPECT_EQ(Read_Long(rd, rwy + 44), 150);
  EXPECT_EQ(Read_Long(rd, rwy + 48), 2);
  EXPECT_EQ(Read_Long(rd, rwy + 52), 16);
  const int64_t ils = ap.Record(RECORD_NAVAID);
  EXPECT_EQ(ils, rwy + 56);  // directly after its runway
  EXPECT_EQ(Read_Long(rd, ils + 4), 52);
  EXPECT_EQ(Read_Long(rd, ils + 32), Heading_Value(180));
  EXPECT_EQ(Read_Long(rd, ils + 36), 0x01103000);
  EXPECT_EQ(Read_Long(rd, ils + 40), NAVAID_ILS);
  EXPECT_EQ(Read_Text(rd, ils + 56, 4), "ISEA");

  // Taxiway: points, parkings, paths, names; elements right after each 8-byte sub-record head.
  ASSERT_EQ(ap.taxiways.size(), 1u);
  const Taxiway_Layout& tw = ap.taxiways[0];
  EXPECT_EQ(tw.record, ap.Record(RECORD_TAXIWAY));
  ASSERT_EQ(tw.sub_records.size(), 4u);
  EXPECT_EQ(tw.sub_records[0], tw.record + 8);
  const int32_t sizes[] = {12, 20, 32, 8};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(Read_Long(rd, tw.sub_records[i] + 4), sizes[i]);
  EXPECT_EQ(tw.sub_records[1], tw.sub_records[0] + 8 + 12);
  EXPECT_EQ(tw.sub_records[2], tw.sub_records[1] + 8 + 20);
  EXPECT_EQ(tw.sub_records[3], tw.sub_records[2] + 8 + 32);
  EXPECT_EQ(tw.sub_records[3] + 8 + 16, tw.record + Read_Long(rd, tw.record + 4) + 8);
  const int64_t pt = tw.sub_records[0] + 8;
  EXPECT_EQ(Read_Long(rd, pt), 1);
  EXPECT_EQ(std::bit_cast<float>(Read_Long(rd, pt + 4)), -100.0f);
  EXPECT_EQ(std::bit_cast<float>(Read_Long(rd, pt + 8)), 50.0f);
  EXPECT_EQ(Read_Long(rd, tw.sub_records[1] + 8 + 16), 0x0080060C);
  EXPECT_EQ(Read_Long(rd, tw.sub_records[2] + 8 + 12), 0);
  EXPECT_EQ(Read_Long(rd, tw.sub_records[2] + 8 + 16), 1);
  EXPECT_EQ(Read_Long(rd, tw.sub_records[2] + 8 + 28), 1);
  EXPECT_EQ(Read_Long(rd, tw.sub_records[3]), 2);
  EXPECT_EQ(Read_Text(rd, tw.sub_records[3] + 16, 8), "B");

  // Airspace: container (1/4) holding a group (1/5) whose level-3 records start 16 bytes in.
  const int64_t s = lay.airspace_section;
  EXPECT_EQ(s, ap.end_record + 8);
  ASSERT_EQ(lay.containers.size(), 1u);
  ASSERT_EQ(lay.containers[0].groups.size(), 1u);
  const Group_Layout& g = lay.containers[0].groups[0];
  EXPECT_EQ(Read_Long(rd, s), SPACE_LIST);
  EXPECT_EQ(Read_Long(rd, s + 8), SPACE_CONTAINER_SUBTYPE);
  EXPECT_EQ(g.offset, s + 16);
  EXPECT_EQ(Read_Long(rd, g.offset), SPACE_LIST);
  EXPECT_EQ(Read_Long(rd, g.offset + 8), SPACE_GROUP_SUBTYPE);
  ASSERT_EQ(g.records.size(), 3u);
  EXPECT_EQ(g.records[0].offset, g.offset + 16);
  EXPECT_EQ(Read_Long(rd, g.records[0].offset), SPACE_BOX);
  EXPECT_EQ(Read_Long(rd, g.records[0].offset + 12), Lon_Value(-123));
  EXPECT_EQ(Read_Long(rd, g.records[0].offset + 16), Lat_Value(48));
  EXPECT_EQ(Read_Long(rd, g.records[1].offset + 4), 7);
  EXPECT_EQ(Read_Long(rd, g.records[2].offset), SPACE_CIRCLE);
  EXPECT_EQ(Read_Long(rd, g.records[2].offset + 8), 10);
  EXPECT_EQ(Read_Long(rd, g.records[2].offset + 20), 10000);
  // Group and container sizes both end where the section's unknown end record starts.
  EXPECT_EQ(g.offset + Read_Long(rd, g.offset + 4) + 8, lay.airspace_section_end);
  EXPECT_EQ(s + Read_Long(rd, s + 4) + 8, lay.airspace_section_end);
  EXPECT_EQ(Read_Long(rd, lay.airspace_section_end), RECORD_END);
  EXPECT_EQ(static_cast<int64_t>(f.bytes.size()), lay.airspace_section_end + 8);
  EXPECT_TRUE(rd.ok());
}

TEST(SceneryWriterBgl, OddFilesCarryExactlyTheOverridesAsked) {
  const Built_File f =
      Bgl_File()
          .Signature(0)
          .Version(2)
          .Add(Airport_Block()
                   .Count(0)
                   .Add(Airport("AAAA").Kind(0x50002).Detail_Header(1, 9, 2, 9))
                   .Add(Airport("BBBB").Detail_Offset(-5).No_End_Record()))
          .Add(Airport_Block().Raw_Record(0x12345, {1, 2, 3}, -8))
          .Add(Airport("CCCC").Taxiway(Taxiway_Record().Names({"A"}).Size_Field(4)))
          .Airspace_Skipped_Record()
          .Add(Airspace_Container().Add(Airspace_Group().End_Group().Line(1, 2)).Skipped_Record())
          .Header_Long(HEADER_AIRPORTS, 0)
          .Build();
  const Bgl_Image img = f.Image();
  Bgl_Reader rd(img);
  const Bgl_Layout& lay = f.layout;

  EXPECT_EQ(Read_Long(rd, 118), 0);
  EXPECT_EQ(Read_Long(rd, 144), 2);
  EXPECT_EQ(Read_Long(rd, 156), 0);  // the override wins over the real offset
  EXPECT_GT(lay.airport_section, 0);

  ASSERT_EQ(lay.blocks.size(), 2u);
  ASSERT_EQ(lay.airports.size(), 3u);  // the third airport went into the last block
  EXPECT_EQ(Read_Long(rd, lay.blocks[0].offset + 20), 0);
  EXPECT_EQ(Read_Long(rd, lay.blocks[1].offset + 20), 1);  // raw record and CCCC
  EXPECT_EQ(lay.airports[2].block, 1);
  EXPECT_EQ(lay.blocks[1].records[0].type, 0x12345);
  EXPECT_EQ(Read_Long(rd, lay.blocks[1].records[0].offset + 4), -8);
  EXPECT_EQ(lay.blocks[1].records[1].offset, lay.blocks[1].records[0].offset + 11);

  const Airport_Layout& aaaa = lay.airports[0];
  EXPECT_EQ(Read_Long(rd, aaaa.index_record + 8), 0x50002);
  EXPECT_EQ(Read_Long(rd, aaaa.detail + 8), 2);
  EXPECT_EQ(Read_Long(rd, aaaa.end_record), RECORD_END);
  const Airport_Layout& bbbb = lay.airports[1];
  EXPECT_EQ(Read_Long(rd, bbbb.index_record + 12), -5);
  EXPECT_EQ(bbbb.end_record, -1);
  EXPECT_EQ(lay.airports[2].detail, bbbb.detail + 16);
  EXPECT_EQ(Read_Long(rd, lay.airports[2].taxiways[0].record + 4), 4);
  EXPECT_EQ(Read_Long(rd, lay.airports[2].taxiways[0].sub_records[0]), 1);

  ASSERT_EQ(lay.airspace_records.size(), 2u);
  EXPECT_EQ(lay.airspace_records[0].type, SPACE_SKIPPED);
  EXPECT_EQ(lay.airspace_records[1].offset, lay.airspace_section + 8);
  const Container_Layout& c = lay.containers[0];
  ASSERT_EQ(c.records.size(), 2u);
  EXPECT_EQ(c.records[1].type, SPACE_SKIPPED);
  EXPECT_EQ(Read_Long(rd, c.groups[0].records[0].offset), SPACE_END_GROUP);
  EXPECT_EQ(c.groups[0].records[1].offset, c.groups[0].records[0].offset + 8);
  EXPECT_TRUE(rd.ok());

  Built_File cut = f;
  cut.bytes.resize(static_cast<size_t>(aaaa.detail + 4));
  EXPECT_THROW(Patch_Long(cut.bytes, aaaa.detail + 2, 0), std::invalid_argument);
}

TEST(SceneryWriterFolder, MagdecGridReadsBackThroughTheGridLoader) {
  const std::vector<uint8_t> bytes =
      Magdec_File([](int lat, int lon) { return static_cast<int16_t>(lat * 100 - lon); });
  ASSERT_EQ(bytes.size(), 128u + 8u + 2u * 65161u);
  Bgl_Image img = Make_Bgl_Image(bytes);
  Bgl_Reader rd(img);
  EXPECT_EQ(Read_Long(rd, 110), 128);
  EXPECT_EQ(Read_Word(rd, 136), -9000);                               // lat -90, lon 0
  EXPECT_EQ(Read_Word(rd, 136 + 2 * ((47 + 90) + 238 * 181)), 4462);  // lat 47, lon 238

  orv::testing::Temp_Dir dir;
  orv::testing::Write_Bytes(dir / "magdec.bgl", bytes);
  Mag_Var_Table table{};
  ASSERT_EQ(Load_Magdec(table, dir / "magdec.bgl"), File_Status::ok);
  EXPECT_EQ(table[0], -9000);
  EXPECT_EQ(table[(90 + 90) + 359 * 181], 9000 - 359);
  EXPECT_EQ(table[(0 + 90) + 1 * 181], -1);
  EXPECT_EQ(Magdec_File(table), bytes);  // a whole table writes the same file

  EXPECT_EQ(Magdec_File([](int, int) { return int16_t{0}; }, 0).size(), 128u);
}

TEST(SceneryWriterFolder, WritesExeConfigAndAreaFiles) {
  orv::testing::Temp_Dir dir;
  const Sim_Paths paths =
      Sim_Folder(dir.path())
          .Exe_Name("FS2002.EXE")
          .General({"Title=FS2002 World Scenery"})
          .Area({.title = "Default Terrain", .local = "Scenery\\World", .files = {{"a.bgl", {7}}}})
          .Area({.title = "Addon",
                 .local = "Addon Scenery\\scenery",
                 .active = "FALSE",
                 .required = std::nullopt,
                 .remote = ""})
          .Area({.title = "Gone", .local = "Nowhere", .make_folder = false})
          .Magdec(Magdec_File([](int, int) { return int16_t{1}; }))
          .Write();
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "FS2002.EXE"));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "scenery" / "magdec.bgl"));
  EXPECT_EQ(orv::testing::Read_Bytes(dir / "Scenery" / "World" / "scenery" / "a.bgl"),
            std::vector<uint8_t>{7});
  ASSERT_EQ(paths.area_folders.size(), 3u);
  EXPECT_EQ(paths.area_folders[1], dir / "Addon Scenery" / "scenery");
  EXPECT_TRUE(std::filesystem::is_directory(paths.area_folders[1]));
  EXPECT_TRUE(paths.area_folders[2].empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "Nowhere"));

  const std::string cfg(
      "[General]\r\nTitle=FS2002 World Scenery\r\n"
      "\r\n[Area.001]\r\nTitle=Default Terrain\r\nLocal=Scenery\\World\r\nLayer=1\r\n"
      "Active=TRUE\r\nRequired=FALSE\r\n"
      "\r\n[Area.002]\r\nTitle=Addon\r\nRemote=\r\nLocal=Addon Scenery\\scenery\r\nLayer=2\r\n"
      "Active=FALSE\r\n"
      "\r\n[Area.003]\r\nTitle=Gone\r\nLocal=Nowhere\r\nLayer=3\r\nActive=TRUE\r\n"
      "Required=FALSE\r\n");
  const std::vector<uint8_t> written = orv::testing::Read_Bytes(paths.scenery_cfg);
  EXPECT_EQ(std::string(written.begin(), written.end()), cfg);
}

}  // namespace
}  // namespace orv::scenery_writer
