// The chart window driven without a display, its link over an in-memory module or over the
// platform's transport with no simulator around; and the painter canvas drawing into images.
#include "qt/chart_window.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>

#include "app/drawing_json.h"
#include "chart/aircraft_tracking.h"
#include "chart/chart_layers.h"
#include "chart/diagram_painter.h"
#include "chart/recording_canvas.h"
#include "chart/view_motion.h"
#include "data/database_files.h"
#include "data/settings_file.h"
#include "qt/about_window.h"
#include "qt/preferences_window.h"
#include "qt/program_icon.h"
#include "qt/qpainter_canvas.h"
#include "qt/selection_window.h"
#include "simlink/fake_link_transport.h"
#include "simlink/link_module.h"
#include "simlink/sim_choice.h"
#include "support/diagram_sample.h"
#include "window_fixture.h"

namespace orv {
namespace {

constexpr double kLat = 47.449;
constexpr double kLon = -122.309;

class Chart : public Window_Test {
 protected:
  void SetUp() override {
    Window_Test::SetUp();
    // No simulator socket can be found in an empty runtime folder.
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    old_runtime_ = old != nullptr ? old : "";
    had_runtime_ = old != nullptr;
    std::filesystem::create_directories(dir / "run");
    setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);

    st.cur_airport.ident = "KSEA";
    st.cur_airport.name = "SEATTLE-TACOMA INTL";
    st.cur_airport.lat = kLat;
    st.cur_airport.lon = kLon;
    Runway_Rec rwy;  // north-south through the reference point
    rwy.end1_name = "34";
    rwy.end2_name = "16";
    rwy.end1_lat = kLat - 0.2;
    rwy.end1_lon = kLon;
    rwy.end2_lat = kLat + 0.2;
    rwy.end2_lon = kLon;
    st.cur_airport.runways = {rwy, Runway_Rec{}};
    st.cur_airport.runway_count = 1;
    Image_Put(fake_.fake->image, OFS_PRESSURE, 16208, 2);  // 1013 millibars
  }

  void TearDown() override {
    Window_Test::TearDown();
    if (had_runtime_) {
      setenv("XDG_RUNTIME_DIR", old_runtime_.c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }

  // Loads and shows a chart window as the airport fetch does, over the given link.
  Chart_Window* Open_Chart(Link_State link) {
    auto* w = new Chart_Window(st, windows, std::move(link));
    if (!w->Load()) {
      delete w;
      return nullptr;
    }
    w->show();
    return w;
  }

  static double Centre_Lon(const Chart_View& v) { return (v.view_left + v.view_right) / 2; }
  static double Centre_Lat(const Chart_View& v) { return (v.view_top + v.view_bottom) / 2; }

  testing::Fake_Link fake_;
  std::string old_runtime_;
  bool had_runtime_ = false;
};

TEST_F(Chart, TheLoadedWindowHasItsCaptionSizesTimerAndFrame) {
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("SEATTLE-TACOMA INTL Chart"));
  Expect_Built(w, CHART_WINDOW, false);
  // The outer size, and the client area of the design under the menu bar.
  EXPECT_EQ(w->View().win_w_px, w->frameGeometry().width());
  EXPECT_EQ(w->View().win_h_px, w->frameGeometry().height());
  EXPECT_EQ(w->Client_Area()->size(), QSize(CHART_CLIENT_W, CHART_CLIENT_H));
  EXPECT_TRUE(w->Timer1()->isActive());
  EXPECT_EQ(w->Timer1()->interval(), 1000);
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(Chart, ZoomAndCenterButtonsSitWhereDesignedAndReachTheChart) {
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  auto* zoom_in = Child<QPushButton>(w, "Command2");
  auto* center = Child<QPushButton>(w, "Command3");
  auto* zoom_out = Child<QPushButton>(w, "Command4");
  ASSERT_TRUE(zoom_in && center && zoom_out);
  EXPECT_EQ(zoom_in->geometry(), QRect(8, 192, 73, 25));
  EXPECT_EQ(center->geometry(), QRect(96, 192, 73, 25));
  EXPECT_EQ(zoom_out->geometry(), QRect(184, 192, 73, 25));

  zoom_out->click();
  EXPECT_EQ(w->View().zoom_level, 8);
  zoom_in->click();
  zoom_in->click();
  EXPECT_EQ(w->View().zoom_level, 10);
  QTest::mouseClick(w->Client_Area(), Qt::LeftButton, {}, QPoint(20, 30));
  EXPECT_GT(std::abs(Centre_Lon(w->View()) - kLon), 1e-3);
  center->click();
  EXPECT_NEAR(Centre_Lon(w->View()), kLon, 1e-9);
  EXPECT_NEAR(Centre_Lat(w->View()), kLat, 1e-9);

  // The buttons stay where they were designed when the window grows.
  w->resize(w->width() + 200, w->height() + 100);
  EXPECT_EQ(zoom_out->geometry(), QRect(184, 192, 73, 25));
}

TEST_F(Chart, LeftClickRecentresOnTheClickedPositionRightClickDoesNothing) {
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  QWidget* area = w->Client_Area();
  const Chart_View before = w->View();

  QTest::mouseClick(area, Qt::RightButton, {}, QPoint(200, 40));
  EXPECT_EQ(w->View(), before);

  const auto at = Mouse_To_Geo(before, 200, 40, area->width(), area->height());
  ASSERT_TRUE(at.has_value());
  QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(200, 40));
  const Chart_View& v = w->View();
  EXPECT_NEAR(Centre_Lon(v), at->lon, 1e-9);
  EXPECT_NEAR(Centre_Lat(v), at->lat, 1e-9);
  // Over the client area, not the outer size: east and north of the airport by those shares.
  EXPECT_NEAR(at->lon - kLon, (200.0 / area->width() - 0.5) * 1.40624921875, 1e-9);
  EXPECT_NEAR(at->lat - kLat, (0.5 - 40.0 / area->height()) * 0.70312421875, 1e-9);
  EXPECT_EQ(v.zoom_level, 9);
  EXPECT_NEAR(v.view_right - v.view_left, 1.40624921875, 1e-12);
}

TEST_F(Chart, AClickOnTheAltimeterLabelLeavesTheViewAndTheWindowHasTheProgramIcon) {
  Install_Program_Icon();
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  const Chart_View before = w->View();
  QTest::mouseClick(Child<QLabel>(w, "Label1"), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(w->View(), before);

  const QIcon icon = w->windowIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(48, 48), QSize(256, 256)}));
  EXPECT_FALSE(icon.pixmap(QSize(32, 32)).isNull());
}

TEST_F(Chart, MinimisingStopsTheTimerAndRestoringMeasuresAgainAndRestartsIt) {
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  w->setWindowState(Qt::WindowMinimized);
  EXPECT_FALSE(w->Timer1()->isActive());
  w->setWindowState(Qt::WindowNoState);
  EXPECT_TRUE(w->Timer1()->isActive());
  w->resize(420, 330);
  EXPECT_EQ(w->View().win_w_px, w->frameGeometry().width());
  EXPECT_EQ(w->View().win_h_px, w->frameGeometry().height());
  EXPECT_GE(w->View().win_w_px, 420);
}

TEST_F(Chart, PreferencesAndAboutAreModelessAndHoldTheTimerUntilTheyClose) {
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  Child<QAction>(w, "pref1")->trigger();
  Preferences_Window* prefs = windows.Preferences();
  ASSERT_NE(prefs, nullptr);
  EXPECT_TRUE(prefs->isVisible());
  EXPECT_FALSE(prefs->isModal());
  EXPECT_FALSE(w->Timer1()->isActive());
  // A second click brings the same window forward instead of a second one.
  Child<QAction>(w, "pref1")->trigger();
  EXPECT_EQ(windows.Preferences(), prefs);
  Child<QPushButton>(prefs, "Command1")->click();  // Ok
  EXPECT_FALSE(prefs->isVisible());
  EXPECT_TRUE(w->Timer1()->isActive());

  // Again, closed by the close box this time.
  Flush();
  Child<QAction>(w, "pref1")->trigger();
  prefs = windows.Preferences();
  ASSERT_NE(prefs, nullptr);
  EXPECT_FALSE(w->Timer1()->isActive());
  prefs->close();
  EXPECT_TRUE(w->Timer1()->isActive());

  Child<QAction>(w, "orv_abot2")->trigger();
  About_Window* about = windows.About();
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  EXPECT_FALSE(w->Timer1()->isActive());
  Child<QPushButton>(about, "Command1")->click();
  EXPECT_TRUE(w->Timer1()->isActive());
}

TEST_F(Chart, TheTickShowsTheAltimeterTheAirportMenuOpensTheListAndAFailedLoadNoWindow) {
  Chart_Window* w = Open_Chart(std::move(fake_.link));  // the in-memory module answers
  ASSERT_NE(w, nullptr);
  w->Aircraft_Tick();
  EXPECT_EQ(Child<QLabel>(w, "Label1")->text(), QStringLiteral("Altimeter: 29.92"));
  Child<QAction>(w, "airpt_place")->trigger();
  EXPECT_EQ(Open_Window<Chart_Window>(), nullptr);
  Selection_Window* list = Open_Window<Selection_Window>();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->Read_Sceneries_Paths()->isActive());

  Link_State link;
  link.transport = std::make_unique<testing::Throwing_Transport>();
  EXPECT_EQ(Open_Chart(std::move(link)), nullptr);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(ended, 1);
}

TEST_F(Chart, TheWindowPaintsTheRunwayOnWhite) {
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  const QImage image = w->Client_Area()->grab().toImage();
  const auto px = Geo_To_Px(w->View(), kLat, kLon);
  ASSERT_TRUE(px.has_value());
  const QColor green(0, 192, 0);
  const int y = 120;  // below the label, above the buttons
  bool on_runway = false;
  for (int dx = -1; dx <= 1; ++dx) on_runway |= image.pixelColor(px->x + dx, y) == green;
  EXPECT_TRUE(on_runway);
  EXPECT_EQ(image.pixelColor(px->x + 40, y), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(px->x - 40, y), QColor(Qt::white));

  // For a person to look at, when a folder for pictures is named.
  const QString folder = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(w->grab().save(folder + QStringLiteral("/chart_window.png")));
  }
}

// The painter canvas over an image of the given size, first filled black.
class Painter_Canvas : public ::testing::Test {
 protected:
  QImage image{100, 100, QImage::Format_RGB32};

  template <typename Draw>
  void Paint(Draw draw) {
    image.fill(Qt::black);
    QPainter painter(&image);
    Qpainter_Canvas canvas(painter, image.rect());
    canvas.Clear();
    draw(canvas);
  }

  // Whether any pixel within one of (x, y) is not white.
  bool Inked(int x, int y) const {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (image.pixelColor(x + dx, y + dy) != QColor(Qt::white)) return true;
      }
    }
    return false;
  }
};

TEST_F(Painter_Canvas, ClearsWhiteAndDrawsLinesInThePenColour) {
  Paint([](Canvas& c) {
    c.Set_Fore_Color(RGB_CHART_GREEN);
    c.Move_To({10, 50});
    c.Line_To({90, 50});
  });
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(99, 99), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(50, 50), QColor(0, 192, 0));
  EXPECT_EQ(image.pixelColor(50, 45), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(95, 50), QColor(Qt::white));
}

TEST_F(Painter_Canvas, FilledEllipseTakesTheFillColourTransparentOneOnlyItsOutline) {
  Paint([](Canvas& c) {
    c.Set_Fore_Color(RGB_GATE);
    c.Set_Fill_Color(RGB_GATE);
    c.Set_Fill_Style(Fill_Style::solid);
    c.Ellipse({10, 40}, {30, 20});  // corners in either order
    c.Set_Fill_Style(Fill_Style::transparent);
    c.Ellipse({60, 60}, {90, 90});
  });
  EXPECT_EQ(image.pixelColor(20, 30), QColor(128, 64, 64));
  EXPECT_EQ(image.pixelColor(75, 75), QColor(Qt::white));
  EXPECT_TRUE(Inked(60, 75));
}

TEST_F(Painter_Canvas, ArcsRunCounterClockwiseFromTheStartRay) {
  // A circle of radius 30 around (50, 50); east is (80, 50), north (50, 20).
  Paint([](Canvas& c) { c.Arc({20, 20}, {80, 80}, {95, 50}, {50, 2}); });
  EXPECT_TRUE(Inked(71, 29));   // north-east quarter
  EXPECT_FALSE(Inked(29, 29));  // north-west
  EXPECT_FALSE(Inked(71, 71));  // south-east
  Paint([](Canvas& c) { c.Arc({20, 20}, {80, 80}, {50, 2}, {95, 50}); });
  EXPECT_FALSE(Inked(71, 29));
  EXPECT_TRUE(Inked(29, 29));
  EXPECT_TRUE(Inked(29, 71));
  EXPECT_TRUE(Inked(71, 71));
}

TEST_F(Painter_Canvas, ArcOnAFlatEllipseStartsWhereItsRayMeetsTheOutline) {
  image = QImage(220, 120, QImage::Format_RGB32);
  // Box 200 x 100 around (110, 60). The ray at 45 degrees meets the outline at about
  // (154.7, 15.3); Qt's own angle of 45 degrees would be further east, at (180.7, 24.6).
  Paint([](Canvas& c) { c.Arc({10, 10}, {210, 110}, {160, 10}, {110, 0}); });
  EXPECT_TRUE(Inked(155, 15));
  EXPECT_TRUE(Inked(136, 12));   // between the ray and north
  EXPECT_FALSE(Inked(169, 19));  // east of the ray: not part of the arc
  EXPECT_FALSE(Inked(181, 25));
}

TEST(Painter_Canvas_Angles, StartAndSpanInSixteenthsOfADegree) {
  const Qt_Arc_Angles quarter = Arc_Angles({0, 0}, {100, 100}, {100, 50}, {50, 0});
  EXPECT_EQ(quarter.start_16, 0);
  EXPECT_EQ(quarter.span_16, 90 * 16);
  const Qt_Arc_Angles three = Arc_Angles({0, 0}, {100, 100}, {50, 0}, {100, 50});
  EXPECT_EQ(three.start_16, 90 * 16);
  EXPECT_EQ(three.span_16, 270 * 16);
  const Qt_Arc_Angles whole = Arc_Angles({0, 0}, {100, 100}, {0, 50}, {10, 50});
  EXPECT_EQ(whole.start_16, 180 * 16);
  EXPECT_EQ(whole.span_16, 360 * 16);
  // South-west to south: from 225 degrees on for 45.
  const Qt_Arc_Angles sw = Arc_Angles({0, 0}, {100, 100}, {0, 100}, {50, 100});
  EXPECT_EQ(sw.start_16, 225 * 16);
  EXPECT_EQ(sw.span_16, 45 * 16);
}

TEST_F(Painter_Canvas, TextHasItsTopLeftCornerAtThePixel) {
  Paint([](Canvas& c) {
    c.Set_Fore_Color(RGB_BLACK);
    c.Text_Out({20, 30}, "WWW");
  });
  bool inked_below = false;
  for (int y = 30; y < 60; ++y) {
    for (int x = 20; x < 60; ++x) inked_below |= image.pixelColor(x, y) != QColor(Qt::white);
  }
  EXPECT_TRUE(inked_below);
  for (int y = 0; y < 29; ++y) {
    for (int x = 0; x < 100; ++x) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << y;
  }
  for (int x = 0; x < 19; ++x) {
    for (int y = 0; y < 100; ++y) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x;
  }
}

TEST_F(Painter_Canvas, ShapesAtTheEdgesOf32BitsStillDraw) {
  constexpr int32_t lo = std::numeric_limits<int32_t>::min();
  constexpr int32_t hi = std::numeric_limits<int32_t>::max();
  Paint([](Canvas& c) {
    c.Set_Fill_Color(RGB_ILS);
    c.Set_Fill_Style(Fill_Style::solid);
    c.Ellipse({-1000000000, -1000000000}, {1000000000, 1000000000});
    c.Set_Fore_Color(RGB_BLACK);
    c.Move_To({lo, 20});
    c.Line_To({hi, 20});
    c.Arc({lo, lo}, {hi, hi}, {hi, 0}, {0, lo});
  });
  EXPECT_EQ(image.pixelColor(50, 60), QColor(255, 255, 0));
  EXPECT_EQ(image.pixelColor(50, 20), QColor(Qt::black));
}

// A smooth polygon reaching far off the surface is cut to it before painting (the painter
// crawls over such a shape): what shows is what the whole polygon paints.
TEST_F(Painter_Canvas, APolygonFarOffTheSurfacePaintsAsTheWholeOneDoes) {
  const Px band[] = {{3050, -3950}, {3074, -3932}, {-2926, 4068}, {-2950, 4050}};
  const Px star[] = {{50, -900}, {70, 40}, {900, 50},  {70, 60},
                     {50, 1000}, {30, 60}, {-800, 50}, {30, 40}};
  for (const auto& shape : {std::span<const Px>(band), std::span<const Px>(star)}) {
    Paint([&](Canvas& c) {
      c.Set_Antialiasing(true);
      c.Set_Fill_Color(RGB_ILS);
      c.Set_Fill_Style(Fill_Style::solid);
      c.Set_Fore_Color(RGB_BLACK);
      c.Set_Line_Width(2);
      c.Polygon(shape);
    });
    QImage whole(image.size(), image.format());
    whole.fill(Qt::white);
    QPainter painter(&whole);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(QColor(255, 255, 0));
    QPolygonF polygon;
    for (const Px& p : shape) polygon << QPointF(p.x, p.y);
    painter.drawPolygon(polygon);
    painter.end();
    int differing = 0;
    for (int i = 0; i < image.width() * image.height(); ++i) {
      const QRgb a = image.pixel(i % image.width(), i / image.width());
      const QRgb b = whole.pixel(i % image.width(), i / image.width());
      differing += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                       std::abs(qBlue(a) - qBlue(b)) >
                   48;
    }
    EXPECT_LE(differing, 10) << shape.size();
    EXPECT_EQ(image.pixelColor(68, 50), QColor(255, 255, 0)) << shape.size();
  }
}

// The small airport's diagram: painted, its runways in their colour; and, when
// ORVANE_GDI_DIAGRAM names the GDI canvas's picture of it (the Windows tests write it under
// Wine, tools/ci_windows), the same picture but for a few pixels: Wine's GDI+ draws no smooth
// edges and its letters are not those of the painter's font.
TEST(Painter_Canvas_Diagram, PaintsTheSampleDiagramAsTheGdiCanvasDoes) {
  constexpr int w = testing::kSampleWidth, h = testing::kSampleHeight;
  QImage image(w, h, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    Qpainter_Canvas canvas(painter, image.rect());
    Draw_Diagram(canvas, testing::Small_Airport(), testing::Sample_Diagram_View(), w, h, false,
                 false);
  }
  testing::Rgb_Picture mine{w, h, {}};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const QRgb c = image.pixel(x, y);
      mine.rgb.insert(mine.rgb.end(), {uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))});
    }
  }
  EXPECT_GT(testing::Count_Of(mine, Ink_Color(Ink::runway, false)), 1000u);
  EXPECT_LT(testing::Count_Of(mine, RGB_WHITE), size_t{w * h * 97 / 100});
  const std::string path = qEnvironmentVariable("ORVANE_GDI_DIAGRAM").toStdString();
  if (path.empty()) {
    GTEST_SKIP() << "no comparison with the GDI canvas: ORVANE_GDI_DIAGRAM names no picture of it "
                    "(the Windows tests write one, tools/ci_windows)";
  }
  const std::optional<testing::Rgb_Picture> gdi = testing::Read_Ppm(path);
  ASSERT_TRUE(gdi && gdi->w == w && gdi->h == h) << path << " is no " << w << "x" << h << " PPM";
  // Measured: 0.4 % of the painter's pixels and 0.6 % of GDI's, nearly all in letters; a blank
  // picture leaves 4.9 % unmatched, the same picture two pixels aside 1.5 %.
  EXPECT_LT(testing::Share_Unmatched(mine, *gdi, 32), 0.01);
  EXPECT_LT(testing::Share_Unmatched(*gdi, mine, 32), 0.01);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

std::string Read_Text_File(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The window and orvane-tool chart draw the same airport from the same database with the same
// calls, pixel for pixel and pen for pen: the tool's view is the window's after its load.
TEST_F(Chart, DrawsTheSameCommandsAsTheToolForTheSameView) {
  Airport_Entry& a = st.cur_airport;
  a.taxi_points = {{1, kLat, kLon + 0.001}, {1, kLat + 0.003, kLon + 0.001}};
  a.taxi_point_count = 2;
  a.parkings = {{"GATE A 1", kLat + 0.001, kLon + 0.002, 66}};
  a.parking_count = 1;
  a.taxi_paths = {{PATH_TAXIWAY, 0, 1, "A"}, {PATH_PARKING, 0, 0, "0"}};
  a.taxi_path_count = 2;
  a.ils = {{"ISEA", kLat - 0.2, kLon, 344, "110.3"}, Ils_Rec{}};
  a.ils_count = 1;

  Program_State db;
  db.work_dir = st.work_dir;
  db.airports = {a, Airport_Entry{}};
  db.airport_count = 1;
  db.cfg = Config_Rec{BANNER, 1, 1, (dir / "no-simulator").string(), 1, 0};
  ASSERT_TRUE(Write_Airport_File(db).ok);
  ASSERT_TRUE(Write_Airspace_List(db).ok);
  ASSERT_TRUE(Save_Settings(db).ok);

  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  // At zoom 9 after the load (runway and ILS), then at 13 (gates and taxiways too).
  for (const int zoom : {9, 13}) {
    while (w->View().zoom_level < zoom) Child<QPushButton>(w, "Command2")->click();
    Recording_Canvas window_calls;
    w->Draw(window_calls);
    EXPECT_GE(window_calls.Calls().size(), zoom == 9 ? 7u : 12u);

    const Chart_View& v = w->View();
    const std::string command = "cd '" + st.work_dir.string() + "' && '" ORVANE_TOOL "' chart " +
                                "'KSEA (SEATTLE-TACOMA INTL)' --out tool.json --zoom " +
                                std::to_string(zoom) + " --size " + std::to_string(v.win_w_px) +
                                "x" + std::to_string(v.win_h_px);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(Read_Text_File(st.work_dir / "tool.json"),
              Drawing_Commands_Json(window_calls.Calls()))
        << "zoom " << zoom;
  }
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// The window forwards the wheel, a drag and the chart's keys to the chart.
TEST_F(Chart, TheWheelADragAndTheKeysReachTheChart) {
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  QWidget* area = w->Client_Area();
  const Chart_View& v = w->View();
  const Geo_Pos under = Px_To_Geo(v, 60, 50);
  QWheelEvent wheel(QPointF(60, 50), area->mapToGlobal(QPointF(60, 50)), {}, QPoint(0, 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(area, &wheel);
  EXPECT_EQ(v.zoom_level, 10);
  EXPECT_EQ(*Geo_To_Px(v, under.lat, under.lon), (Px{60, 50}));

  st.follow_acft = true;
  const Geo_Pos grabbed = Px_To_Geo(v, 100, 80);
  QTest::mousePress(area, Qt::LeftButton, {}, QPoint(100, 80));
  QMouseEvent move(QEvent::MouseMove, QPointF(150, 60), area->mapToGlobal(QPointF(150, 60)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(area, &move);
  QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(150, 60));
  EXPECT_EQ(*Geo_To_Px(v, grabbed.lat, grabbed.lon), (Px{150, 60}));
  EXPECT_FALSE(st.follow_acft);

  auto* button = Child<QPushButton>(w, "Command2");
  QTest::keyClick(button, Qt::Key_Minus);
  EXPECT_EQ(v.zoom_level, 9);
  const double left = v.view_left;
  QTest::keyClick(button, Qt::Key_Left);
  EXPECT_NEAR(left - v.view_left, (v.view_right - v.view_left) / 4, 1e-12);
  QTest::keyClick(w, Qt::Key_F);
  EXPECT_TRUE(st.follow_acft);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

// Answers the next modal dialog of type D once it shows, from the event loop that runs it.
template <class D, class Answer>
void When_Shown(Answer answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
      timer->deleteLater();
      timer->stop();
      answer(d);
    }
  });
  timer->start(0);
}

// "Save as PDF..." asks for a file and writes one page; "Print..." goes through the print
// dialog, here to its file printer; both draw the diagram's page.
TEST_F(Chart, SaveAsPdfAndPrintEachWriteOnePage) {
  st.diagram_style = true;
  Chart_Window* w = Open_Chart(Platform_Link());
  ASSERT_NE(w, nullptr);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  const std::filesystem::path saved = dir / "saved.pdf";
  When_Shown<QFileDialog>([&](QFileDialog* d) {
    d->selectFile(QString::fromStdString(saved.string()));
    static_cast<QDialog*>(d)->accept();
  });
  w->findChild<QAction*>(QStringLiteral("save_pdf1"))->trigger();
  const std::string pdf = Read_Text_File(saved);
  EXPECT_NE(pdf.find("/Count 1"), std::string::npos);            // one page
  EXPECT_NE(pdf.find("/MediaBox [0 0 595"), std::string::npos);  // A4
  QLocale::setDefault(QLocale::system());

  const std::filesystem::path printed = dir / "printed.pdf";
  When_Shown<QPrintDialog>([&](QPrintDialog* d) {
    if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("filename")))
      name->setText(QString::fromStdString(printed.string()));
    d->printer()->setOutputFileName(QString::fromStdString(printed.string()));
    static_cast<QDialog*>(d)->accept();
  });
  w->findChild<QAction*>(QStringLiteral("prnt1"))->trigger();
  EXPECT_NE(Read_Text_File(printed).find("/Count 1"), std::string::npos);
  for (const Shown_Message& m : messages)
    EXPECT_NE(m.text, QStringLiteral("The page could not be printed."));
}

}  // namespace
}  // namespace orv
