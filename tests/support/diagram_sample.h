// A small airport for the diagram's tests, and its picture as RGB bytes: the Windows tests write
// the GDI canvas's picture as a binary PPM file, the Linux window tests read it back to compare
// it with the painter canvas's picture of the same diagram.
#pragma once

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chart/canvas.h"
#include "chart/chart_projection.h"
#include "chart/diagram_frame.h"
#include "core/program_state.h"

namespace orv::testing {

inline Runway_Rec North_South_Runway(double lat, double lon, double stored_ft, int32_t length_ft,
                                     int32_t width_ft) {
  Runway_Rec w;
  w.end1_name = "36";
  w.end2_name = "18";
  w.end1_lat = lat - stored_ft / 2.0 / FEET_PER_DEGREE;
  w.end1_lon = lon;
  w.end2_lat = lat + stored_ft / 2.0 / FEET_PER_DEGREE;
  w.end2_lon = lon;
  w.length_ft = length_ft;
  w.width_ft = width_ft;
  return w;
}

// Two north-south runways at 47 N 122 W, taxiways A, B and C east of them, a gate and a parking.
inline Program_State Small_Airport() {
  Program_State st;
  Airport_Entry& a = st.cur_airport;
  a.ident = "KTST";
  a.name = "TEST FIELD";
  a.lat = 47.0;
  a.lon = -122.0;
  a.freq6 = "118.3";
  a.freq1 = "127.5";
  a.freq10 = "125.6";
  Append_With_Spare(a.runways, a.runway_count) =
      North_South_Runway(47.0, -122.0, 5000.0, 5197, 100);
  a.runways[0].elev_ft = 410;
  Append_With_Spare(a.runways, a.runway_count) =
      North_South_Runway(47.0, -122.01, 3000.0, 3000, 75);
  a.runways[1].elev_ft = 433;
  // Three taxiways east of the runway, each of three segments: A and B run north-south, C
  // joins them at the middle; one segment of A is unnamed and one lies on the runway.
  const auto point = [&](double dlat, double dlon) {
    a.taxi_points.push_back({0, 47.0 + dlat, -122.0 + dlon});
    return static_cast<int32_t>(a.taxi_points.size() - 1);
  };
  for (const auto& [name, dlon] : {std::pair{"A", 0.002}, std::pair{"B", 0.004}}) {
    int32_t prev = point(-0.006, dlon);
    for (int i = 1; i <= 3; ++i) {
      const int32_t next = point(-0.006 + i * 0.004, dlon);
      a.taxi_paths.push_back({PATH_TAXIWAY, prev, next, name});
      prev = next;
    }
  }
  a.taxi_paths.push_back({PATH_TAXIWAY, 1, 5, "C"});
  a.taxi_paths.push_back({PATH_TAXIWAY, 0, point(-0.006, 0.0), " "});
  a.taxi_paths.push_back({PATH_RUNWAY, 0, 1, "Runway 36"});
  a.parkings.push_back({"GATE A 12", 47.0, -121.995, 80});
  a.parkings.push_back({"PARKING 3", 47.002, -121.995, 60});
  a.taxi_paths.push_back({PATH_PARKING, 5, 0, ""});
  a.taxi_point_count = static_cast<int32_t>(a.taxi_points.size());
  a.taxi_path_count = static_cast<int32_t>(a.taxi_paths.size());
  a.parking_count = 2;
  st.show_twys = st.show_twy_ids = st.show_gates = st.show_ils = true;
  return st;
}

// The picture both canvases draw of Small_Airport: 480 x 360 pixels at zoom 14, day colours.
inline constexpr int32_t kSampleWidth = 480;
inline constexpr int32_t kSampleHeight = 360;

inline Chart_View Sample_Diagram_View() {
  Chart_View view;
  view.win_w_px = kSampleWidth;
  view.win_h_px = kSampleHeight;
  Load_View(view, -122.0, 47.0);
  while (view.zoom_level < 14) Zoom_In(view);
  return view;
}

// Pixels as red, green, blue bytes, rows from the top.
struct Rgb_Picture {
  int32_t w = 0;
  int32_t h = 0;
  std::vector<uint8_t> rgb;

  Rgb At(int32_t x, int32_t y) const {
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

inline bool Write_Ppm(const std::string& path, const Rgb_Picture& p) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << p.w << ' ' << p.h << "\n255\n";
  out.write(reinterpret_cast<const char*>(p.rgb.data()),
            static_cast<std::streamsize>(p.rgb.size()));
  return static_cast<bool>(out);
}

// A picture as Write_Ppm writes it, of at most 4096 pixels a side; nothing for any other file.
inline std::optional<Rgb_Picture> Read_Ppm(const std::string& path) {
  constexpr int32_t kMaxSide = 4096;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  Rgb_Picture p;
  int32_t max = 0;
  in.width(3);
  if (!(in >> magic >> p.w >> p.h >> max) || magic != "P6" || in.get() != '\n') return std::nullopt;
  if (p.w < 1 || p.h < 1 || p.w > kMaxSide || p.h > kMaxSide || max != 255) return std::nullopt;
  p.rgb.resize(3 * static_cast<size_t>(p.w) * static_cast<size_t>(p.h));
  in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
  if (in.gcount() != static_cast<std::streamsize>(p.rgb.size()) || in.peek() != EOF)
    return std::nullopt;
  return p;
}

inline size_t Count_Of(const Rgb_Picture& p, Rgb colour) {
  size_t n = 0;
  for (int32_t y = 0; y < p.h; ++y) {
    for (int32_t x = 0; x < p.w; ++x) n += p.At(x, y) == colour;
  }
  return n;
}

// Whether each channel of `c` lies within `threshold` of the range that channel spans in the
// pixels of `p` within one pixel of (x, y).
inline bool Matched_Near(Rgb c, const Rgb_Picture& p, int32_t x, int32_t y, int threshold) {
  int lo[3] = {255, 255, 255};
  int hi[3] = {0, 0, 0};
  for (int32_t v = std::max(0, y - 1); v <= std::min(p.h - 1, y + 1); ++v) {
    for (int32_t u = std::max(0, x - 1); u <= std::min(p.w - 1, x + 1); ++u) {
      const Rgb q = p.At(u, v);
      const int k[3] = {q.r, q.g, q.b};
      for (int i = 0; i < 3; ++i) lo[i] = std::min(lo[i], k[i]), hi[i] = std::max(hi[i], k[i]);
    }
  }
  const int own[3] = {c.r, c.g, c.b};
  for (int i = 0; i < 3; ++i) {
    if (own[i] < lo[i] - threshold || own[i] > hi[i] + threshold) return false;
  }
  return true;
}

// The share of the pixels of `a` that the pixels of `b` around them do not match (Matched_Near):
// an edge smoothed, or a pixel away, still matches. Pictures of two sizes match nowhere.
inline double Share_Unmatched(const Rgb_Picture& a, const Rgb_Picture& b, int threshold) {
  if (a.w != b.w || a.h != b.h) return 1.0;
  size_t n = 0;
  for (int32_t y = 0; y < a.h; ++y) {
    for (int32_t x = 0; x < a.w; ++x) n += !Matched_Near(a.At(x, y), b, x, y, threshold);
  }
  return static_cast<double>(n) / static_cast<double>(std::max(1, a.w * a.h));
}

}  // namespace orv::testing
