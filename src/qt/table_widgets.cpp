#include "qt/table_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "qt/message_box.h"

namespace orv {
namespace {

QWidget* Make_Widget(const Control_Row& row, QWidget* parent) {
  const QString caption = Ui_Text(row.caption);
  switch (row.kind) {
    case Control_Kind::frame:
      return new QGroupBox(caption, parent);
    case Control_Kind::label:
      return new QLabel(caption, parent);
    case Control_Kind::centered_label: {
      auto* label = new QLabel(caption, parent);
      label->setAlignment(Qt::AlignCenter);
      return label;
    }
    case Control_Kind::button:
      return new QPushButton(caption, parent);
    case Control_Kind::check_box:
      return new QCheckBox(caption, parent);
    case Control_Kind::radio_button:
      return new QRadioButton(caption, parent);
    case Control_Kind::edit:
      return new QLineEdit(caption, parent);
    case Control_Kind::status_box: {
      auto* box = new QLineEdit(caption, parent);
      box->setReadOnly(true);
      return box;
    }
    case Control_Kind::page_text: {
      auto* text = new QPlainTextEdit(parent);
      text->setReadOnly(true);
      text->setPlainText(caption);
      // Text to read: the keyboard passes it by unless the table makes it a stop.
      if (!row.tab_stop) text->setFocusPolicy(Qt::NoFocus);
      return text;
    }
    case Control_Kind::airport_list: {
      auto* list = new QComboBox(parent);
      list->setEditable(true);
      list->setInsertPolicy(QComboBox::NoInsert);
      return list;
    }
    case Control_Kind::drive_list:
      return new QComboBox(parent);
    case Control_Kind::folder_list:
      return new QTreeWidget(parent);
    case Control_Kind::progress_bar:
      return new QProgressBar(parent);
    case Control_Kind::picture:
      return new QLabel(parent);
    case Control_Kind::item_list:
      return new QListWidget(parent);
  }
  return new QLabel(caption, parent);
}

}  // namespace

Table_Widgets::Table_Widgets(const Window_Table& table, QWidget* parent) : table_(table) {
  widgets_.reserve(table.controls.size());
  for (const Control_Row& row : table.controls) {
    QWidget* w = Make_Widget(row, parent);
    w->setObjectName(Ui_Text(row.name));
    widgets_.push_back(w);
  }
  // The window opens with the focus on the table's first control.
  if (table.first_focus != nullptr) widgets_[table.Index_Of(table.first_focus)]->setFocus();
}

std::vector<QAction*> Build_Menus(const Window_Table& table, QMenuBar* bar) {
  std::vector<QAction*> items(table.menus.size(), nullptr);
  for (const Menu_Row& row : table.menus) {
    if (row.parent != nullptr) continue;
    QMenu* menu = bar->addMenu(Ui_Text(row.caption));
    menu->setObjectName(Ui_Text(row.name));
    for (size_t j = 0; j < table.menus.size(); ++j) {
      const Menu_Row& item = table.menus[j];
      if (item.parent == nullptr || std::string_view(item.parent) != row.name) continue;
      items[j] = menu->addAction(Ui_Text(item.caption));
      items[j]->setObjectName(Ui_Text(item.name));
    }
  }
  return items;
}

QAction* Menu_Item(const Window_Table& table, const std::vector<QAction*>& items,
                   std::string_view name) {
  const size_t i = table.Menu_Index_Of(name);
  return i < items.size() ? items[i] : nullptr;
}

}  // namespace orv
