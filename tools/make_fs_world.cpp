// Writes a generated simulator folder of the simulator's own scale, for measuring by hand what
// the benchmarks measure:
//
//   make_fs_world PARENT [fs2002|small]
#include <cstdio>
#include <exception>
#include <string_view>

#include "tools/fs_world.h"

int main(int argc, char** argv) {
  const std::string_view kind = argc == 3 ? argv[2] : "fs2002";
  if (argc < 2 || argc > 3 || (kind != "fs2002" && kind != "small")) {
    std::fprintf(stderr, "usage: make_fs_world PARENT [fs2002|small]\n");
    return 2;
  }
  try {
    namespace w = orv::fs_world;
    const w::World_Summary s =
        w::Make_World(argv[1], kind == "small" ? w::Small_Files_Shape() : w::Fs2002_Shape());
    std::printf("%s: %lld scenery files, %lld bytes\n", s.root.string().c_str(),
                static_cast<long long>(s.scenery_files), static_cast<long long>(s.scenery_bytes));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_fs_world: %s\n", e.what());
    return 1;
  }
  return 0;
}
