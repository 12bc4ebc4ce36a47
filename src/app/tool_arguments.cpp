#include "app/tool_arguments.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include "core/file_system.h"
#endif

namespace orv::tool {

#ifdef _WIN32

std::vector<std::string> Tool_Arguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8_From_Wide(wide[i]));
  LocalFree(wide);
  return args;
}

void Use_Utf8_Console() {
  SetConsoleOutputCP(CP_UTF8);
}

#else

std::vector<std::string> Tool_Arguments(int argc, char** argv) {
  if (argc < 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

void Use_Utf8_Console() {}

#endif  // _WIN32

}  // namespace orv::tool
