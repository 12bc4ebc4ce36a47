// The diagram's geometry measured in pixels, its labels as a property, and its drawing calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/drawing_json.h"
#include "chart/chart_hit_test.h"
#include "chart/chart_layers.h"
#include "chart/diagram_painter.h"
#include "chart/recording_canvas.h"
#include "chart/view_motion.h"
#include "support/diagram_sample.h"

namespace orv {
namespace {

using testing::North_South_Runway;
using testing::Small_Airport;

double Dist(Pt a, Pt b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

Diagram_Frame Frame_At(double lat, double lon, int zoom, int32_t w = 800, int32_t h = 600) {
  Chart_View view;
  view.win_w_px = w;
  view.win_h_px = h;
  Load_View(view, lon, lat);
  while (view.zoom_level < zoom) Zoom_In(view);
  return Frame_Of_View(view, w, h);
}

TEST(Diagram_Geometry, A_Metre_Is_The_Same_Pixels_In_Every_Direction_And_Clicks_Come_Back) {
  for (const double lat : {0.0, 47.0, 65.0}) {
    const Diagram_Frame f = Frame_At(lat, 10.0, 15);
    const Pt c = Diagram_Project(f, lat, 10.0);
    EXPECT_NEAR(c.x, f.width / 2.0, 1e-6);
    EXPECT_NEAR(c.y, f.height / 2.0, 1e-6);
    const double want = 10000.0 * f.Px_Per_Foot();
    for (const int course : {0, 45, 90, 135, 180, 270}) {
      const Geo_Point p = Point_At_Ft(lat, 10.0, course, 10000);
      EXPECT_NEAR(Dist(Diagram_Project(f, p.lat, p.lon), c) / want, 1.0, 0.002)
          << lat << " " << course;
    }
    // The position under a click, re-centred on, is drawn at the middle of the surface.
    const Geo_Pos at = Diagram_Unproject(f, 123.0, 456.0);
    const Pt back = Diagram_Project(f, at.lat, at.lon);
    EXPECT_NEAR(back.x, 123.0, 1e-6);
    EXPECT_NEAR(back.y, 456.0, 1e-6);
  }
}

TEST(Diagram_Geometry, The_Wheel_Keeps_The_Place_Under_The_Pointer_And_A_Drag_Moves_It_Along) {
  Chart_View view;
  view.win_w_px = 800;
  view.win_h_px = 600;
  Load_View(view, 8.55, 65.0);
  const Geo_Pos under = Diagram_Unproject(Frame_Of_View(view, 800, 600), 650.0, 120.0);
  for (int step = 0; step < 6; ++step) {
    ASSERT_TRUE(Zoom_About_Diagram(view, true, 650.0, 120.0, 800, 600));
    const Pt now = Diagram_Project(Frame_Of_View(view, 800, 600), under.lat, under.lon);
    EXPECT_NEAR(now.x, 650.0, 0.5) << step;
    EXPECT_NEAR(now.y, 120.0, 0.5) << step;
  }
  Slide_Diagram(view, -40.0, 25.0, 800, 600);
  const Pt moved = Diagram_Project(Frame_Of_View(view, 800, 600), under.lat, under.lon);
  EXPECT_NEAR(moved.x, 610.0, 0.5);
  EXPECT_NEAR(moved.y, 145.0, 0.5);
}

TEST(Diagram_Geometry, Runway_Surface_Runs_30_Metres_Past_The_Stored_Ends_Of_Long_Runways) {
  const Diagram_Frame f = Frame_At(47.0, -122.0, 15);
  const double ppf = f.Px_Per_Foot();
  const Runway_Rec longer = North_South_Runway(47.0, -122.0, 11704.0, 11901, 150);
  const auto s = Runway_Geometry(f, longer);
  ASSERT_TRUE(s);
  const double ext_ft = 30.0 / 0.3048;
  EXPECT_NEAR(Dist(s->full1, s->full2) / ppf, 11704.0 + 2.0 * ext_ft, 5.0);
  EXPECT_NEAR(Dist(s->full1, s->end1) / ppf, ext_ft, 0.5);
  EXPECT_NEAR(Dist(s->corner[0], s->corner[3]) / ppf, 150.0, 0.5);
  EXPECT_NEAR(Dist(s->corner[1], s->corner[2]) / ppf, 150.0, 0.5);
  EXPECT_NEAR(Dist(s->corner[0], s->corner[1]), Dist(s->full1, s->full2), 1e-6);
  // North up: end 1 (south) lies below end 2.
  EXPECT_GT(s->end1.y, s->end2.y);
  EXPECT_NEAR(s->end1.x, s->end2.x, 1e-6);

  const Runway_Rec shorter = North_South_Runway(47.0, -122.0, 900.0, 900, 60);
  const auto t = Runway_Geometry(f, shorter);
  ASSERT_TRUE(t);
  EXPECT_NEAR(Dist(t->full1, t->full2) / ppf, 900.0, 1.0);
}

TEST(Diagram_Geometry, Taxiway_Bands_Keep_Their_Ground_Width_And_Skip_Runway_Segments) {
  const Program_State st = Small_Airport();
  const Recording_Canvas measure;
  double widths[2] = {};
  for (const int zoom : {13, 14}) {
    const Diagram_Frame f = Frame_At(47.0, -122.0, zoom);
    Diagram_Options o;
    o.zoom_level = static_cast<int16_t>(zoom);
    const Diagram_Picture pic = Build_Diagram(st, f, o, measure);
    // Six named segments, C, the unnamed one and the one to the gate; not the runway's.
    ASSERT_EQ(pic.taxiways.polygons.size(), 9u) << zoom;
    const auto& band = pic.taxiways.polygons[0].points;
    widths[zoom - 13] = Dist(band[0], band[3]);
    EXPECT_NEAR(widths[zoom - 13], TAXIWAY_WIDTH_FT * f.Px_Per_Foot(), 1e-6);
  }
  EXPECT_NEAR(widths[1] / widths[0], 2.0, 1e-9);
}

// The tooltips' hit test finds over the diagram what the diagram draws there: a gate within
// its circle, a taxiway on its band's edge, a runway inside its surface's corner, and nothing
// on the bare ground.
TEST(Diagram_Hit_Test, Finds_What_Is_Drawn_Under_The_Pointer) {
  const Program_State st = Small_Airport();
  const Diagram_Frame f = Frame_At(47.0, -122.0, 15);
  Diagram_Options o;
  o.zoom_level = 15;
  const Diagram_Picture pic = Build_Diagram(st, f, o, Recording_Canvas());
  const auto hit = [&](Pt p) { return Hit_Text(st, Hit_Test_Diagram(st, f, 15, 1.0, p.x, p.y)); };
  const Diagram_Disc& gate = pic.parkings.discs.at(0);
  EXPECT_EQ(hit({gate.centre.x + gate.r - 0.5, gate.centre.y}), "GATE A 12\nRadius 80 ft");
  const auto& band = pic.taxiways.polygons.at(0).points;
  const Pt edge{(band[0].x + band[1].x) / 2.0, (band[0].y + band[1].y) / 2.0};
  const Pt middle{(band[0].x + band[2].x) / 2.0, (band[0].y + band[2].y) / 2.0};
  EXPECT_EQ(hit({edge.x + (middle.x - edge.x) * 0.1, edge.y + (middle.y - edge.y) * 0.1}),
            "Taxiway A");
  const auto& runway = pic.runways.polygons.at(0).points;
  const Pt inside{runway[0].x + (runway[2].x - runway[0].x) * 0.01,
                  runway[0].y + (runway[2].y - runway[0].y) * 0.01};
  EXPECT_EQ(hit(inside).substr(0, 12), "Runway 36/18");
  EXPECT_EQ(hit({f.width - 20.0, f.height - 20.0}), "");
}

// Every box placed keeps clear of every other, and each named run gets its label once at a zoom
// where there is room.
TEST(Diagram_Labels, Placed_Boxes_Never_Overlap_And_Every_Taxiway_Is_Named) {
  const Program_State st = Small_Airport();
  const Recording_Canvas measure;
  Diagram_Options o;
  o.zoom_level = 16;
  o.inset = {8, 8, 792, 592};
  const Diagram_Picture pic = Build_Diagram(st, Frame_At(47.0, -122.0, 16), o, measure);
  for (size_t i = 0; i < pic.label_boxes.size(); ++i) {
    for (size_t j = i + 1; j < pic.label_boxes.size(); ++j) {
      EXPECT_FALSE(Boxes_Overlap(pic.label_boxes[i], pic.label_boxes[j])) << i << " " << j;
    }
  }
  int count[3] = {};
  bool gate = false;
  for (const Diagram_Label& l : pic.labels.labels) {
    if (l.text == "A" || l.text == "B" || l.text == "C") ++count[l.text[0] - 'A'];
    gate = gate || l.text == "A12";
  }
  EXPECT_EQ(count[0], 1);
  EXPECT_EQ(count[1], 1);
  EXPECT_EQ(count[2], 1);
  EXPECT_TRUE(gate);
  // Under the window's own buttons no label is placed.
  Diagram_Options buttons = o;
  buttons.keep_clear = {{0, 0, 800, 600}};
  EXPECT_TRUE(
      Build_Diagram(st, Frame_At(47.0, -122.0, 16), buttons, measure).labels.labels.empty());
  // Zoomed out, the gate's circle is too small for its label: the label goes beside it.
  o.zoom_level = 13;
  const Diagram_Picture out = Build_Diagram(st, Frame_At(47.0, -122.0, 13), o, measure);
  const Diagram_Disc& circle = out.parkings.discs.at(0);
  const auto a12 = std::find_if(out.labels.labels.begin(), out.labels.labels.end(),
                                [](const Diagram_Label& l) { return l.text == "A12"; });
  ASSERT_NE(a12, out.labels.labels.end());
  EXPECT_GT(Dist(a12->at, circle.centre), circle.r);

  // A crowd of labels much larger than the surface: still none on top of another.
  Label_Grid grid(20.0);
  std::vector<Box> placed;
  for (int i = 0; i < 4000; ++i) {
    const double x = (i * 37) % 500;
    const double y = (i * 91) % 400;
    const Box b{x, y, x + 8.0 + i % 30, y + 6.0 + i % 7};
    if (grid.Place(b)) placed.push_back(b);
  }
  placed.push_back({-1e6, 190, 1e6, 191});
  const bool wide_placed = grid.Place(placed.back());
  if (!wide_placed) placed.pop_back();
  for (size_t i = 0; i < placed.size(); ++i) {
    for (size_t j = i + 1; j < placed.size(); ++j) {
      ASSERT_FALSE(Boxes_Overlap(placed[i], placed[j])) << i << " " << j;
    }
  }
}

TEST(Diagram_Furniture, Frequencies_In_Calling_Order_And_The_Title_Block_Texts) {
  Airport_Entry a;
  a.freq7 = "121.1";
  a.freq5 = "121.9";
  a.freq6 = "119.9";
  a.freq9 = "";
  a.freq8 = "119.2";
  a.freq10 = "125.6";
  a.freq1 = "118.0";
  std::string text;
  for (const Frequency_Line& l : Frequency_Box_Lines(a))
    text += std::string(l.kind) + " " + l.freq + ";";
  EXPECT_EQ(text, "ATIS 118.0;CLNC 121.1;GND 121.9;TWR 119.9;APP 119.2;CTR 125.6;");
  EXPECT_EQ(Short_Parking_Label("GATE A 12"), "A12");
  EXPECT_EQ(Short_Parking_Label("PARKING 12"), "12");
  EXPECT_EQ(Short_Parking_Label("N PARKING 3"), "N3");
  EXPECT_EQ(Degrees_Minutes_Text(47.4489, -122.3094),
            "N47\xB0"
            "26.9' W122\xB0"
            "18.6'");
  EXPECT_EQ(Field_Elevation_Ft(Small_Airport().cur_airport), 433);
}

TEST(Diagram_Drawing, Polygons_And_Sized_Texts_Are_Recorded_And_Written_As_Json) {
  Program_State st = Small_Airport();
  Chart_View view;
  view.win_w_px = 800;
  view.win_h_px = 600;
  Load_View(view, -122.0, 47.0);
  while (view.zoom_level < 15) Zoom_In(view);
  Recording_Canvas canvas;
  Draw_Diagram(canvas, st, view, 800, 600, false, false);
  size_t polygons = 0;
  size_t texts = 0;
  for (const Draw_Call& c : canvas.Calls()) {
    polygons += c.op == Draw_Op::polygon;
    if (c.op == Draw_Op::text) {
      ++texts;
      ASSERT_TRUE(c.style);
      EXPECT_TRUE(c.antialias);
    }
  }
  EXPECT_GE(polygons, 11u);  // the background, two runways and nine bands at least
  EXPECT_GE(texts, 8u);
  const std::string json = Drawing_Commands_Json(canvas.Calls());
  EXPECT_NE(json.find("{\"op\":\"polygon\",\"points\":[["), std::string::npos);
  EXPECT_NE(json.find("\"text\":\"KTST\",\"size\":13,\"angle\":0.0,\"box\":[["), std::string::npos);
  // The pen is left as the classic chart leaves it.
  EXPECT_EQ(canvas.Pen(), Pen_State{});
  EXPECT_FALSE(canvas.Antialiasing());
}

}  // namespace
}  // namespace orv
