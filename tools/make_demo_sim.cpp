// Writes the demo simulator folder: fs2002.exe, scenery.cfg with four areas, a magnetic
// variation grid, and scenery files for the Seattle area (Seattle-Tacoma with its three
// runways, ILS, taxiways and gates; Boeing Field; Paine Field; Harvey Field) with the Class B,
// Class C, Class D and centre airspace around them. Everything is made by the project's own
// scenery writer from the file formats.
//
// With --non-ascii a fifth area adds airports whose identifiers, names, taxiway names and
// airspace names hold what Windows-1252 text can: accented letters, the five bytes it leaves
// undefined, its letters and signs in 0x80-0x9F, and control bytes (every byte but zero, line
// ends and the separators of an item).
//
//   make_demo_sim [--non-ascii] FOLDER
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "support/scenery_writer.h"

namespace {

namespace sw = orv::scenery_writer;

constexpr double kPi = 3.14159265358979;

// A point given in metres east and north of an airport's reference point.
struct Local {
  double lat;
  double lon;
};

Local Offset(double ref_lat, double ref_lon, double east_m, double north_m) {
  const double deg_per_m = 1.0 / (1852.0 * 60.0);
  return {ref_lat + north_m * deg_per_m,
          ref_lon + east_m * deg_per_m / std::cos(ref_lat * kPi / 180.0)};
}

// A smooth made-up variation field, about 16 degrees east over Seattle.
int16_t Demo_Variation(int lat, int lon) {
  const double east = lon > 180 ? lon - 360.0 : lon;
  const double degrees = 16.0 * std::cos((east + 122.0) * kPi / 180.0) + 0.08 * (lat - 47);
  return sw::Mag_Var_Units(degrees);
}

sw::Runway_Spec Runway_At(double ref_lat, double ref_lon, double east, double north,
                          int32_t length_ft, double heading, int32_t number, int32_t side,
                          int32_t elevation_m) {
  const Local c = Offset(ref_lat, ref_lon, east, north);
  return {.lat = c.lat,
          .lon = c.lon,
          .elevation_m = elevation_m,
          .true_heading = heading,
          .length_ft = length_ft,
          .width_ft = 150,
          .side = side,
          .number = number};
}

// Seattle-Tacoma: three parallel runways, two parallel taxiways with connectors, a terminal
// with three concourses of gates, and ILS on both ends of the long runway.
sw::Airport Seattle_Tacoma() {
  const double lat = 47.4489, lon = -122.3094;
  sw::Airport a("KSEA");
  a.Reference(lat, lon).Name("Seattle-Tacoma Intl");
  a.Frequency(7, "118").Frequency(5, "119.9").Frequency(6, "121.7").Frequency(9, "119.2");
  a.Frequency(8, "120.1").Frequency(10, "128.5").Frequency(1, "121.9");
  const sw::Runway_Spec r16l = Runway_At(lat, lon, 100, 0, 11901, 179.6, 16, 1, 131);
  a.Runway(r16l);
  const Local t16l = Offset(lat, lon, 100, 1700);
  const Local t34r = Offset(lat, lon, 100, -1700);
  a.Ils({.lat = t16l.lat,
         .lon = t16l.lon,
         .true_course = 179.6,
         .frequency = "111.7",
         .ident = "ISNQ"});
  a.Ils({.lat = t34r.lat,
         .lon = t34r.lon,
         .true_course = 359.6,
         .frequency = "110.3",
         .ident = "ISEA"});
  a.Runway(Runway_At(lat, lon, -150, -150, 9426, 179.6, 16, 3, 128));
  const Local t16c = Offset(lat, lon, -150, 1200);
  a.Ils({.lat = t16c.lat,
         .lon = t16c.lon,
         .true_course = 179.6,
         .frequency = "111.35",
         .ident = "IAQY"});
  a.Runway(Runway_At(lat, lon, -400, -600, 8500, 179.6, 16, 2, 125));

  // Points: taxiway A at 450 m east, B at 250 m east, runway 16L at 100 m east, every 400 m.
  std::vector<sw::Taxi_Point_Spec> points;
  const std::vector<float> rows = {-1600, -1200, -800, -400, 0, 400, 800, 1200, 1600};
  for (float x : {450.0f, 250.0f, 100.0f}) {
    for (float y : rows) points.push_back({.kind = 1, .x = x, .y = y});
  }
  const int32_t n = static_cast<int32_t>(rows.size());
  auto at = [n](int column, int row) { return column * n + row; };
  std::vector<sw::Path_Spec> paths;
  for (int row = 0; row + 1 < n; ++row) {
    paths.push_back({.kind = 0, .start = at(0, row), .end = at(0, row + 1), .name = 0});  // A
    paths.push_back({.kind = 0, .start = at(1, row), .end = at(1, row + 1), .name = 1});  // B
    paths.push_back({.kind = 1, .start = at(2, row), .end = at(2, row + 1), .name = 0});  // 16L
  }
  for (int row = 0; row < n; ++row) {
    const int32_t name = 2 + row;  // connectors J to R
    paths.push_back({.kind = 0, .start = at(0, row), .end = at(1, row), .name = name});
    paths.push_back({.kind = 0, .start = at(1, row), .end = at(2, row), .name = name});
  }
  // Gates on concourses A, B and C east of taxiway A, each joined to the taxiway.
  std::vector<sw::Parking_Spec> gates;
  int32_t gate = 0;
  for (int concourse = 0; concourse < 3; ++concourse) {
    for (int i = 0; i < 4; ++i) {
      const float y = static_cast<float>(-1300 + concourse * 1000 + i * 250);
      gates.push_back({.x = 560,
                       .y = y,
                       .radius = 25,
                       .identity = sw::Parking_Identity(12 + concourse, i + 1, 9)});
      points.push_back({.kind = 2, .x = 450, .y = y});
      const int32_t from = static_cast<int32_t>(points.size()) - 1;
      paths.push_back({.kind = 2, .start = from, .end = gate++, .name = 0});
    }
  }
  for (int i = 0; i < 4; ++i) {
    gates.push_back({.x = 650,
                     .y = static_cast<float>(-1550 - i * 110),
                     .radius = 15,
                     .identity = sw::Parking_Identity(5, i + 1, 5)});
  }
  a.Taxiway(sw::Taxiway_Record().Points(points).Parkings(gates).Paths(paths).Names(
      {"A", "B", "J", "K", "L", "M", "N", "P", "Q", "R", "S"}));
  return a;
}

sw::Airport Boeing_Field() {
  const double lat = 47.5300, lon = -122.3020;
  sw::Airport a("KBFI");
  a.Reference(lat, lon).Name("Boeing Field/King County Intl");
  a.Frequency(7, "127.75").Frequency(5, "120.6").Frequency(9, "119.2").Frequency(8, "120.1");
  a.Runway(Runway_At(lat, lon, 80, 0, 10000, 157, 14, 2, 6));
  const Local ils = Offset(lat, lon, 80, 1400);
  a.Ils(
      {.lat = ils.lat, .lon = ils.lon, .true_course = 157, .frequency = "110.9", .ident = "IBFI"});
  a.Runway(Runway_At(lat, lon, -90, 60, 3710, 157, 14, 1, 6));
  a.Taxiway(
      sw::Taxiway_Record()
          .Points({{.kind = 1, .x = 250, .y = -900},
                   {.kind = 1, .x = 250, .y = 0},
                   {.kind = 1, .x = 250, .y = 900},
                   {.kind = 2, .x = 330, .y = 0}})
          .Parkings({{.x = 400, .y = 0, .radius = 20, .identity = sw::Parking_Identity(4, 1, 4)},
                     {.x = 400, .y = 60, .radius = 20, .identity = sw::Parking_Identity(4, 2, 4)}})
          .Paths({{.kind = 0, .start = 0, .end = 1, .name = 0},
                  {.kind = 0, .start = 1, .end = 2, .name = 0},
                  {.kind = 2, .start = 3, .end = 0, .name = 0},
                  {.kind = 2, .start = 3, .end = 1, .name = 0}})
          .Names({"A"}));
  return a;
}

sw::Airport Small_Airport(const char* ident, const char* name, double lat, double lon,
                          int32_t length_ft, double heading, int32_t number, int32_t elevation_m) {
  sw::Airport a(ident);
  a.Reference(lat, lon).Name(name).Frequency(7, "122.8");
  a.Runway(Runway_At(lat, lon, 0, 0, length_ft, heading, number, 0, elevation_m));
  return a;
}

// The Seattle Class B as an inner circle and an outer shelf of lines and arcs; Class C at
// Paine Field, Class D at Boeing Field, and the centre sector over all of them.
sw::Built_File Airspace_File() {
  const double lat = 47.4489, lon = -122.3094;
  const Local n = Offset(lat, lon, 0, 20 * 1852.0);
  const Local e = Offset(lat, lon, 20 * 1852.0, 0);
  const Local s = Offset(lat, lon, 0, -20 * 1852.0);
  const Local w = Offset(lat, lon, -20 * 1852.0, 0);
  sw::Airspace_Container c;
  c.Add(sw::Airspace_Group()
            .Box(47.0, -122.9, 47.9, -121.7)
            .Name("SEATTLE CLASS B")
            .Center(lat, lon)
            .Circle(6, 0, 10000));
  c.Add(sw::Airspace_Group()
            .Box(47.0, -122.9, 47.9, -121.7)
            .Name("SEATTLE CLASS B")
            .Name("OUTER SHELF")
            .Center(lat, lon)
            .Start(n.lat, n.lon, 3000, 10000)
            .Arc_Cw(e.lat, e.lon)
            .Arc_Cw(s.lat, s.lon)
            .Line(s.lat - 0.1, s.lon)
            .Line(w.lat - 0.1, w.lon - 0.15)
            .Line(w.lat, w.lon)
            .Arc_Cw(n.lat, n.lon));
  const double paine_lat = 47.9063, paine_lon = -122.2816;
  c.Add(sw::Airspace_Group()
            .Box(47.6, -122.7, 48.2, -121.9)
            .Name("PAINE CLASS C")
            .Center(paine_lat, paine_lon)
            .Circle(5, 0, 4000));
  c.Add(sw::Airspace_Group()
            .Box(47.4, -122.5, 47.7, -122.1)
            .Name("BOEING CLASS D")
            .Center(47.53, -122.302)
            .Circle(4, 0, 2500));
  c.Add(sw::Airspace_Group()
            .Box(45.5, -125.0, 49.0, -119.0)
            .Name("SEATTLE CENTER")
            .Frequency("125.1", "SEATTLE CTR")
            .Start(49.0, -125.0, 0, 60000)
            .Line(49.0, -119.0)
            .Line(45.5, -119.0)
            .Line(45.5, -125.0));
  return sw::Bgl_File().Add(c).Build();
}

// Airports whose texts are Windows-1252 bytes outside ASCII, around Iberia.
sw::Built_File Non_Ascii_File() {
  const double lat = 40.4722, lon = -3.5608;
  sw::Airport sande("OHC");
  sande.Reference(lat, lon).Name("Sa\xF1nd\xE9 Municipal").Frequency(7, "118.15");
  sande.Runway(Runway_At(lat, lon, 0, 0, 6000, 140, 14, 0, 600));
  sande.Taxiway(
      sw::Taxiway_Record()
          .Points({{.kind = 1, .x = 200, .y = -500}, {.kind = 1, .x = 200, .y = 500}})
          .Parkings({{.x = 300, .y = 0, .radius = 20, .identity = sw::Parking_Identity(4, 1, 4)}})
          .Paths({{.kind = 0, .start = 0, .end = 1, .name = 0}})
          .Names({"\xC4\xF6"}));
  sw::Built_File file =
      sw::Bgl_File()
          .Add(sande)
          .Add(Small_Airport("\xC5SA", "\xC5sa F\xE6r\xF8 \xDF\xFF", 41.2, -4.1, 3000, 90, 9, 700))
          .Add(Small_Airport("U81", "Und\x81\x8D\x8F\x90\x9D Field", 41.4, -4.3, 3000, 20, 2, 700))
          .Add(Small_Airport("E80",
                             "\x80 \x83\x8A\x8C\x8E\x9A\x9C\x9E\x9F \x91\x93\x96\x99\xA0\xBF", 41.6,
                             -4.5, 3000, 50, 5, 700))
          .Add(
              Small_Airport("C01", "Ctl\x01\x09\x1B\x1F\x7F Strip", 41.8, -4.7, 3000, 180, 18, 700))
          .Add(sw::Airspace_Container().Add(sw::Airspace_Group()
                                                .Box(39.5, -5.0, 42.5, -2.0)
                                                .Name("SA\xD1ND\xC9 CLASE C")
                                                .Frequency("118.15", "SA\xD1ND\xC9 APP\x81")
                                                .Center(lat, lon)
                                                .Circle(5, 0, 4000)))
          .Build();
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  const bool non_ascii = argc == 3 && std::string_view(argv[1]) == "--non-ascii";
  if (argc != 2 && !non_ascii) {
    std::fprintf(stderr, "usage: make_demo_sim [--non-ascii] FOLDER\n");
    return 2;
  }
  try {
    sw::Sim_Folder sim(argv[argc - 1]);
    sim.Magdec(sw::Magdec_File(Demo_Variation), "Scenery/magdec.bgl");
    sim.Area({.title = "Default Terrain", .local = "Scenery\\World"});
    sim.Area({.title = "Seattle Area",
              .local = "Scenery\\Seattle",
              .files = {{"KSEA.bgl", sw::Bgl_File().Add(Seattle_Tacoma()).Build().bytes},
                        {"kbfi.BGL", sw::Bgl_File().Add(Boeing_Field()).Build().bytes},
                        {"readme.txt", std::vector<uint8_t>{'h', 'i'}}}});
    sim.Area({.title = "Pacific Northwest Airspace",
              .local = "Scenery\\Airspace",
              .files = {{"seattle_airspace.bgl", Airspace_File().bytes}}});
    sim.Area(
        {.title = "Addon Scenery",
         .local = "Addon Scenery",
         .files = {{"paine.bgl", sw::Bgl_File()
                                     .Add(Small_Airport("KPAE", "Snohomish Co (Paine Fld)", 47.9063,
                                                        -122.2816, 9010, 176, 16, 185))
                                     .Add(Small_Airport("S43", "Harvey Fld", 47.9082, -122.1031,
                                                        2671, 167, 15, 7))
                                     .Build()
                                     .bytes}}});
    if (non_ascii) {
      sim.Area({.title = "A\xF1"
                         "adidos \x80 \xC9t\xE9",
                .local = "Addon Scenery\\Iberia",
                .files = {{"iberia.bgl", Non_Ascii_File().bytes}}});
    }
    const sw::Sim_Paths paths = sim.Write();
    std::printf("%s\n", paths.root.string().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo_sim: %s\n", e.what());
    return 1;
  }
  return 0;
}
