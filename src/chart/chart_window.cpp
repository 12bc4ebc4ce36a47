#include "chart/chart_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <exception>
#include <utility>

#include "app/message_box.h"
#include "chart/aircraft_tracking.h"
#include "chart/chart_layers.h"
#include "chart/qpainter_canvas.h"
#include "core/program_state.h"
#include "core/text_1252.h"
#include "prefs/about_window.h"
#include "prefs/preferences_window.h"
#include "scenery/selection_window.h"

namespace orv {

// The client area: paints the chart behind the label and the buttons, and hands mouse presses
// to the window.
class Chart_Area : public QWidget {
 public:
  explicit Chart_Area(Chart_Window& window) : QWidget(&window), window_(window) {
    setObjectName(QStringLiteral("Chart_Area"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    window_.Paint_Chart(painter, rect());
  }

  void mousePressEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    window_.Client_Mouse_Down(event->button(), at.x(), at.y());
  }

 private:
  Chart_Window& window_;
};

namespace {

QPushButton* Make_Button(QWidget* parent, const char* name, const char* caption, int x) {
  auto* button = new QPushButton(Ui_Text(caption), parent);
  button->setObjectName(Ui_Text(name));
  button->setGeometry(x, 192, 73, 25);
  return button;
}

QAction* Add_Menu_Item(QMenuBar* bar, const char* menu_name, const char* menu_caption,
                       const char* item_name, const char* item_caption) {
  QMenu* menu = bar->addMenu(Ui_Text(menu_caption));
  menu->setObjectName(Ui_Text(menu_name));
  QAction* item = menu->addAction(Ui_Text(item_caption));
  item->setObjectName(Ui_Text(item_name));
  return item;
}

}  // namespace

Link_State Platform_Link() {
  Link_State link;
  link.transport = Make_Platform_Transport();
  return link;
}

Chart_Window::Chart_Window(Program_State& st, Link_State link, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      st_(st),
      link_(std::move(link)) {
  setObjectName(QStringLiteral("Form4"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Ui_Text(CHART_DESIGN_CAPTION));

  area_ = new Chart_Area(*this);
  setCentralWidget(area_);
  label1_ = new QLabel(QStringLiteral("Altimeter: 0"), area_);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(8, 8, 97, 17);
  // A click on the label is not a click on the chart: it must not re-centre the view.
  label1_->setAttribute(Qt::WA_NoMousePropagation);
  command2_ = Make_Button(area_, "Command2", "Zoom in", 8);
  command3_ = Make_Button(area_, "Command3", "Center", 96);
  command4_ = Make_Button(area_, "Command4", "Zoom out", 184);
  connect(command2_, &QPushButton::clicked, this, &Chart_Window::Command2_Click);
  connect(command3_, &QPushButton::clicked, this, &Chart_Window::Command3_Click);
  connect(command4_, &QPushButton::clicked, this, &Chart_Window::Command4_Click);

  QMenuBar* bar = menuBar();
  connect(Add_Menu_Item(bar, "go_to1", "Change", "airpt_place", "Airport"), &QAction::triggered,
          this, &Chart_Window::Airpt_Place_Click);
  connect(Add_Menu_Item(bar, "opt1", "Options", "pref1", "Preferences"), &QAction::triggered, this,
          &Chart_Window::Pref1_Click);
  connect(Add_Menu_Item(bar, "orv_abot1", "About", "orv_abot2", "Orvane v1.2"), &QAction::triggered,
          this, &Chart_Window::Orv_Abot2_Click);

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(TIMER1_MS);
  connect(timer1_, &QTimer::timeout, this, &Chart_Window::Timer1_Timer);

  resize(CHART_CLIENT_W, CHART_CLIENT_H + bar->sizeHint().height());
}

Chart_Window::~Chart_Window() {
  Link_Close(link_);
}

QWidget* Chart_Window::Client_Area() const {
  return area_;
}

Preferences_Window* Chart_Window::Preferences() const {
  return prefs_.data();
}

About_Window* Chart_Window::About() const {
  return about_.data();
}

bool Chart_Window::Load() {
  try {
    Run_Load();
    return true;
  } catch (const std::exception&) {
    timer1_->stop();
    Show_Message(this, Message_Icon::error, Ui_Text(MSG_LOAD_FAILED));
    End_Program();
    return false;
  }
}

void Chart_Window::Run_Load() {
  raise();  // the window stays above all others through its window flags

  Link_Init(link_);
  int32_t result = LINK_OK;
  sim_connected_ = Link_Open(link_, CHART_SIM_CODE, result);
  if (!sim_connected_) {
    Show_Message(this, Message_Icon::warning, Ui_Text(MSG_NO_SIM_AT_LOAD));
    Link_Close(link_);
    sim_connected_ = false;
  }

  setWindowTitle(Ui_Text(Utf8_From_1252(st_.cur_airport.name)) + QStringLiteral(" Chart"));
  Measure_Window();

  Reset_View(view_);
  Recenter_View(view_, st_.cur_airport.lon, st_.cur_airport.lat);
  loaded_ = true;
  Center_Airport(st_.cur_airport.lon, st_.cur_airport.lat);
  for (int i = 0; i < ZOOM_AT_LOAD - ZOOM_MIN; ++i) Zoom_In(view_);

  st_.follow_acft = true;
  st_.show_ils = true;
  st_.show_twys = true;
  st_.show_twy_ids = true;
  st_.show_gates = true;
  st_.show_airspace = true;
  st_.altim_units = 1;
  Enable_Timer1();
}

// The outer size: border, title bar and menu bar included. Before the window is shown its
// frame is not known, and the window manager may frame it only after it is shown: the size is
// measured again when the window is shown and when its frame moves it.
void Chart_Window::Measure_Window() {
  const QRect outer = frameGeometry();
  view_.win_w_px = outer.width();
  view_.win_h_px = outer.height();
}

void Chart_Window::Form_Resize() {
  if (!loaded_ || unloaded_) return;
  timer1_->stop();
  if (isMinimized()) return;
  // A maximised window goes on like a normal one: the chart keeps following the aircraft.
  Measure_Window();
  Enable_Timer1();
}

void Chart_Window::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void Chart_Window::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (loaded_ && !unloaded_ && !isMinimized()) Measure_Window();
}

void Chart_Window::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (loaded_ && !unloaded_ && isVisible() && !isMinimized()) Measure_Window();
}

void Chart_Window::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

void Chart_Window::closeEvent(QCloseEvent* event) {
  unloaded_ = true;
  timer1_->stop();
  Link_Close(link_);
  sim_connected_ = false;
  event->accept();
}

bool Chart_Window::Dialog_Open() const {
  return (prefs_ && prefs_->isVisible()) || (about_ && about_->isVisible());
}

// The timer runs unless the window is gone or minimised, or the preferences or About window is
// open.
void Chart_Window::Enable_Timer1() {
  if (unloaded_ || isMinimized() || Dialog_Open()) return;
  timer1_->start();
}

template <typename Change>
void Chart_Window::Redraw_Sequence(Change change) {
  timer1_->stop();
  change(view_);
  Redraw();
  Enable_Timer1();
}

void Chart_Window::Redraw() {
  area_->update();
}

void Chart_Window::Paint_Chart(QPainter& painter, const QRect& area) {
  Qpainter_Canvas canvas(painter, area);
  Draw(canvas);
}

void Chart_Window::Draw(Canvas& canvas) {
  if (!loaded_) {
    canvas.Clear();
    return;
  }
  try {
    Redraw_Chart(canvas, st_, view_, sim_connected_);
  } catch (const std::exception&) {
    // A layer that fails leaves what was drawn before it; the next redraw tries again.
  }
}

void Chart_Window::Command2_Click() {
  Redraw_Sequence([](Chart_View& v) { Zoom_In(v); });
}

void Chart_Window::Command4_Click() {
  Redraw_Sequence([](Chart_View& v) { Zoom_Out(v); });
}

void Chart_Window::Command3_Click() {
  Center_Airport(st_.cur_airport.lon, st_.cur_airport.lat);
}

void Chart_Window::Center_Airport(double x, double y) {
  Redraw_Sequence([x, y](Chart_View& v) { Recenter_View(v, x, y); });
}

void Chart_Window::Client_Mouse_Down(Qt::MouseButton button, int px, int py) {
  if (button != Qt::LeftButton || !loaded_) return;
  const auto at = Mouse_To_Geo(view_, px, py, area_->width(), area_->height());
  if (at) Center_Airport(at->lon, at->lat);
}

void Chart_Window::Timer1_Timer() {
  raise();
  if (sim_connected_) {
    int32_t result = LINK_OK;
    bool read = false;
    try {
      read = Read_Aircraft(link_, st_, result);
    } catch (const std::exception&) {
      read = false;
    }
    if (!read) {
      // No tick may run while the pilot reads the message: it would read again and fail again.
      timer1_->stop();
      Show_Message(this, Message_Icon::warning, Ui_Text(MSG_SIM_READ_FAILED));
      Link_Close(link_);
      sim_connected_ = false;
      Enable_Timer1();
      return;
    }
    label1_->setText(Ui_Text(Altimeter_Caption(st_.altim_value)));
    label1_->repaint();
  }
  if (st_.follow_acft && sim_connected_) {
    Center_Airport(st_.acft_lon, st_.acft_lat);
  } else {
    Redraw();
  }
}

void Chart_Window::Airpt_Place_Click() {
  Show_Selection_Window(st_);
  close();
}

void Chart_Window::Pref1_Click() {
  timer1_->stop();
  if (prefs_ && prefs_->isVisible()) {
    prefs_->raise();
    return;
  }
  prefs_ = Show_Preferences_Window(st_);
  connect(prefs_, &QDialog::finished, this, &Chart_Window::Enable_Timer1);
}

void Chart_Window::Orv_Abot2_Click() {
  timer1_->stop();
  if (about_ && about_->isVisible()) {
    about_->raise();
    return;
  }
  about_ = Show_About_Window();
  connect(about_, &QDialog::finished, this, &Chart_Window::Enable_Timer1);
}

Chart_Window* Show_Chart_Window(Program_State& st) {
  auto* w = new Chart_Window(st);
  if (!w->Load()) {
    w->deleteLater();
    return nullptr;
  }
  w->show();
  return w;
}

}  // namespace orv
