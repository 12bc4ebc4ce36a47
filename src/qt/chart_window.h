// The chart window (Form4) in Qt: the chart painted behind the altimeter label and the zoom and
// centre buttons, and the menus. It forwards every event to the chart's behaviour and carries
// out what that asks.
#pragma once

#include <QMainWindow>
#include <QString>

#include "behaviour/chart_behaviour.h"

class QLabel;
class QPagedPaintDevice;
class QPainter;
class QRect;
class QPushButton;
class QTimer;

namespace orv {

class Canvas;
struct Program_State;
class Chart_Area;

class Chart_Window : public QMainWindow, public Chart_Window_View {
  Q_OBJECT

 public:
  // The window as designed; Load() fills it for st.cur_airport. `link` is how the simulator is
  // reached (tests hand in a link over their own transport).
  Chart_Window(Program_State& st, Program_Windows& windows, Link_State link,
               QWidget* parent = nullptr);

  bool Load() { return behaviour_.Load(); }
  const Chart_View& View() const { return behaviour_.Projection(); }
  void Draw(Canvas& canvas) { behaviour_.Draw(canvas); }
  bool Sim_Connected() const { return behaviour_.Sim_Connected(); }
  const Link_State& Link() const { return behaviour_.Link(); }
  QTimer* Timer1() const { return timer1_; }
  // The client area: the chart's surface under the menu bar, where clicks re-centre.
  QWidget* Client_Area() const;

  // What the behaviour asks.
  void Show_Message(Message_Icon icon, const std::string& text) override;
  void Close() override;
  void Make_Topmost() override;
  void Set_Caption(const std::string& caption) override;
  void Set_Label1(const std::string& caption) override;
  void Enable_Timer1(bool on) override;
  void Redraw() override;
  Window_Size Outer_Size() const override;
  bool Is_Minimized() const override;
  void Show_Tooltip(const std::string& text, int32_t x, int32_t y) override;

 public Q_SLOTS:
  void Aircraft_Tick() { behaviour_.Aircraft_Tick(); }
  void Center_Airport(double x, double y) { behaviour_.Center_Airport(x, y); }
  void Client_Mouse_Down(Qt::MouseButton button, int px, int py);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The chart's keys, wherever the focus is in the window.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class Chart_Area;
  void Paint_Chart(QPainter& painter, const QRect& area);
  void Print_Chart();
  void Save_Pdf();
  void Paint_Page(QPagedPaintDevice& device);

  Chart_Behaviour behaviour_;
  Chart_Area* area_ = nullptr;
  QLabel* label1_ = nullptr;
  QTimer* timer1_ = nullptr;
};

}  // namespace orv
