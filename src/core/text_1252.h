// Single-byte Windows-1252 text as the scenery files and the database hold it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Upper-cases a-z and the accented letters of Windows-1252, byte for byte.
std::string Upper_1252(std::string_view text);

// The inverse of Upper_1252.
std::string Lower_1252(std::string_view text);

// ASCII-only lower-casing, for comparing file names the way the simulator's file system does.
std::string Lower_Ascii(std::string_view text);

// Decodes Windows-1252 bytes to UTF-8 for display and JSON. The five bytes that Windows-1252
// leaves undefined become the code points of the same value.
std::string Utf8_From_1252(std::string_view text);

// The inverse of Utf8_From_1252: the Windows-1252 bytes of a UTF-8 text, the five undefined
// bytes included. Nothing when the text is not well-formed UTF-8 or holds a character that
// Windows-1252 has no byte for.
std::optional<std::string> Text_1252_From_Utf8(std::string_view text);

}  // namespace orv
