// The text conversions at the file layer's boundary: the system's own bytes of a path against
// the UTF-8 of the program's texts (and, on Windows, the UTF-16 of the system's wide calls).
#include "core/file_system.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace orv {

namespace stdfs = std::filesystem;

#ifdef _WIN32

namespace {

// `text` in `code_page` as UTF-16; nothing when the system cannot convert it.
std::optional<std::wstring> Wide_From(std::string_view text, UINT code_page, DWORD flags) {
  std::wstring wide;
  if (text.empty()) return wide;
  if (text.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(code_page, flags, text.data(), length, nullptr, 0);
  if (n <= 0) return std::nullopt;
  wide.resize(static_cast<size_t>(n));
  if (MultiByteToWideChar(code_page, flags, text.data(), length, wide.data(), n) != n) {
    return std::nullopt;
  }
  return wide;
}

// UTF-16 as bytes of `code_page`. Where that code page is not UTF-8, a character without a byte
// of its own fails the conversion instead of becoming a look-alike or "?": a path must name the
// very folder it was given.
std::optional<std::string> Narrow_From(std::wstring_view wide, UINT code_page) {
  std::string out;
  if (wide.empty()) return out;
  if (wide.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
  const bool utf8 = code_page == CP_UTF8 || (code_page == CP_ACP && GetACP() == CP_UTF8);
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* const used = utf8 ? nullptr : &used_default;
  const int length = static_cast<int>(wide.size());
  const int n =
      WideCharToMultiByte(code_page, flags, wide.data(), length, nullptr, 0, nullptr, used);
  if (n <= 0 || used_default) return std::nullopt;
  out.resize(static_cast<size_t>(n));
  if (WideCharToMultiByte(code_page, flags, wide.data(), length, out.data(), n, nullptr, used) !=
          n ||
      used_default) {
    return std::nullopt;
  }
  return out;
}

}  // namespace

std::optional<std::wstring> Wide_From_Utf8(std::string_view text) {
  return Wide_From(text, CP_UTF8, MB_ERR_INVALID_CHARS);
}

std::string Utf8_From_Wide(std::wstring_view text) {
  return Narrow_From(text, CP_UTF8).value_or(std::string());
}

std::optional<std::string> Native_Path_From_Wide(std::wstring_view text) {
  return Narrow_From(text, CP_ACP);
}

std::optional<std::string> Native_Path_From_Utf8(std::string_view text) {
  const std::optional<std::wstring> wide = Wide_From(text, CP_UTF8, MB_ERR_INVALID_CHARS);
  if (!wide) return std::nullopt;
  return Native_Path_From_Wide(*wide);
}

std::string Utf8_From_Native_Path(std::string_view path) {
  const std::optional<std::wstring> wide = Wide_From(path, CP_ACP, 0);
  return wide ? Utf8_From_Wide(*wide) : std::string(path);
}

stdfs::path Fs_Path(std::string_view path) {
  const std::optional<std::wstring> wide = Wide_From(path, CP_ACP, 0);
  return wide ? stdfs::path(*wide) : stdfs::path();
}

stdfs::path Fs_Path_From_Utf8(std::string_view text) {
  const std::optional<std::wstring> wide = Wide_From(text, CP_UTF8, MB_ERR_INVALID_CHARS);
  return wide ? stdfs::path(*wide) : stdfs::path();
}

#else

std::optional<std::string> Native_Path_From_Utf8(std::string_view text) {
  return std::string(text);
}

std::string Utf8_From_Native_Path(std::string_view path) {
  return std::string(path);
}

stdfs::path Fs_Path(std::string_view path) {
  return stdfs::path(std::string(path));
}

stdfs::path Fs_Path_From_Utf8(std::string_view text) {
  return stdfs::path(std::string(text));
}

#endif  // _WIN32

}  // namespace orv
