// orvane-tool: the engine without windows, for batch use, scripting and tests. Every
// subcommand works in the current folder and uses the same data files as the program.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/tool_arguments.h"
#include "app/tool_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: orvane-tool build FS_PATH\n"
    "       orvane-tool list\n"
    "       orvane-tool fetch ITEM\n"
    "       orvane-tool chart ITEM --out FILE [--zoom N] [--size WxH] [--center LON,LAT]\n"
    "                         [--aircraft LAT,LON,HDG]\n"
    "       orvane-tool aircraft [--sim-code N]\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace orv::tool;
  Use_Utf8_Console();
  const std::vector<std::string> given = Tool_Arguments(argc, argv);
  std::vector<std::string_view> args(given.begin(), given.end());
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return EXIT_USAGE;
  }
  const std::string_view command = args.front();
  const Args rest = Args(args).subspan(1);
  if (command == "build") return Tool_Build(rest);
  if (command == "list") return Tool_List(rest);
  if (command == "fetch") return Tool_Fetch(rest);
  if (command == "chart") return Tool_Chart(rest);
  if (command == "aircraft") return Tool_Aircraft(rest);
  std::fprintf(stderr, "orvane-tool: unknown subcommand '%.*s'\n%s",
               static_cast<int>(command.size()), command.data(), kUsage);
  return EXIT_USAGE;
}
