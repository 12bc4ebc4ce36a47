// Stands in for the chart window: shows which airport was fetched and leads back to the
// airport list. Show_Chart_Window is the one hand-over point from the airport fetch.
#pragma once

#include <QMainWindow>

namespace orv {

struct Program_State;

class Chart_Window_Placeholder : public QMainWindow {
  Q_OBJECT

 public:
  explicit Chart_Window_Placeholder(Program_State& st, QWidget* parent = nullptr);

 public Q_SLOTS:
  // "Change" / "Airport": back to the airport list, which loads the database again.
  void Airpt_Place_Click();

 private:
  Program_State& st_;
};

// Opens the chart window for st.cur_airport and st.airspaces.
QMainWindow* Show_Chart_Window(Program_State& st);

}  // namespace orv
