#include "data/chart_style_file.h"

#include <sstream>
#include <string>

#include "core/file_system.h"

namespace orv {

namespace {

bool Apply_Line(const std::string& line, Chart_Style& style) {
  if (line == "style=classic" || line == "style=diagram") {
    style.diagram = line == "style=diagram";
  } else if (line == "night=0" || line == "night=1") {
    style.night = line == "night=1";
  } else {
    return false;
  }
  return true;
}

}  // namespace

Chart_Style Load_Chart_Style(const std::filesystem::path& path) {
  const auto bytes = Read_Whole_File(path, CHART_STYLE_MAX_BYTES + 1);
  if (!bytes || bytes->size() > CHART_STYLE_MAX_BYTES) return {};
  std::istringstream lines(std::string(bytes->begin(), bytes->end()));
  Chart_Style style;
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && !Apply_Line(line, style)) return {};
  }
  return style;
}

bool Save_Chart_Style(const std::filesystem::path& path, const Chart_Style& style) {
  const std::string text = std::string("style=") + (style.diagram ? "diagram" : "classic") +
                           "\nnight=" + (style.night ? "1" : "0") + "\n";
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  return Write_File_Safely(path, std::span(bytes, text.size())).ok;
}

}  // namespace orv
