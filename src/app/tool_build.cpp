#include <cstdio>

#include "app/tool_commands.h"

namespace orv::tool {

int Tool_Build(Args) {
  std::fputs("orvane-tool: not available yet\n", stderr);
  return EXIT_USAGE;
}

int Tool_List(Args) {
  std::fputs("orvane-tool: not available yet\n", stderr);
  return EXIT_USAGE;
}

}  // namespace orv::tool
