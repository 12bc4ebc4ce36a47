#include "qt/nearest_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "qt/message_box.h"
#include "qt/table_widgets.h"

namespace orv {

Nearest_Window::Nearest_Window(Nearest_Request request, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      behaviour_(*this, std::move(request)) {
  setObjectName(Ui_Text(NEAREST_WINDOW.name));
  setWindowTitle(Ui_Text(NEAREST_WINDOW.caption));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  const Table_Widgets w(NEAREST_WINDOW, this);
  label1_ = w.Get<QLabel>("Label1");
  list1_ = w.Get<QListWidget>("List1");
  auto* open = w.Get<QPushButton>("Command1");
  auto* cancel = w.Get<QPushButton>("Command2");
  open->setDefault(true);
  connect(open, &QPushButton::clicked, this, [this] { behaviour_.Choose(list1_->currentRow()); });
  connect(cancel, &QPushButton::clicked, this, [this] { behaviour_.Cancel(); });
  connect(list1_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { behaviour_.Choose(list1_->row(item)); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(open);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1_);
  layout->addWidget(list1_);
  layout->addLayout(buttons);
  resize(NEAREST_WINDOW.client.w, NEAREST_WINDOW.client.h);
  list1_->setFocus();
  behaviour_.Load();
}

void Nearest_Window::Show_Message(Message_Icon icon, const std::string& text) {
  orv::Show_Message(this, icon, Ui_Text(text));
}

void Nearest_Window::Close() {
  close();
}

void Nearest_Window::Set_Label1(const std::string& caption) {
  label1_->setText(Ui_Text(caption));
}

void Nearest_Window::Fill_List(const std::vector<std::string>& items) {
  list1_->clear();
  for (const std::string& item : items) list1_->addItem(Ui_Text(item));
  if (!items.empty()) list1_->setCurrentRow(0);
}

// Every way of closing ends here: a choice, Cancel, the close box, Escape.
void Nearest_Window::done(int result) {
  QDialog::done(result);
  behaviour_.Unload();
}

Nearest_Window* Show_Nearest_Window(Nearest_Request request) {
  auto* w = new Nearest_Window(std::move(request));
  w->show();
  return w;
}

}  // namespace orv
