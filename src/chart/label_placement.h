// Placing labels without overlap: each placed box is filed in the cells of a uniform grid that
// it touches, so a new box is checked only against the boxes of its own few cells. With boxes
// no larger than a few cells, placing n labels takes time proportional to n (the hash of the
// cells) and never grows faster than n log n.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace orv {

// An axis-aligned box in surface pixels, x0 <= x1 and y0 <= y1.
struct Box {
  double x0 = 0.0;
  double y0 = 0.0;
  double x1 = 0.0;
  double y1 = 0.0;
};

bool Boxes_Overlap(const Box& a, const Box& b);

class Label_Grid {
 public:
  explicit Label_Grid(double cell_px = 48.0) : cell_(cell_px) {}

  bool Overlaps(const Box& box) const;
  // Files the box; later boxes must keep clear of it.
  void Add(const Box& box);
  // Files the box and returns true when it overlaps nothing filed yet; false, and nothing
  // filed, otherwise.
  bool Place(const Box& box);
  const std::vector<Box>& Placed() const { return boxes_; }

 private:
  struct Cell_Span {
    int64_t x0, y0, x1, y1;
    int64_t Count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
  };
  static constexpr int64_t MAX_CELLS = 256;
  Cell_Span Span_Of(const Box& box) const;

  double cell_;
  std::vector<Box> boxes_;
  std::vector<uint32_t> big_;
  std::unordered_map<int64_t, std::vector<uint32_t>> cells_;
};

}  // namespace orv
