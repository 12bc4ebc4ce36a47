// Large blocks of records filled once and kept: the airport list of a build.
#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

namespace orv {

// Asks the system to back the whole pages of a large block that is about to be filled with
// huge pages where it offers them, so that filling it takes one page fault per 2 MB instead of
// one per 4 KB (faults are slow under virtualisation). Does nothing for a small block or where
// the system has no such pages.
void Advise_Huge_Pages(const void* block, size_t bytes);

// Moves `list` to a block of `capacity` elements that was advised before anything was written
// to it. Does nothing when the list already has that room.
template <typename T>
void Reserve_Large(std::vector<T>& list, size_t capacity) {
  if (capacity <= list.capacity()) return;
  std::vector<T> bigger;
  bigger.reserve(capacity);
  Advise_Huge_Pages(bigger.data(), capacity * sizeof(T));
  bigger.insert(bigger.end(), std::make_move_iterator(list.begin()),
                std::make_move_iterator(list.end()));
  list.swap(bigger);
}

}  // namespace orv
