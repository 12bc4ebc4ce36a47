#include "behaviour/nearest_behaviour.h"

namespace orv {

namespace {

using K = Control_Kind;
constexpr Control_Row kNearestControls[] = {
    {"Label1", K::label, NEAREST_TO_CENTRE, {8, 8, 384, 17}},
    {"List1", K::item_list, "", {8, 28, 384, 300}, true},
    {"Command1", K::button, "Open Chart", {224, 336, 80, 25}, true},
    {"Command2", K::button, "Cancel", {312, 336, 80, 25}, true},
};

}  // namespace

const Window_Table NEAREST_WINDOW{.name = "Form7",
                                  .caption = "Nearest Airports",
                                  .client = {0, 0, 400, 369},
                                  .controls = kNearestControls,
                                  .default_button = "Command1",
                                  .first_focus = "List1"};

void Nearest_Behaviour::Load() {
  view_.Set_Label1(request_.heading);
  view_.Fill_List(request_.items);
}

void Nearest_Behaviour::Choose(int item) {
  if (item < 0 || static_cast<size_t>(item) >= request_.items.size()) return;
  // The window goes first; the chart it opens replaces the one that asked.
  const std::function<void(size_t)> chosen = request_.chosen;
  view_.Close();
  if (chosen) chosen(static_cast<size_t>(item));
}

void Nearest_Behaviour::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (request_.closed) request_.closed();
}

}  // namespace orv
