#include "qt/chart_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QLocale>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <optional>
#include <utility>

#include "qt/message_box.h"
#include "qt/qpainter_canvas.h"
#include "qt/table_widgets.h"

namespace orv {

// The client area: paints the chart behind the label and the buttons, and hands mouse presses
// to the window.
class Chart_Area : public QWidget {
 public:
  explicit Chart_Area(Chart_Window& window) : QWidget(&window), window_(window) {
    setObjectName(QStringLiteral("Chart_Area"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // the pointer's place shows what is under it
  }

  Chart_Behaviour& Behaviour() { return window_.behaviour_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    window_.Paint_Chart(painter, rect());
  }

  void mousePressEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    Behaviour().Mouse_Press(event->button() == Qt::LeftButton, at.x(), at.y());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    Behaviour().Mouse_Move(at.x(), at.y());
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    Behaviour().Mouse_Release(event->button() == Qt::LeftButton, width(), height());
  }
  void wheelEvent(QWheelEvent* event) override {
    const QPoint at = event->position().toPoint();
    Behaviour().Mouse_Wheel(event->angleDelta().y(), at.x(), at.y());
    event->accept();
  }
  void leaveEvent(QEvent*) override { Behaviour().Mouse_Leave(); }

 private:
  Chart_Window& window_;
};

namespace {

// The chart's controls keep their design places over the chart.
template <typename W>
W* Placed(const Table_Widgets& w, const char* name) {
  W* widget = w.Get<W>(name);
  const Design_Rect r = CHART_WINDOW.Control(name).rect;
  widget->setGeometry(r.x, r.y, r.w, r.h);
  return widget;
}

}  // namespace

Chart_Window::Chart_Window(Program_State& st, Program_Windows& windows, Link_State link,
                           QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      behaviour_(st, *this, windows, std::move(link)) {
  setObjectName(Ui_Text(CHART_WINDOW.name));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Ui_Text(CHART_WINDOW.caption));

  area_ = new Chart_Area(*this);
  setCentralWidget(area_);
  const Table_Widgets w(CHART_WINDOW, area_);
  label1_ = Placed<QLabel>(w, "Label1");
  // A click on the label is not a click on the chart: it must not re-centre the view.
  label1_->setAttribute(Qt::WA_NoMousePropagation);
  connect(Placed<QPushButton>(w, "Command2"), &QPushButton::clicked, this,
          [this] { behaviour_.Zoom_In(); });
  connect(Placed<QPushButton>(w, "Command3"), &QPushButton::clicked, this,
          [this] { behaviour_.Center_On_Airport(); });
  connect(Placed<QPushButton>(w, "Command4"), &QPushButton::clicked, this,
          [this] { behaviour_.Zoom_Out(); });

  QMenuBar* bar = menuBar();
  const std::vector<QAction*> menus = Build_Menus(CHART_WINDOW, bar);
  connect(Menu_Item(CHART_WINDOW, menus, "airpt_place"), &QAction::triggered, this,
          [this] { behaviour_.Change_Airport(); });
  connect(Menu_Item(CHART_WINDOW, menus, "near_place"), &QAction::triggered, this,
          [this] { behaviour_.Open_Nearest(); });
  connect(Menu_Item(CHART_WINDOW, menus, "pref1"), &QAction::triggered, this,
          [this] { behaviour_.Open_Preferences(); });
  connect(Menu_Item(CHART_WINDOW, menus, "prnt1"), &QAction::triggered, this,
          [this] { Print_Chart(); });
  // Beside the shared menus: the Windows program prints to the system's PDF printer instead.
  QAction* pdf = new QAction(QStringLiteral("Save as PDF..."), this);
  pdf->setObjectName(QStringLiteral("save_pdf1"));
  bar->findChild<QMenu*>(QStringLiteral("op1"))->addAction(pdf);
  connect(pdf, &QAction::triggered, this, [this] { Save_Pdf(); });
  connect(Menu_Item(CHART_WINDOW, menus, "orv_abot2"), &QAction::triggered, this,
          [this] { behaviour_.Open_About(); });

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(TIMER1_MS);
  connect(timer1_, &QTimer::timeout, this, &Chart_Window::Aircraft_Tick);

  resize(CHART_WINDOW.client.w, CHART_WINDOW.client.h + bar->sizeHint().height());
  installEventFilter(this);
  area_->installEventFilter(this);
  for (QWidget* child : area_->findChildren<QWidget*>()) child->installEventFilter(this);
}

namespace {

// The chart key a key press names, without Ctrl, Alt or Meta.
std::optional<Chart_Key> Chart_Key_Of(const QKeyEvent& e) {
  if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
  switch (e.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return Chart_Key::plus;
    case Qt::Key_Minus:
      return Chart_Key::minus;
    case Qt::Key_Left:
      return Chart_Key::left;
    case Qt::Key_Right:
      return Chart_Key::right;
    case Qt::Key_Up:
      return Chart_Key::up;
    case Qt::Key_Down:
      return Chart_Key::down;
    case Qt::Key_Home:
      return Chart_Key::home;
    case Qt::Key_F:
      return Chart_Key::f;
    default:
      return {};
  }
}

}  // namespace

bool Chart_Window::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto key = Chart_Key_Of(*static_cast<QKeyEvent*>(event));
    if (key && behaviour_.Key_Down(*key)) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

QWidget* Chart_Window::Client_Area() const {
  return area_;
}

void Chart_Window::Show_Message(Message_Icon icon, const std::string& text) {
  orv::Show_Message(this, icon, Ui_Text(text));
}

void Chart_Window::Close() {
  close();
}

void Chart_Window::Make_Topmost() {
  raise();  // the window stays above all others through its window flags
}

void Chart_Window::Set_Caption(const std::string& caption) {
  setWindowTitle(Ui_Text(caption));
}

void Chart_Window::Set_Label1(const std::string& caption) {
  label1_->setText(Ui_Text(caption));
  label1_->repaint();
}

void Chart_Window::Enable_Timer1(bool on) {
  if (on) {
    timer1_->start();
  } else {
    timer1_->stop();
  }
}

void Chart_Window::Redraw() {
  area_->update();
}

Window_Size Chart_Window::Outer_Size() const {
  const QRect outer = frameGeometry();
  return {outer.width(), outer.height()};
}

bool Chart_Window::Is_Minimized() const {
  return isMinimized();
}

void Chart_Window::Show_Tooltip(const std::string& text, int32_t x, int32_t y) {
  if (text.empty()) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(area_->mapToGlobal(QPoint(x + 12, y + 16)), Ui_Text(text), area_);
}

void Chart_Window::Client_Mouse_Down(Qt::MouseButton button, int px, int py) {
  behaviour_.Mouse_Down(button == Qt::LeftButton, px, py, area_->width(), area_->height());
}

void Chart_Window::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  behaviour_.Resized();
}

void Chart_Window::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  behaviour_.Shown();
}

void Chart_Window::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // The window manager's frame arrives after the window is shown and moves it.
  if (isVisible()) behaviour_.Shown();
}

void Chart_Window::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) behaviour_.Resized();
}

void Chart_Window::closeEvent(QCloseEvent* event) {
  behaviour_.Unload();
  event->accept();
}

void Chart_Window::Print_Chart() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  Paint_Page(printer);
}

void Chart_Window::Save_Pdf() {
  const QString file = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save as PDF"), windowTitle() + QStringLiteral(".pdf"),
      QStringLiteral("PDF (*.pdf)"));
  if (file.isEmpty()) return;
  QPdfWriter writer(file);
  writer.setResolution(300);
  writer.setCreator(QStringLiteral("Orvane"));
  // Letter where the pilot's locale measures in US units, A4 elsewhere.
  const bool us = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
  writer.setPageLayout(QPageLayout(QPageSize(us ? QPageSize::Letter : QPageSize::A4),
                                   QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  Paint_Page(writer);
}

void Chart_Window::Paint_Page(QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) {
    Show_Message(Message_Icon::exclamation, "The page could not be printed.");
    return;
  }
  const QRect page(0, 0, device.width(), device.height());
  Qpainter_Canvas canvas(painter, page);
  behaviour_.Draw_Page(canvas, page.width(), page.height(), device.logicalDpiX());
}

void Chart_Window::Paint_Chart(QPainter& painter, const QRect& area) {
  Qpainter_Canvas canvas(painter, area);
  behaviour_.Draw(canvas, Window_Size{area.width(), area.height()});
}

}  // namespace orv
