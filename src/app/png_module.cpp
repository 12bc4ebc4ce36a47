// The module itself: replays the recorded drawing calls on a QPainter canvas over an image.
#include "app/png_module.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

#include "qt/qpainter_canvas.h"

namespace {

// Each call with the pen state it was recorded with, through the canvas's own operations.
void Replay(orv::Canvas& canvas, const orv::Draw_Call& call) {
  canvas.Set_Fore_Color(call.pen.color);
  canvas.Set_Line_Width(call.pen.width);
  canvas.Set_Line_Style(call.pen.style);
  canvas.Set_Fill_Color(call.pen.fill);
  canvas.Set_Fill_Style(call.pen.fill_style);
  canvas.Set_Antialiasing(call.antialias);
  switch (call.op) {
    case orv::Draw_Op::clear:
      canvas.Clear();
      break;
    case orv::Draw_Op::line:
      canvas.Move_To(call.a);
      canvas.Line_To(call.b);
      break;
    case orv::Draw_Op::ellipse:
      canvas.Ellipse(call.a, call.b);
      break;
    case orv::Draw_Op::arc:
      canvas.Arc(call.a, call.b, call.start, call.end);
      break;
    case orv::Draw_Op::text:
      if (call.style) {
        canvas.Text(call.a, call.text, *call.style);
      } else {
        canvas.Text_Out(call.a, call.text);
      }
      break;
    case orv::Draw_Op::polygon:
      canvas.Polygon(call.points);
      break;
  }
}

// Text needs the platform's fonts, so a painting-only application is made when there is none
// yet, for this picture only.
std::unique_ptr<QGuiApplication> Painting_Application() {
  static int argc = 1;
  static char name[] = "orvane-tool";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() != nullptr) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

// One page of the paper's size, without margins of its own: the calls place everything.
extern "C" Q_DECL_EXPORT int Orvane_Paint_Pdf(const orv::Draw_Call* calls, size_t count,
                                              double w_mm, double h_mm, int32_t dpi,
                                              std::string* pdf) {
  const std::unique_ptr<QGuiApplication> app = Painting_Application();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(dpi);
    writer.setCreator(QStringLiteral("orvane-tool"));
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(w_mm, h_mm), QPageSize::Millimeter),
                                     QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer)) return 1;
    orv::Qpainter_Canvas canvas(painter, QRect(0, 0, writer.width(), writer.height()));
    for (size_t i = 0; i < count; ++i) Replay(canvas, calls[i]);
    painter.end();
  }
  pdf->append(bytes.constData(), static_cast<size_t>(bytes.size()));
  return bytes.isEmpty() ? 1 : 0;
}

// Off screen unless QT_QPA_PLATFORM says otherwise.
extern "C" Q_DECL_EXPORT int Orvane_Paint_Png(const orv::Draw_Call* calls, size_t count,
                                              int32_t width, int32_t height, std::string* png) {
  const std::unique_ptr<QGuiApplication> app = Painting_Application();
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return 1;
  {
    QPainter painter(&image);
    orv::Qpainter_Canvas canvas(painter, image.rect());
    for (size_t i = 0; i < count; ++i) Replay(canvas, calls[i]);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return 1;
  png->append(bytes.constData(), static_cast<size_t>(bytes.size()));
  return 0;
}
