// The chart's style, kept between runs in a small text file of its own beside the settings
// file, so the settings file keeps the layout and the bytes the program has always written:
//   style=classic | diagram
//   night=0 | 1
// Either line may be missing. A missing file, or one that is too long or holds any other line,
// gives the defaults: the classic chart in day colours.
#pragma once

#include <cstddef>
#include <filesystem>

namespace orv {

inline constexpr const char* CHART_STYLE_FILE = "orv_chart.cfg";
inline constexpr size_t CHART_STYLE_MAX_BYTES = 1024;

struct Chart_Style {
  bool diagram = false;
  bool night = false;

  bool operator==(const Chart_Style&) const = default;
};

// The style stored in `path`; the defaults for anything but a good file.
Chart_Style Load_Chart_Style(const std::filesystem::path& path);

// Writes the whole file under a temporary name; false when it could not be written.
bool Save_Chart_Style(const std::filesystem::path& path, const Chart_Style& style);

}  // namespace orv
