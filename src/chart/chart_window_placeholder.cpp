#include "chart/chart_window_placeholder.h"

#include <QLabel>
#include <QMenuBar>

#include "app/message_box.h"
#include "scenery/selection_window.h"
#include "scenery/text_1252.h"
#include "startup/program_state.h"

namespace orv {

Chart_Window_Placeholder::Chart_Window_Placeholder(Program_State& st, QWidget* parent)
    : QMainWindow(parent), st_(st) {
  setObjectName(QStringLiteral("Form4"));
  setAttribute(Qt::WA_DeleteOnClose);
  const QString name = Ui_Text(Utf8_From_1252(st_.cur_airport.name));
  const QString ident = Ui_Text(Utf8_From_1252(st_.cur_airport.ident));
  setWindowTitle(name + QStringLiteral(" Chart"));

  auto* label = new QLabel(this);
  label->setObjectName(QStringLiteral("Label1"));
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  label->setText(QStringLiteral("%1 (%2)\n\nThe chart of this airport is coming in the next "
                                "version of Orvane.\n%3 runways, %4 airspaces found.")
                     .arg(ident, name)
                     .arg(st_.cur_airport.runway_count)
                     .arg(st_.airspace_count));
  setCentralWidget(label);

  QMenu* go_to1 = menuBar()->addMenu(QStringLiteral("Change"));
  go_to1->setObjectName(QStringLiteral("go_to1"));
  QAction* airpt_place = go_to1->addAction(QStringLiteral("Airport"));
  airpt_place->setObjectName(QStringLiteral("airpt_place"));
  connect(airpt_place, &QAction::triggered, this, &Chart_Window_Placeholder::Airpt_Place_Click);
  resize(400, 300);
}

void Chart_Window_Placeholder::Airpt_Place_Click() {
  Show_Selection_Window(st_);
  close();
}

QMainWindow* Show_Chart_Window(Program_State& st) {
  auto* w = new Chart_Window_Placeholder(st);
  w->show();
  return w;
}

}  // namespace orv
