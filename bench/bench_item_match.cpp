// The airport list narrowing as the pilot types, over a world's worth of items.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "scenery/item_match.h"

namespace {

std::vector<std::string> World_Items() {
  std::vector<std::string> items;
  for (int i = 0; i < 25000; ++i) {
    std::string item = "K";
    item += std::to_string(1000 + i % 9000);
    item += " (MUNICIPAL AIRPORT ";
    item += std::to_string(i);
    item += i % 50 == 0 ? " Z\xC3\x9CRICH)" : ")";
    items.push_back(std::move(item));
  }
  return items;
}

void BM_FoldItems(benchmark::State& state) {
  const std::vector<std::string> items = World_Items();
  for (auto _ : state) benchmark::DoNotOptimize(orv::Fold_Items(items));
}
BENCHMARK(BM_FoldItems)->Unit(benchmark::kMillisecond);

// One keystroke: a short text matching many items, and a longer one matching a few.
void BM_ItemsContaining(benchmark::State& state) {
  const std::vector<std::string> folded = orv::Fold_Items(World_Items());
  const std::string typed = state.range(0) == 0 ? "k1" : "z\xC3\xBCrich";
  for (auto _ : state) benchmark::DoNotOptimize(orv::Items_Containing(folded, typed));
}
BENCHMARK(BM_ItemsContaining)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
