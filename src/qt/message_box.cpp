#include "qt/message_box.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <utility>

namespace orv {
namespace {

Message_Hook& Message_Hook_Slot() {
  static Message_Hook hook;
  return hook;
}

End_Hook& End_Hook_Slot() {
  static End_Hook hook;
  return hook;
}

QMessageBox::Icon Box_Icon(Message_Icon icon) {
  switch (icon) {
    case Message_Icon::information:
      return QMessageBox::Information;
    case Message_Icon::exclamation:
    case Message_Icon::warning:
      return QMessageBox::Warning;
    case Message_Icon::error:
      return QMessageBox::Critical;
  }
  return QMessageBox::Information;
}

}  // namespace

void Show_Message(QWidget* parent, Message_Icon icon, const QString& text) {
  if (const Message_Hook& hook = Message_Hook_Slot()) {
    hook({icon, text});
    return;
  }
  QMessageBox box(Box_Icon(icon), Ui_Text(MESSAGE_TITLE), text, QMessageBox::Ok, parent);
  box.exec();
}

void Set_Message_Hook(Message_Hook hook) {
  Message_Hook_Slot() = std::move(hook);
}

void End_Program() {
  if (const End_Hook& hook = End_Hook_Slot()) {
    hook();
    return;
  }
  // Leaves every event loop at once; quit() would first ask each window to close, and a window
  // whose handler is still running refuses, so the program would go on.
  QCoreApplication::exit(0);
}

void Set_End_Hook(End_Hook hook) {
  End_Hook_Slot() = std::move(hook);
}

}  // namespace orv
