#include "chart/label_placement.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// Cells far outside any surface are folded onto the border cells: a box there is still checked,
// only against more boxes.
int64_t Cell_Index(double v, double cell) {
  const double i = std::floor(v / cell);
  return static_cast<int64_t>(std::clamp(i, -100000.0, 100000.0));
}

int64_t Cell_Key(int64_t cx, int64_t cy) {
  return (cx + 200000) * 400001 + (cy + 200000);
}

}  // namespace

bool Boxes_Overlap(const Box& a, const Box& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

bool Label_Grid::Overlaps(const Box& box) const {
  const auto hits = [&](uint32_t i) { return Boxes_Overlap(boxes_[i], box); };
  if (std::any_of(big_.begin(), big_.end(), hits)) return true;
  const Cell_Span c = Span_Of(box);
  // A box larger than a screenful is checked against every box filed, once.
  if (c.Count() > MAX_CELLS) {
    return std::any_of(boxes_.begin(), boxes_.end(),
                       [&](const Box& b) { return Boxes_Overlap(b, box); });
  }
  for (int64_t cx = c.x0; cx <= c.x1; ++cx) {
    for (int64_t cy = c.y0; cy <= c.y1; ++cy) {
      const auto it = cells_.find(Cell_Key(cx, cy));
      if (it != cells_.end() && std::any_of(it->second.begin(), it->second.end(), hits)) {
        return true;
      }
    }
  }
  return false;
}

// A huge box goes on a short list that every check walks, rather than into thousands of cells.
void Label_Grid::Add(const Box& box) {
  const auto index = static_cast<uint32_t>(boxes_.size());
  boxes_.push_back(box);
  const Cell_Span c = Span_Of(box);
  if (c.Count() > MAX_CELLS) {
    big_.push_back(index);
    return;
  }
  for (int64_t cx = c.x0; cx <= c.x1; ++cx) {
    for (int64_t cy = c.y0; cy <= c.y1; ++cy) cells_[Cell_Key(cx, cy)].push_back(index);
  }
}

Label_Grid::Cell_Span Label_Grid::Span_Of(const Box& box) const {
  return {Cell_Index(box.x0, cell_), Cell_Index(box.y0, cell_), Cell_Index(box.x1, cell_),
          Cell_Index(box.y1, cell_)};
}

bool Label_Grid::Place(const Box& box) {
  if (Overlaps(box)) return false;
  Add(box);
  return true;
}

}  // namespace orv
