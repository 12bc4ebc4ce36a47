// The About window (Form6, "About Orvane v1.2"): the version, the credits and a few words on
// what the program reads. Modeless, at the top-left corner of the screen, above other windows.
#pragma once

#include <QDialog>

namespace orv {

class About_Window : public QDialog {
  Q_OBJECT

 public:
  explicit About_Window(QWidget* parent = nullptr);
};

About_Window* Show_About_Window();

}  // namespace orv
