#include "qt/about_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "qt/message_box.h"
#include "qt/table_widgets.h"

namespace orv {

About_Window::About_Window(Window_Closed closed, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), behaviour_(*this, std::move(closed)) {
  setObjectName(Ui_Text(ABOUT_WINDOW.name));
  setWindowTitle(Ui_Text(ABOUT_WINDOW.caption));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  const Table_Widgets w(ABOUT_WINDOW, this);
  for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
    w.Get<QLabel>(name)->setWordWrap(true);
  }
  auto* title = w.Get<QLabel>("Label1");
  QFont f = title->font();
  f.setBold(true);
  f.setPointSize(f.pointSize() + 4);
  title->setFont(f);

  auto* frame1 = w.Get<QGroupBox>("Frame1");
  auto* frame_layout = new QVBoxLayout(frame1);
  frame_layout->addWidget(w.Get<QLabel>("Label2"));
  frame_layout->addWidget(w.Get<QPlainTextEdit>("Text1"));

  auto* command1 = w.Get<QPushButton>("Command1");
  connect(command1, &QPushButton::clicked, this, [this] { behaviour_.Ok(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(w.Get<QLabel>("Label3"));
  layout->addWidget(w.Get<QLabel>("Label4"));
  layout->addWidget(frame1);
  layout->addWidget(w.Get<QLabel>("Label5"));
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
  behaviour_.Unload();
}

About_Window* Show_About_Window(Window_Closed closed) {
  auto* w = new About_Window(std::move(closed));
  w->show();
  w->Place_Top_Left();
  return w;
}

}  // namespace orv
