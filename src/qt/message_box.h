// The program's messages to the pilot and its end, in Qt. Every message box is titled "Orvane
// Message"; tests install a hook that records the box instead of showing it, and another that
// records the end of the program instead of leaving the event loop.
#pragma once

#include <QString>
#include <functional>
#include <string_view>

#include "behaviour/program_windows.h"

class QWidget;

namespace orv {

struct Shown_Message {
  Message_Icon icon = Message_Icon::information;
  QString text;
};

// Shows a modal message box; returns once the pilot has dismissed it.
void Show_Message(QWidget* parent, Message_Icon icon, const QString& text);

// With a hook set, messages go to it and no box is shown. An empty hook restores the boxes.
using Message_Hook = std::function<void(const Shown_Message&)>;
void Set_Message_Hook(Message_Hook hook);

// Ends the program: leaves every event loop, or calls the hook when one is set.
void End_Program();
using End_Hook = std::function<void()>;
void Set_End_Hook(End_Hook hook);

// The program's own texts (UTF-8) as Qt strings, and back.
inline QString Ui_Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string Std_Text(const QString& text) {
  return text.toStdString();
}

}  // namespace orv
