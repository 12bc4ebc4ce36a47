// Every walk of a scenery file is bounded by the image: a record whose next record would not
// lie after it ends the walk, at each level, so no file makes a walk go round for ever.
#include <gtest/gtest.h>

#include "airspace/airspace_reader.h"
#include "core/program_state.h"
#include "scenery/bgl_image.h"
#include "scenery/scan_bgl_file.h"
#include "support/scenery_writer.h"

namespace orv {
namespace {

namespace sw = scenery_writer;

struct Walked {
  Walk_Stop stop = Walk_Stop::none;
  int32_t airports = 0;
  int32_t airspace_files = 0;
  int32_t airspaces = 0;
};

Walked Walk(const std::vector<uint8_t>& bytes, bool read_mode) {
  Program_State st;
  st.first_run = !read_mode;
  st.db_ready = read_mode;
  st.cur_airport.lat = 47.5;
  st.cur_airport.lon = -122.5;
  const Bgl_Image image = Make_Bgl_Image(bytes);
  Bgl_Reader rd(image);
  const Walk_Stop stop = Scan_Bgl_File(st, rd, "f.bgl", Read_Airspace_Section);
  return {stop, st.airport_count, st.airspace_file_count, st.airspace_count};
}

sw::Airspace_Group Group() {
  return sw::Airspace_Group()
      .Box(47.0, -123.0, 48.0, -122.0)
      .Name("D")
      .Center(47.5, -122.5)
      .Circle(5000, 0, 2500);
}

TEST(Walk_Bounds, Records_That_Point_Back_End_Every_Level_Of_The_Walk) {
  for (const int32_t size : {-8, -9, -1000, INT32_MIN}) {
    // Airport section: a block record, a detail record and a taxiway record pointing back (a
    // block's last record has no next one in its block, so the record stands between two).
    Walked w = Walk(sw::Bgl_File()
                        .Add(sw::Airport_Block()
                                 .Add(sw::Airport("A1"))
                                 .Raw_Record(7, {}, size)
                                 .Add(sw::Airport("A2")))
                        .Build()
                        .bytes,
                    false);
    EXPECT_EQ(w.stop, Walk_Stop::no_progress) << size;
    EXPECT_EQ(w.airports, 1);
    w = Walk(sw::Bgl_File()
                 .Add(sw::Airport("A1").Raw_Record(sw::RECORD_SKIPPED_3, {}, size))
                 .Build()
                 .bytes,
             false);
    EXPECT_EQ(w.stop, Walk_Stop::no_progress) << size;
    EXPECT_EQ(w.airports, 1);
    sw::Airport taxi("A1");
    taxi.Taxiway(sw::Taxiway_Record().Points({{0, 1.0f, 2.0f}}).Size_Field(size));
    w = Walk(sw::Bgl_File().Add(taxi).Build().bytes, false);
    EXPECT_NE(w.stop, Walk_Stop::none) << size;
    EXPECT_EQ(w.airports, 1);
    // The airport section's own blocks.
    w = Walk(sw::Bgl_File()
                 .Add(sw::Airport_Block().Add(sw::Airport("A1")).Size_Field(size))
                 .Build()
                 .bytes,
             false);
    EXPECT_EQ(w.stop, Walk_Stop::no_progress) << size;
    EXPECT_EQ(w.airports, 1);

    // Airspace: level 1, level 2 and level 3, in both modes.
    for (const bool read_mode : {false, true}) {
      w = Walk(sw::Bgl_File()
                   .Add(sw::Airspace_Container().Add(Group()))
                   .Airspace_Raw(sw::SPACE_LIST, {0, 0, 0, 0}, size)
                   .Build()
                   .bytes,
               read_mode);
      EXPECT_EQ(w.stop, Walk_Stop::no_progress) << size;
      EXPECT_EQ(read_mode ? w.airspaces : w.airspace_files, 1) << size << read_mode;
      // Inside a container only a normal run walks.
      if (!read_mode) continue;
      w = Walk(
          sw::Bgl_File()
              .Add(sw::Airspace_Container().Add(Group()).Raw(sw::SPACE_LIST, {0, 0, 0, 0}, size))
              .Build()
              .bytes,
          read_mode);
      EXPECT_NE(w.stop, Walk_Stop::none) << size;
      w = Walk(sw::Bgl_File()
                   .Add(sw::Airspace_Container().Add(Group().Raw(sw::SPACE_SKIP, {}, size)))
                   .Build()
                   .bytes,
               read_mode);
      EXPECT_NE(w.stop, Walk_Stop::none) << size;
    }
  }
}

TEST(Walk_Bounds, A_Huge_Block_Count_Ends_At_The_End_Of_The_Image) {
  // 0x7FFFFFFF records of 8 bytes each would be 16 GB: the walk stops at the image's end.
  const sw::Built_File f =
      sw::Bgl_File()
          .Add(sw::Airport_Block().Add(sw::Airport("A1")).Raw_Record(7).Count(0x7FFFFFFF))
          .Build();
  const Walked w = Walk(f.bytes, false);
  EXPECT_EQ(w.stop, Walk_Stop::out_of_image);
  EXPECT_EQ(w.airports, 1);
}

}  // namespace
}  // namespace orv
