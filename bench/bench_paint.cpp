// How long the window's diagram redraw takes on the Linux program's own painter, label
// placement and painting included, on a 1024 x 768 image as the chart window paints it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <filesystem>

#include "chart/chart_layers.h"
#include "chart/diagram_painter.h"
#include "chart/view_motion.h"
#include "grid_airport.h"
#include "qt/qpainter_canvas.h"
#include "tools/fs_world.h"
#include "world_scan.h"

namespace {

// Texts need the platform's fonts: one application for the whole run, drawing off-screen.
void Painting_Application() {
  static int argc = 1;
  static char name[] = "orvane_bench_paint";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
}

// The busiest airport of the generated FS2002-scale world, scanned once (the world's files are
// written once, beside the other benchmarks' copy).
const orv::Airport_Entry& Busiest_Airport() {
  static const orv::Airport_Entry busiest = [] {
    const auto parent = std::filesystem::temp_directory_path() / "orvane-bench-worlds";
    const auto world = orv::fs_world::Make_World(parent, orv::fs_world::Fs2002_Shape());
    orv::Program_State st;
    st.work_dir = parent / "paint-work";
    std::filesystem::create_directories(st.work_dir);
    st.fs_path = world.root.string();
    st.sim_version = 1;
    st.first_run = true;
    orv::Database_Build b;
    orv_bench::Scan(st, b);
    return orv_bench::Busiest_Of(st.airports);
  }();
  return busiest;
}

// Its diagram in a 1024 x 768 chart window, at zoom 13 and 16.
void BM_Paint_Diagram_Busiest(benchmark::State& bench) {
  Painting_Application();
  const orv::Program_State st = orv_bench::Showing(Busiest_Airport());
  const orv::Chart_View v = orv_bench::View_On(st.cur_airport, bench.range(0));
  QImage image(v.win_w_px, v.win_h_px, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : bench) {
    QPainter painter(&image);
    orv::Qpainter_Canvas canvas(painter, image.rect());
    orv::Draw_Diagram(canvas, st, v, v.win_w_px, v.win_h_px, false, false);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Paint_Diagram_Busiest)->Arg(13)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_Paint_Diagram(benchmark::State& bench) {
  Painting_Application();
  auto s = orv_bench::Grid_Airport();
  const orv::Chart_View v = orv_bench::View_At(static_cast<int16_t>(bench.range(0)));
  QImage image(v.win_w_px, v.win_h_px, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : bench) {
    QPainter painter(&image);
    orv::Qpainter_Canvas canvas(painter, image.rect());
    orv::Draw_Diagram(canvas, *s, v, v.win_w_px, v.win_h_px, false, false);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Paint_Diagram)->Arg(13)->Arg(16)->Unit(benchmark::kMillisecond);

// The classic chart of the same airport on the same painter, for comparison.
void BM_Paint_Classic(benchmark::State& bench) {
  Painting_Application();
  auto s = orv_bench::Grid_Airport();
  const orv::Chart_View v = orv_bench::View_At(14);
  QImage image(v.win_w_px, v.win_h_px, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : bench) {
    QPainter painter(&image);
    orv::Qpainter_Canvas canvas(painter, image.rect());
    orv::Draw_Chart(canvas, *s, v);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Paint_Classic)->Unit(benchmark::kMillisecond);

}  // namespace
