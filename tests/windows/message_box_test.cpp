// The real message boxes (no hook): the title and the icon of each kind, and the program's
// end hook.
#include <QMessageBox>
#include <QTimer>

#include "window_fixture.h"

namespace orv {
namespace {

struct Seen_Box {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a box and dismisses it from the event loop the box itself runs.
Seen_Box Show_And_Dismiss(Message_Icon icon, const QString& text) {
  Seen_Box seen;
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    seen = {box->windowTitle(), box->text(), box->icon()};
    box->accept();
  });
  Show_Message(nullptr, icon, text);
  return seen;
}

TEST(Message_Box, EveryBoxIsTitledOrvaneMessageWithItsIcon) {
  Set_Message_Hook({});
  const std::vector<std::pair<Message_Icon, QMessageBox::Icon>> icons = {
      {Message_Icon::information, QMessageBox::Information},
      {Message_Icon::exclamation, QMessageBox::Warning},
      {Message_Icon::warning, QMessageBox::Warning},
      {Message_Icon::error, QMessageBox::Critical},
  };
  for (const auto& [icon, box_icon] : icons) {
    const Seen_Box seen = Show_And_Dismiss(icon, QStringLiteral("Settings file created!"));
    EXPECT_EQ(seen.title, QStringLiteral("Orvane Message"));
    EXPECT_EQ(seen.text, QStringLiteral("Settings file created!"));
    EXPECT_EQ(seen.icon, box_icon);
  }
}

TEST(Message_Box, HooksTakeTheBoxesAndTheEndUntilCleared) {
  std::vector<Shown_Message> seen;
  int ended = 0;
  Set_Message_Hook([&seen](const Shown_Message& m) { seen.push_back(m); });
  Set_End_Hook([&ended] { ++ended; });
  Show_Message(nullptr, Message_Icon::error, QStringLiteral("x"));
  End_Program();
  Set_Message_Hook({});
  Set_End_Hook({});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].icon, Message_Icon::error);
  EXPECT_EQ(ended, 1);
  const Seen_Box real = Show_And_Dismiss(Message_Icon::information, QStringLiteral("y"));
  EXPECT_EQ(real.text, QStringLiteral("y"));
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
}  // namespace orv
