// Simulator folders inside a Wine prefix on Linux: the folder holding dosdevices/ and
// drive_c/, whose dosdevices entries ("c:", "d:", ...) link each drive letter to its folder.
// Add-on areas of scenery.cfg name their folders by those letters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The Wine prefix that holds `folder`: the nearest folder above it that has a "dosdevices"
// folder. Nothing when `folder` lies in no prefix.
std::optional<std::string> Wine_Prefix_Of(std::string_view folder);

// The drives of a prefix, in letter order: each dosdevices entry that is a letter and a colon
// and leads to a folder, as "c:".
std::vector<std::string> Prefix_Drives(std::string_view prefix);

// `path` with its leading drive letter and colon ("C:\Addons", "d:/x") taken through the
// prefix's dosdevices link of that letter, every name matched ignoring case as on disk.
// Nothing when the path starts with no drive letter, the prefix lacks the letter, or the
// folder does not exist.
std::optional<std::string> Resolve_In_Prefix(std::string_view prefix, std::string_view path);

}  // namespace orv
