#include "tools/fs_world.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "support/scenery_writer.h"

namespace orv::fs_world {
namespace {

namespace sw = orv::scenery_writer;
namespace fs = std::filesystem;

constexpr const char* kMarker = "world-complete.txt";

// A position spread over the inhabited latitudes, different for every airport number.
double Lat_Of(int64_t n) {
  return -55.0 + static_cast<double>((n * 7919) % 11000) / 100.0;
}
double Lon_Of(int64_t n) {
  return -179.0 + static_cast<double>((n * 104729) % 35800) / 100.0;
}

std::string Ident_Of(int64_t n) {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string ident = "K";
  for (int i = 0; i < 3; ++i, n /= 26) ident.push_back(kLetters[n % 26]);
  if (n > 0) ident += std::to_string(n);
  return ident;
}

sw::Taxiway_Record Ground_Layout() {
  std::vector<sw::Taxi_Point_Spec> points(200);
  for (size_t i = 0; i < points.size(); ++i) {
    points[i] = {.kind = static_cast<int32_t>(i % 3),
                 .x = static_cast<float>(i % 20) * 40,
                 .y = static_cast<float>(i / 20) * 40};
  }
  std::vector<sw::Path_Spec> paths(300);
  for (int i = 0; i < 300; ++i) {
    paths[static_cast<size_t>(i)] = {.start = i % 200, .end = (i + 1) % 200, .name = i % 8};
  }
  std::vector<sw::Parking_Spec> gates(60);
  for (int i = 0; i < 60; ++i) {
    gates[static_cast<size_t>(i)] = {.x = static_cast<float>(i) * 30,
                                     .y = -100,
                                     .radius = 20,
                                     .identity = sw::Parking_Identity(12, i)};
  }
  return sw::Taxiway_Record().Points(points).Parkings(gates).Paths(paths).Names(
      {"A", "B", "C", "D", "E", "F", "G", "H"});
}

sw::Airport Make_Airport(int64_t n, bool large) {
  const double lat = Lat_Of(n), lon = Lon_Of(n);
  sw::Airport a(Ident_Of(n));
  a.Reference(lat, lon).Name("Field " + std::to_string(n));
  a.Frequency(7, "118.3").Frequency(6, "121.9");
  if (large) a.Frequency(9, "119.2").Frequency(8, "124.6");
  const int runways = large ? 3 : 1 + static_cast<int>(n % 2);
  for (int r = 0; r < runways; ++r) {
    a.Runway({.lat = lat + r * 0.002,
              .lon = lon,
              .elevation_m = 100,
              .true_heading = 10.0 + r * 60,
              .length_ft = 4000 + r * 2000,
              .width_ft = 100,
              .number = 1 + r * 6});
  }
  if (large) {
    static const sw::Taxiway_Record ground = Ground_Layout();
    a.Ils({.lat = lat + 0.01, .lon = lon, .true_course = 10, .ident = "IGEN"});
    a.Ils({.lat = lat - 0.01, .lon = lon, .true_course = 190, .ident = "IGES"});
    a.Taxiway(ground);
  }
  return a;
}

std::vector<uint8_t> Airport_File(const World_Shape& shape, int64_t file) {
  sw::Bgl_File bgl;
  for (int32_t i = 0; i < shape.airports_per_file; ++i) {
    const int64_t n = file * shape.airports_per_file + i;
    bgl.Add(Make_Airport(n, shape.large_every > 0 && n % shape.large_every == 0));
  }
  return bgl.Build().bytes;
}

// Forty sectors of a 20-sided outline each, boxed around points of the world.
std::vector<uint8_t> Airspace_File(int64_t file) {
  sw::Airspace_Container c;
  for (int g = 0; g < 40; ++g) {
    const int64_t n = file * 40 + g;
    const double lat = Lat_Of(n * 13), lon = Lon_Of(n * 13);
    sw::Airspace_Group group;
    group.Box(lat - 0.5, lon - 0.5, lat + 0.5, lon + 0.5).Name("SECTOR " + std::to_string(n));
    group.Start(lat + 0.4, lon, 0, 3000 + static_cast<int32_t>(n % 8) * 1000);
    for (int k = 1; k < 20; ++k) {
      const double angle = k * 2 * 3.14159265358979 / 20;
      group.Line(lat + 0.4 * std::cos(angle), lon + 0.4 * std::sin(angle));
    }
    c.Add(group);
  }
  return sw::Bgl_File().Add(c).Build().bytes;
}

// Terrain and object files: the header, then bytes this program never looks at.
std::vector<uint8_t> Filler_File(const World_Shape& shape, int64_t file) {
  const int64_t size = shape.filler_bytes / 2 + (file * 7757) % std::max(shape.filler_bytes, 1);
  std::vector<uint8_t> tail(static_cast<size_t>(size));
  uint32_t x = static_cast<uint32_t>(file) * 2654435761u + 1;
  for (uint8_t& b : tail) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return sw::Bgl_File().Tail(tail).Build().bytes;
}

void Write_File(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

int16_t Variation(int lat, int lon) {
  return sw::Mag_Var_Units(15.0 * std::sin(lon * 0.0174532925199433) + 0.05 * lat);
}

}  // namespace

World_Shape Fs2002_Shape() {
  return {.name = "fs2002-world",
          .areas = 120,
          .airport_files = 600,
          .airports_per_file = 40,
          .large_every = 20,
          .airspace_files = 300,
          .filler_files = 3200,
          .filler_bytes = 104000};
}

World_Shape Small_Files_Shape() {
  return {.name = "small-files-world",
          .areas = 30,
          .airport_files = 2100,
          .airports_per_file = 16,
          .large_every = 0,
          .airspace_files = 0,
          .filler_files = 0,
          .filler_bytes = 0};
}

World_Summary Make_World(const fs::path& parent, const World_Shape& shape) {
  World_Summary summary;
  summary.root = parent / shape.name;
  const fs::path marker = summary.root / kMarker;
  const int64_t total = int64_t{shape.airport_files} + shape.airspace_files + shape.filler_files;
  if (fs::exists(marker)) {
    std::ifstream in(marker);
    in >> summary.scenery_files >> summary.scenery_bytes;
    if (in) return summary;
  }
  fs::remove_all(summary.root);
  sw::Sim_Folder sim(summary.root);
  sim.Magdec(sw::Magdec_File(Variation), "Scenery/magdec.bgl");
  for (int32_t a = 0; a < shape.areas; ++a) {
    const std::string number = std::to_string(1000 + a).substr(1);
    sim.Area({.title = "Scenery Area " + number, .local = "Scenery\\Area" + number});
  }
  const sw::Sim_Paths paths = sim.Write();
  // File k goes to area k mod areas; the kinds are interleaved so every area holds some of each.
  int64_t airport_next = 0, airspace_next = 0, filler_next = 0;
  for (int64_t k = 0; k < total; ++k) {
    std::vector<uint8_t> bytes;
    std::string name;
    const int64_t quota_airports = (k + 1) * shape.airport_files / total;
    const int64_t quota_airspace = (k + 1) * shape.airspace_files / total;
    if (airport_next < quota_airports) {
      name = "ap" + std::to_string(airport_next) + ".bgl";
      bytes = Airport_File(shape, airport_next++);
    } else if (airspace_next < quota_airspace) {
      name = "AS" + std::to_string(airspace_next) + ".BGL";
      bytes = Airspace_File(airspace_next++);
    } else {
      name = "obj" + std::to_string(filler_next) + ".bgl";
      bytes = Filler_File(shape, filler_next++);
    }
    Write_File(paths.area_folders[static_cast<size_t>(k % shape.areas)] / name, bytes);
    ++summary.scenery_files;
    summary.scenery_bytes += static_cast<int64_t>(bytes.size());
  }
  std::ofstream(marker) << summary.scenery_files << ' ' << summary.scenery_bytes << '\n';
  return summary;
}

}  // namespace orv::fs_world
