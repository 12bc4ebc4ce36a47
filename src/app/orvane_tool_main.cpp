// orvane-tool: the engine without windows, for batch use, scripting and tests.
#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: orvane-tool build|list|fetch|chart|aircraft ...\n");
    return 2;
  }
  std::fprintf(stderr, "orvane-tool: unknown subcommand '%s'\n", argv[1]);
  return 2;
}
