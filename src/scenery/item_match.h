// The airport list narrowed as the pilot types: the items that hold the typed text anywhere,
// letter case ignored the way the program folds Windows-1252 text.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The list's items (UTF-8) as they are compared: their Windows-1252 bytes, upper-cased. An item
// with a character Windows-1252 lacks (no database item has one) folds to "" and so only matches
// an empty text.
std::vector<std::string> Fold_Items(std::span<const std::string> items);

// The positions, in list order, of the folded items that contain the typed text (UTF-8): every
// item for an empty text, none for a text with a character Windows-1252 lacks.
std::vector<int> Items_Containing(std::span<const std::string> folded_items,
                                  std::string_view typed);

}  // namespace orv
