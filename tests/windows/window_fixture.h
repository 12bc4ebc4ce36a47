// What every window test shares: a fresh working folder and program state, message boxes and
// the program's end recorded instead of shown, and helpers to find and drive the windows.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "behaviour/chart_behaviour.h"
#include "behaviour/preferences_behaviour.h"
#include "behaviour/selection_behaviour.h"
#include "behaviour/setup_behaviour.h"
#include "behaviour/splash_behaviour.h"
#include "core/program_state.h"
#include "qt/message_box.h"
#include "qt/qt_windows.h"
#include "simlink/sim_choice.h"
#include "support/temp_dir.h"

namespace orv {

class Window_Test : public ::testing::Test {
 protected:
  void SetUp() override {
    st.work_dir = dir / "work";
    std::filesystem::create_directories(st.work_dir);
    Set_Message_Hook([this](const Shown_Message& m) { messages.push_back(m); });
    Set_End_Hook([this] { ++ended; });
  }

  void TearDown() override {
    Delete_Windows();
    Set_Message_Hook({});
    Set_End_Hook({});
  }

  // Deleting a window does not run its close handler, so nothing ends or is removed here. A
  // popup (a completer's list) belongs to the object that shows it and goes with it.
  static void Delete_Windows() {
    Flush();
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->parentWidget() == nullptr && w->windowType() != Qt::Popup) windows.emplace_back(w);
    }
    for (const QPointer<QWidget>& w : windows) delete w.data();
  }

  // Runs the deletions of windows that were closed.
  static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // The one open window of type W, or null.
  template <class W>
  static W* Open_Window() {
    Flush();
    W* found = nullptr;
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* typed = qobject_cast<W*>(w); typed && typed->isVisible()) {
        found = typed;
        ++count;
      }
    }
    return count == 1 ? found : nullptr;
  }

  template <class W>
  static W* Child(QWidget* window, const char* name) {
    return window->findChild<W*>(QString::fromUtf8(name));
  }

  // The window holds every control of its table, named, with its caption where it shows one,
  // and the table's menus; its title too unless its load changes it.
  static void Expect_Built(QWidget* window, const Window_Table& table,
                           bool caption_as_designed = true) {
    EXPECT_EQ(window->objectName(), Ui_Text(table.name));
    if (caption_as_designed) {
      EXPECT_EQ(window->windowTitle(), Ui_Text(table.caption));
    }
    for (const Control_Row& row : table.controls) {
      QWidget* control = Child<QWidget>(window, row.name);
      ASSERT_NE(control, nullptr) << row.name;
      const QVariant text =
          control->property(qobject_cast<QGroupBox*>(control) != nullptr ? "title" : "text");
      // What a window loads into its edit boxes and bars is its own, not the table's.
      const bool shows_caption = row.kind != Control_Kind::edit &&
                                 row.kind != Control_Kind::page_text &&
                                 row.kind != Control_Kind::progress_bar && text.isValid();
      if (shows_caption) {
        EXPECT_EQ(text.toString(), Ui_Text(row.caption)) << row.name;
      }
    }
    for (const Menu_Row& row : table.menus) {
      auto* item = Child<QObject>(window, row.name);
      ASSERT_NE(item, nullptr) << row.name;
      const QVariant text = item->property(row.parent ? "text" : "title");
      EXPECT_EQ(text.toString(), Ui_Text(row.caption)) << row.name;
    }
  }

  bool Data_File_Exists(const char* name) const {
    return std::filesystem::exists(st.work_dir / name);
  }

  testing::Temp_Dir dir;
  Program_State st;
  std::chrono::microseconds clock_now{0};
  // A clock that moves on a whole scan slice at every look: one scan step per tick.
  Qt_Windows windows{st, Platform_Link, [this] { return clock_now += SCAN_SLICE; }};
  std::vector<Shown_Message> messages;
  int ended = 0;
};

}  // namespace orv
