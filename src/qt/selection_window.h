// The airport selection window (Form3, "Choosing an airport") in Qt: the airport list, the two
// buttons, the status box, the progress bar, the About menu and the two timers. It forwards
// every event to the selection behaviour and carries out what that asks.
#pragma once

#include <QMainWindow>

#include "behaviour/selection_behaviour.h"

class QComboBox;
class QProgressBar;
class QLineEdit;
class QPushButton;
class QStringListModel;
class QTimer;

namespace orv {

class Selection_Window : public QMainWindow, public Selection_View {
  Q_OBJECT

 public:
  Selection_Window(Program_State& st, Program_Windows& windows, Tick_Clock clock = Steady_Now,
                   QWidget* parent = nullptr);

  QString Status() const;
  QTimer* Read_Sceneries_Paths() const { return read_sceneries_paths_; }
  QTimer* Scan_Bgls() const { return scan_bgls_; }
  const Database_Build& Build() const { return behaviour_.Build(); }

  // What the behaviour asks.
  void Show_Message(Message_Icon icon, const std::string& text) override;
  void Close() override;
  void Set_Status(const std::string& text) override;
  void Enable_Controls(bool on) override;
  void Set_Progress(int32_t value, int32_t maximum) override;
  void Fill_List(const std::vector<std::string>& items, const std::string& edit_text) override;
  void Enable_Timer(Selection_Timer timer, bool on) override;
  void Repaint() override;

 public Q_SLOTS:
  void Read_Sceneries_Paths_Timer() { behaviour_.Read_Sceneries_Paths_Timer(); }
  void Scan_Bgls_Timer() { behaviour_.Scan_Bgls_Timer(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Selection_Behaviour behaviour_;
  QComboBox* combo1_ = nullptr;
  void Narrow_List(const QString& typed);

  QStringListModel* items_ = nullptr;
  QStringListModel* narrowed_ = nullptr;  // what the list's popup shows as the pilot types
  QPushButton* command3_ = nullptr;
  QPushButton* command2_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QProgressBar* progress_bar1_ = nullptr;
  QTimer* read_sceneries_paths_ = nullptr;
  QTimer* scan_bgls_ = nullptr;
};

}  // namespace orv
