#include "qt/preferences_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>
#include <utility>

#include "qt/message_box.h"
#include "qt/table_widgets.h"
#include "simlink/relay_wire.h"

namespace orv {
Preferences_Window::Preferences_Window(Program_State& st, Window_Closed closed, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      behaviour_(st, *this, std::move(closed)) {
  setObjectName(Ui_Text(PREFERENCES_WINDOW.name));
  setWindowTitle(Ui_Text(PREFERENCES_WINDOW.caption));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  const Table_Widgets w(PREFERENCES_WINDOW, this);
  auto* frame1 = w.Get<QGroupBox>("Frame1");
  auto* frame1_layout = new QVBoxLayout(frame1);
  for (int n = 1; n <= CHECK_COUNT; ++n) {
    auto* box = w.Get<QCheckBox>("Check" + std::to_string(n));
    connect(box, &QCheckBox::clicked, this,
            [this, n](bool checked) { behaviour_.Display_Switch_Changed(n, checked); });
    frame1_layout->addWidget(box);
    check_[n - 1] = box;
  }

  auto* frame2 = w.Get<QGroupBox>("Frame2");
  option1_ = w.Get<QRadioButton>("Option1");
  option2_ = w.Get<QRadioButton>("Option2");
  auto* frame2_layout = new QVBoxLayout(frame2);
  frame2_layout->addWidget(option1_);
  frame2_layout->addWidget(option2_);
  connect(option1_, &QRadioButton::clicked, this, [this] { behaviour_.Millibars_Chosen(); });
  connect(option2_, &QRadioButton::clicked, this, [this] { behaviour_.Inches_Chosen(); });

  auto* command1 = w.Get<QPushButton>("Command1");
  connect(command1, &QPushButton::clicked, this, [this] { behaviour_.Ok(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame1);
  layout->addWidget(frame2);
  layout->addWidget(Make_Frame3(w));
  layout->addWidget(Make_Frame4(w));
  layout->addWidget(command1, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  behaviour_.Load();
}

// The "Simulator" group: this computer, or another one's relay at HOST:PORT with its key.
QWidget* Preferences_Window::Make_Frame3(const Table_Widgets& w) {
  auto* frame3 = w.Get<QGroupBox>("Frame3");
  option3_ = w.Get<QRadioButton>("Option3");
  option4_ = w.Get<QRadioButton>("Option4");
  text1_ = w.Get<QLineEdit>("Text1");
  text1_->setPlaceholderText(QStringLiteral("HOST:PORT"));
  auto* label1 = w.Get<QLabel>("Label1");
  text2_ = w.Get<QLineEdit>("Text2");
  text2_->setMaxLength(static_cast<int>(RELAY_MAX_KEY));
  label1->setBuddy(text2_);

  auto* remote_row = new QHBoxLayout;
  remote_row->addWidget(option4_);
  remote_row->addWidget(text1_);
  auto* key_row = new QHBoxLayout;
  key_row->addWidget(label1);
  key_row->addWidget(text2_);
  auto* frame3_layout = new QVBoxLayout(frame3);
  frame3_layout->addWidget(option3_);
  frame3_layout->addLayout(remote_row);
  frame3_layout->addLayout(key_row);

  connect(option3_, &QRadioButton::clicked, this, [this] { behaviour_.This_Computer_Chosen(); });
  connect(option4_, &QRadioButton::clicked, this, [this] { behaviour_.Another_Computer_Chosen(); });
  connect(text1_, &QLineEdit::textEdited, this,
          [this](const QString& t) { behaviour_.Address_Typed(t.toStdString()); });
  connect(text2_, &QLineEdit::textEdited, this,
          [this](const QString& t) { behaviour_.Key_Typed(t.toStdString()); });
  return frame3;
}

// The "Chart style" group: the classic chart or the diagram, and the diagram's night colours.
QWidget* Preferences_Window::Make_Frame4(const Table_Widgets& w) {
  auto* frame4 = w.Get<QGroupBox>("Frame4");
  option5_ = w.Get<QRadioButton>("Option5");
  option6_ = w.Get<QRadioButton>("Option6");
  check8_ = w.Get<QCheckBox>("Check8");
  auto* style_row = new QHBoxLayout;
  style_row->addWidget(option5_);
  style_row->addWidget(option6_);
  auto* frame4_layout = new QVBoxLayout(frame4);
  frame4_layout->addLayout(style_row);
  frame4_layout->addWidget(check8_);
  connect(option5_, &QRadioButton::clicked, this, [this] { behaviour_.Classic_Chosen(); });
  connect(option6_, &QRadioButton::clicked, this, [this] { behaviour_.Diagram_Chosen(); });
  connect(check8_, &QCheckBox::clicked, this,
          [this](bool checked) { behaviour_.Night_Colours_Changed(checked); });
  return frame4;
}

void Preferences_Window::Set_Chart_Style(bool diagram, bool night) {
  option5_->setChecked(!diagram);
  option6_->setChecked(diagram);
  check8_->setChecked(night);
}

void Preferences_Window::Show_Message(Message_Icon icon, const std::string& text) {
  orv::Show_Message(this, icon, Ui_Text(text));
}

void Preferences_Window::Close() {
  close();
}

void Preferences_Window::Place_Top_Left() {
  move(0, 0);
}

void Preferences_Window::Set_Check(int n, bool checked) {
  check_[n - 1]->setChecked(checked);
}

void Preferences_Window::Set_Options(bool millibars) {
  option1_->setChecked(millibars);
  option2_->setChecked(!millibars);
}

void Preferences_Window::Set_Simulator(bool remote, const std::string& address,
                                       const std::string& key) {
  option3_->setChecked(!remote);
  option4_->setChecked(remote);
  text1_->setText(QString::fromStdString(address));
  text2_->setText(QString::fromStdString(key));
}

// Every way of closing a dialog ends here: Ok, the close box, Escape.
void Preferences_Window::done(int result) {
  QDialog::done(result);
  behaviour_.Unload();
}

Preferences_Window* Show_Preferences_Window(Program_State& st, Window_Closed closed) {
  auto* w = new Preferences_Window(st, std::move(closed));
  w->show();
  w->Place_Top_Left();
  return w;
}

}  // namespace orv
