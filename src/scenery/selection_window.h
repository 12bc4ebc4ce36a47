// The airport selection window (Form3, "Choosing an airport"): loads the airport database, or
// builds it on a first run one scenery file per timer tick, lists every airport and hands the
// chosen one to the airport fetch and the chart window.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <string>

#include "scenery/database_build.h"

class QComboBox;
class QProgressBar;
class QLineEdit;
class QPushButton;
class QStringListModel;
class QTimer;

namespace orv {

struct Program_State;
class About_Window;

inline constexpr const char* STATUS_NONE = "-None-";
inline constexpr const char* STATUS_PLEASE_WAIT = "Please wait...";
inline constexpr const char* COMBO_PROMPT = "[Type and select an airport from the list]";
inline constexpr int READ_SCENERIES_PATHS_MS = 1000;
inline constexpr int SCAN_BGLS_MS = 5;

class Selection_Window : public QMainWindow {
  Q_OBJECT

 public:
  explicit Selection_Window(Program_State& st, QWidget* parent = nullptr);

  QString Status() const;
  QTimer* Read_Sceneries_Paths() const { return read_sceneries_paths_; }
  QTimer* Scan_Bgls() const { return scan_bgls_; }
  const Database_Build& Build() const { return build_; }

 public Q_SLOTS:
  // The one tick of the database load or of the build's preparation.
  void Read_Sceneries_Paths_Timer();
  // One scenery file of the build, or the build's end after the last one.
  void Scan_Bgls_Timer();
  void Command3_Click();  // GET AIRPORT
  void Command2_Click();  // CLOSE_PROGRAM
  void Airpt_Ch_Vw_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Set_Status(const QString& text);
  void Set_Controls_Enabled(bool enabled);
  void Set_Progress(int value, int maximum);
  void Load_Database_Files();
  void Finish_Build();
  bool Check_Written(const Write_Result& result, const char* what);
  void Report_Scan_Problems();
  void Fill_Airport_List();
  void Database_Damaged(const std::string& error);
  void Quit_Program();

  Program_State& st_;
  Database_Build build_;
  int busy_ = 0;            // > 0 while a handler runs: a close from outside then waits
  bool unloading_ = false;  // the window closes itself (fetch done, or the setup again)
  bool scenery_cfg_unread_ = false;
  bool magdec_unread_ = false;
  QComboBox* combo1_ = nullptr;
  QStringListModel* items_ = nullptr;
  QPushButton* command3_ = nullptr;
  QPushButton* command2_ = nullptr;
  QLineEdit* text1_ = nullptr;
  QProgressBar* progress_bar1_ = nullptr;
  QTimer* read_sceneries_paths_ = nullptr;
  QTimer* scan_bgls_ = nullptr;
  QPointer<About_Window> about_;
};

// Shows a progress of value out of maximum; a maximum of 0 shows an empty bar.
void Show_Progress(QProgressBar& bar, int value, int maximum);

// Opens the selection window; its load starts the database load or build a second later.
Selection_Window* Show_Selection_Window(Program_State& st);

}  // namespace orv
