// The chart window (Form4): the chosen airport's chart with its zoom and centre buttons, the
// altimeter label, the re-centring click, and menus back to the airport list, to the
// preferences and to the About window. It opens the simulator link when it loads, reads the
// aircraft once a second and closes the link when it goes.
//
// The window only keeps the view and the link and calls the engine: the view arithmetic, the
// layers, the aircraft symbol and the reads all live there.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "chart/chart_projection.h"
#include "simlink/link_client.h"

class QLabel;
class QPainter;
class QRect;
class QPushButton;
class QTimer;

namespace orv {

class Canvas;
struct Program_State;
class About_Window;
class Chart_Area;
class Preferences_Window;

inline constexpr int TIMER1_MS = 1000;
inline constexpr int32_t CHART_SIM_CODE = 6;  // FS2002, as the link must report it
inline constexpr int CHART_CLIENT_W = 271;    // client area at design
inline constexpr int CHART_CLIENT_H = 228;

inline constexpr const char* CHART_DESIGN_CAPTION = "Current Airport's Chart";
inline constexpr const char* MSG_NO_SIM_AT_LOAD =
    "This program couldn't connect to the FS2002. Anyway this program will still display the "
    "currently airport's chart.";
inline constexpr const char* MSG_SIM_READ_FAILED =
    "Error while receiving data from FSUIPC. Anyway this program will still display the "
    "currently airport's chart.";
inline constexpr const char* MSG_LOAD_FAILED =
    "Your Microsoft Windows Version doesn't support the current API used by this program. The "
    "program will shutdown.";

// A link over the platform's own transport: the simulator's window on Windows, its local socket
// on Linux.
Link_State Platform_Link();

class Chart_Window : public QMainWindow {
  Q_OBJECT

 public:
  // The window as designed; Load() fills it for st.cur_airport. `link` is how the simulator is
  // reached (tests hand in a link over their own transport).
  explicit Chart_Window(Program_State& st, Link_State link = Platform_Link(),
                        QWidget* parent = nullptr);
  ~Chart_Window() override;

  // The load: the link, the caption, the window size, the initial view, the display switches
  // and the timer. A failure ends the program after telling the pilot; returns false then.
  bool Load();

  const Chart_View& View() const { return view_; }

  // One redraw of the chart as the window paints it: clear, the layers, then the aircraft.
  void Draw(Canvas& canvas);
  bool Sim_Connected() const { return sim_connected_; }
  QTimer* Timer1() const { return timer1_; }
  const Link_State& Link() const { return link_; }
  // The client area: the chart's surface under the menu bar, where clicks re-centre.
  QWidget* Client_Area() const;
  // The preferences and About windows opened from the menus, while they exist.
  Preferences_Window* Preferences() const;
  About_Window* About() const;

 public Q_SLOTS:
  void Command2_Click();  // Zoom in
  void Command3_Click();  // Center
  void Command4_Click();  // Zoom out
  void Airpt_Place_Click();
  void Pref1_Click();
  void Orv_Abot2_Click();
  void Timer1_Timer();

  // Re-centres the view on longitude x, latitude y and redraws.
  void Center_Airport(double x, double y);
  // A mouse press at client pixel (px, py): the left button re-centres there.
  void Client_Mouse_Down(Qt::MouseButton button, int px, int py);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class Chart_Area;

  void Run_Load();
  void Measure_Window();
  void Form_Resize();
  template <typename Change>
  void Redraw_Sequence(Change change);
  void Redraw();
  bool Dialog_Open() const;
  void Enable_Timer1();
  void Paint_Chart(QPainter& painter, const QRect& area);

  Program_State& st_;
  Link_State link_;
  Chart_View view_;
  bool sim_connected_ = false;
  bool loaded_ = false;
  bool unloaded_ = false;
  Chart_Area* area_ = nullptr;
  QLabel* label1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* command3_ = nullptr;
  QPushButton* command4_ = nullptr;
  QTimer* timer1_ = nullptr;
  // The windows that hold the timer stopped while they are open.
  QPointer<Preferences_Window> prefs_;
  QPointer<About_Window> about_;
};

// Opens the chart window for st.cur_airport and st.airspaces; the one hand-over point from the
// airport fetch. Null when the load failed (the program is then ending).
Chart_Window* Show_Chart_Window(Program_State& st);

}  // namespace orv
