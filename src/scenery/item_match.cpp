#include "scenery/item_match.h"

#include <optional>

#include "core/text_1252.h"

namespace orv {
namespace {

std::optional<std::string> Folded(std::string_view utf8) {
  const std::optional<std::string> bytes = Text_1252_From_Utf8(utf8);
  if (!bytes) return std::nullopt;
  return Upper_1252(*bytes);
}

}  // namespace

std::vector<std::string> Fold_Items(std::span<const std::string> items) {
  std::vector<std::string> folded;
  folded.reserve(items.size());
  for (const std::string& item : items) folded.push_back(Folded(item).value_or(std::string()));
  return folded;
}

std::vector<int> Items_Containing(std::span<const std::string> folded_items,
                                  std::string_view typed) {
  std::vector<int> found;
  const std::optional<std::string> wanted = Folded(typed);
  if (!wanted) return found;
  for (size_t i = 0; i < folded_items.size(); ++i) {
    if (folded_items[i].find(*wanted) != std::string::npos) found.push_back(static_cast<int>(i));
  }
  return found;
}

}  // namespace orv
