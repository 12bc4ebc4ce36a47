// The PNG painter of orvane-tool lives in a module of its own, loaded only when a chart is
// asked for as PNG, so that every other subcommand starts without loading the toolkit. The
// tool records one redraw of the chart and hands the calls to the module, which paints them
// with the window's own canvas and encodes the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/recording_canvas.h"

namespace orv {

// The module's file name and the name of its one entry point.
#ifdef _WIN32
inline constexpr const char* PNG_MODULE_FILE = "orvane-png.dll";
#else
inline constexpr const char* PNG_MODULE_FILE = "orvane-png.so";
#endif
inline constexpr const char* PNG_MODULE_ENTRY = "Orvane_Paint_Png";
inline constexpr const char* PDF_MODULE_ENTRY = "Orvane_Paint_Pdf";

// Paints `count` recorded calls on a white width x height picture and appends its PNG bytes to
// `png`. Returns 0 on success, nonzero when the picture could not be made or encoded.
using Png_Paint_Entry = int (*)(const Draw_Call* calls, size_t count, int32_t width, int32_t height,
                                std::string* png);

// Paints `count` recorded calls, in dots of a page of w_mm x h_mm at dpi dots per inch, as one
// PDF page and appends its bytes to `pdf`. Returns 0 on success.
using Pdf_Paint_Entry = int (*)(const Draw_Call* calls, size_t count, double w_mm, double h_mm,
                                int32_t dpi, std::string* pdf);

// The page painted as PDF through the same module; false, with `error` set, when it cannot be.
bool Paint_Pdf(const std::vector<Draw_Call>& calls, double w_mm, double h_mm, int32_t dpi,
               std::string& pdf, std::string& error);

// The recorded calls painted as PNG through the module, found beside the executable or in
// the lib/orvane folder of an installation. Nothing, with `error` set, when the module cannot
// be loaded or the picture not painted.
bool Paint_Png(const std::vector<Draw_Call>& calls, int32_t width, int32_t height, std::string& png,
               std::string& error);

}  // namespace orv
