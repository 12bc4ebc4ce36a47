// The About window (Form6, "About Orvane v1.2") in Qt: the version, the credits and a few words
// on what the program reads. Modeless, at the top-left corner of the screen, above other windows.
#pragma once

#include <QDialog>

#include "behaviour/preferences_behaviour.h"

namespace orv {

class About_Window : public QDialog, public About_View {
  Q_OBJECT

 public:
  // However it closes, it tells `closed` and emits finished().
  explicit About_Window(Window_Closed closed = {}, QWidget* parent = nullptr);

  void Show_Message(Message_Icon icon, const std::string& text) override;
  void Close() override;
  void Place_Top_Left() override;

 protected:
  void done(int result) override;

 private:
  About_Behaviour behaviour_;
};

About_Window* Show_About_Window(Window_Closed closed = {});

}  // namespace orv
