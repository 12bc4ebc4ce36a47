// The Qt widgets of a window table: made once, each with its object name, caption and kind; the
// window lays them out (Qt places them by layout, not by the Windows design rectangles) and
// finds them by name.
#pragma once

#include <QWidget>
#include <string_view>
#include <vector>

#include "behaviour/window_table.h"

class QAction;
class QMenuBar;

namespace orv {

class Table_Widgets {
 public:
  // Makes every control of `table` as a child of `parent`, in table order: the focus moves
  // between them in that order.
  Table_Widgets(const Window_Table& table, QWidget* parent);

  template <typename W>
  W* Get(std::string_view name) const {
    const size_t i = table_.Index_Of(name);
    return i < widgets_.size() ? qobject_cast<W*>(widgets_[i]) : nullptr;
  }

 private:
  const Window_Table& table_;
  std::vector<QWidget*> widgets_;
};

// The menus of `table` on `bar`, each menu and item named; returns the items by menu row (null
// for the rows that are menus).
std::vector<QAction*> Build_Menus(const Window_Table& table, QMenuBar* bar);

// The item of that name among those Build_Menus returned.
QAction* Menu_Item(const Window_Table& table, const std::vector<QAction*>& items,
                   std::string_view name);

}  // namespace orv
