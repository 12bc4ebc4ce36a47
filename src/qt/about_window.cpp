#include "qt/about_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "behaviour/about_text.h"
#include "qt/message_box.h"

namespace orv {
namespace {

QLabel* Named_Label(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  return label;
}

}  // namespace

About_Window::About_Window(Window_Closed closed, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), behaviour_(*this, std::move(closed)) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(Ui_Text(ABOUT_CAPTION));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  auto* title = Named_Label(QStringLiteral("Label1"), Ui_Text(ABOUT_VERSION), this);
  QFont f = title->font();
  f.setBold(true);
  f.setPointSize(f.pointSize() + 4);
  title->setFont(f);

  auto* frame1 = new QGroupBox(QStringLiteral("Credits"), this);
  frame1->setObjectName(QStringLiteral("Frame1"));
  auto* thanks = new QPlainTextEdit(frame1);
  thanks->setObjectName(QStringLiteral("Text1"));
  thanks->setReadOnly(true);
  thanks->setPlainText(Ui_Text(ABOUT_CREDITS));
  auto* frame_layout = new QVBoxLayout(frame1);
  frame_layout->addWidget(Named_Label(QStringLiteral("Label2"), Ui_Text(ABOUT_THANKS), frame1));
  frame_layout->addWidget(thanks);

  auto* command1 = new QPushButton(QStringLiteral("Ok"), this);
  command1->setObjectName(QStringLiteral("Command1"));
  connect(command1, &QPushButton::clicked, this, [this] { behaviour_.Ok(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(Named_Label(QStringLiteral("Label3"), Ui_Text(ABOUT_SUMMARY), this));
  layout->addWidget(Named_Label(QStringLiteral("Label4"), Ui_Text(ABOUT_READS), this));
  layout->addWidget(frame1);
  layout->addWidget(Named_Label(QStringLiteral("Label5"), Ui_Text(ABOUT_NOTICE), this));
  layout->addWidget(command1, 0, Qt::AlignRight);
  resize(360, 400);
  behaviour_.Load();
}

void About_Window::Show_Message(Message_Icon icon, const std::string& text) {
  orv::Show_Message(this, icon, Ui_Text(text));
}

void About_Window::Close() {
  close();
}

void About_Window::Place_Top_Left() {
  move(0, 0);
}

// Every way of closing a dialog ends here: Ok, the close box, Escape.
void About_Window::done(int result) {
  QDialog::done(result);
  if (unloaded_) return;
  unloaded_ = true;
  behaviour_.Unload();
}

About_Window* Show_About_Window(Window_Closed closed) {
  auto* w = new About_Window(std::move(closed));
  w->show();
  w->Place_Top_Left();
  return w;
}

}  // namespace orv
