#include "prefs/preferences_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/message_box.h"
#include "core/program_state.h"

namespace orv {

Preferences_Window::Preferences_Window(Program_State& st, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      st_(st) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("Options"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  auto* frame1 = new QGroupBox(QStringLiteral("Options"), this);
  frame1->setObjectName(QStringLiteral("Frame1"));
  auto* frame1_layout = new QVBoxLayout(frame1);
  check_[0] = Add_Check("Check1", "Display Taxiways IDs", &Program_State::show_twy_ids);
  check_[1] = Add_Check("Check2", "Display Taxiways", &Program_State::show_twys);
  check_[2] = Add_Check("Check3", "Display ILS", &Program_State::show_ils);
  check_[3] = Add_Check("Check4", "Display Airspace", &Program_State::show_airspace);
  check_[4] = Add_Check("Check5", "Display Gates\\Parkings", &Program_State::show_gates);
  check_[5] = Add_Check("Check6", "Follow Aircraft", &Program_State::follow_acft);
  for (QCheckBox* box : check_) {
    box->setParent(frame1);
    frame1_layout->addWidget(box);
  }

  auto* frame2 = new QGroupBox(QStringLiteral("Altimeter Setting Units"), this);
  frame2->setObjectName(QStringLiteral("Frame2"));
  option1_ = new QRadioButton(QStringLiteral("Millibars"), frame2);
  option1_->setObjectName(QStringLiteral("Option1"));
  option2_ = new QRadioButton(QStringLiteral("Inches of Mercury"), frame2);
  option2_->setObjectName(QStringLiteral("Option2"));
  auto* frame2_layout = new QVBoxLayout(frame2);
  frame2_layout->addWidget(option1_);
  frame2_layout->addWidget(option2_);
  connect(option1_, &QRadioButton::clicked, this, &Preferences_Window::Option1_Click);
  connect(option2_, &QRadioButton::clicked, this, &Preferences_Window::Option2_Click);

  auto* command1 = new QPushButton(QStringLiteral("Ok"), this);
  command1->setObjectName(QStringLiteral("Command1"));
  connect(command1, &QPushButton::clicked, this, &Preferences_Window::Command1_Click);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame1);
  layout->addWidget(frame2);
  layout->addWidget(command1, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  Form_Load();
}

QCheckBox* Preferences_Window::Add_Check(const char* name, const char* caption,
                                         bool Program_State::*flag) {
  auto* box = new QCheckBox(Ui_Text(caption), this);
  box->setObjectName(Ui_Text(name));
  connect(box, &QCheckBox::clicked, this, [this, flag](bool checked) { st_.*flag = checked; });
  return box;
}

void Preferences_Window::Form_Load() {
  move(0, 0);
  check_[0]->setChecked(st_.show_twy_ids);
  check_[1]->setChecked(st_.show_twys);
  check_[2]->setChecked(st_.show_ils);
  check_[3]->setChecked(st_.show_airspace);
  check_[4]->setChecked(st_.show_gates);
  check_[5]->setChecked(st_.follow_acft);
  const bool inches = st_.altim_units != 0;
  option1_->setChecked(!inches);
  option2_->setChecked(inches);
}

void Preferences_Window::Option1_Click() {
  option1_->setChecked(true);
  st_.altim_units = 0;
}

void Preferences_Window::Option2_Click() {
  option2_->setChecked(true);
  st_.altim_units = 1;
}

void Preferences_Window::Command1_Click() {
  close();
}

Preferences_Window* Show_Preferences_Window(Program_State& st) {
  auto* w = new Preferences_Window(st);
  w->show();
  w->move(0, 0);
  return w;
}

}  // namespace orv
