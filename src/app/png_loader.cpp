// Finds and loads the PNG module when a PNG chart is asked for.
#include <filesystem>

#include "app/png_module.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace orv {
namespace {

std::filesystem::path Executable_Folder() {
#ifdef _WIN32
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::filesystem::path(path).parent_path();
#else
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self.parent_path();
#endif
}

// Beside the executable (the build folder, a portable copy), then the installation's
// lib/orvane/modules folder beside its bin folder.
std::vector<std::filesystem::path> Module_Places() {
  const std::filesystem::path folder = Executable_Folder();
  if (folder.empty()) return {PNG_MODULE_FILE};
  return {folder / PNG_MODULE_FILE, folder / ".." / ORVANE_MODULE_FOLDER / PNG_MODULE_FILE};
}

void* Load_Entry(const char* name, std::string& error) {
  for (const std::filesystem::path& place : Module_Places()) {
#ifdef _WIN32
    const HMODULE module = LoadLibraryW(place.wstring().c_str());
    if (module == nullptr) continue;
    if (void* entry = reinterpret_cast<void*>(GetProcAddress(module, name))) return entry;
#else
    void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      std::error_code ec;
      if (std::filesystem::exists(place, ec)) error = dlerror();
      continue;
    }
    if (void* entry = dlsym(module, name)) return entry;
#endif
  }
  if (error.empty()) error = std::string("cannot find ") + PNG_MODULE_FILE;
  return nullptr;
}

}  // namespace

bool Paint_Png(const std::vector<Draw_Call>& calls, int32_t width, int32_t height, std::string& png,
               std::string& error) {
  // Loaded once and kept: the toolkit does not take well to being unloaded.
  static std::string load_error;
  static const auto entry =
      reinterpret_cast<Png_Paint_Entry>(Load_Entry(PNG_MODULE_ENTRY, load_error));
  if (entry == nullptr) {
    error = load_error;
    return false;
  }
  if (entry(calls.data(), calls.size(), width, height, &png) != 0) {
    error = "the picture could not be drawn as PNG";
    return false;
  }
  return true;
}

bool Paint_Pdf(const std::vector<Draw_Call>& calls, double w_mm, double h_mm, int32_t dpi,
               std::string& pdf, std::string& error) {
  static std::string load_error;
  static const auto entry =
      reinterpret_cast<Pdf_Paint_Entry>(Load_Entry(PDF_MODULE_ENTRY, load_error));
  if (entry == nullptr) {
    error = load_error;
    return false;
  }
  if (entry(calls.data(), calls.size(), w_mm, h_mm, dpi, &pdf) != 0) {
    error = "the page could not be written as PDF";
    return false;
  }
  return true;
}

}  // namespace orv
