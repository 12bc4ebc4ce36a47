// The nearest airports window (Form7) in Qt: the heading, the list and its two buttons. It
// forwards the choice to the nearest airports behaviour and carries out what that asks.
#pragma once

#include <QDialog>

#include "behaviour/nearest_behaviour.h"

class QLabel;
class QListWidget;

namespace orv {

class Nearest_Window : public QDialog, public Nearest_View {
  Q_OBJECT

 public:
  explicit Nearest_Window(Nearest_Request request, QWidget* parent = nullptr);

  void Show_Message(Message_Icon icon, const std::string& text) override;
  void Close() override;
  void Set_Label1(const std::string& caption) override;
  void Fill_List(const std::vector<std::string>& items) override;

 protected:
  void done(int result) override;

 private:
  Nearest_Behaviour behaviour_;
  QLabel* label1_ = nullptr;
  QListWidget* list1_ = nullptr;
};

// Opens the window, modeless, above the chart.
Nearest_Window* Show_Nearest_Window(Nearest_Request request);

}  // namespace orv
