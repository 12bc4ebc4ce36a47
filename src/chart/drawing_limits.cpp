#include "chart/drawing_limits.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace orv {
namespace {

constexpr double kTurn = 2.0 * std::numbers::pi;
// The coarsest step along a small ellipse: 64 points to the turn.
constexpr double kMaxStep = kTurn / 64.0;

struct Point {
  double x = 0.0;
  double y = 0.0;
};

// The nearest pixel, held inside 32 bits.
Px Round_Px(double x, double y) {
  constexpr double lo = std::numeric_limits<int32_t>::min();
  constexpr double hi = std::numeric_limits<int32_t>::max();
  return Px{static_cast<int32_t>(std::clamp(std::nearbyint(x), lo, hi)),
            static_cast<int32_t>(std::clamp(std::nearbyint(y), lo, hi))};
}

Px Round_Px(Point p) {
  return Round_Px(p.x, p.y);
}

bool Inside(Px p, const Px_Rect& r) {
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

// Narrows [t0, t1] to where p t <= q holds; false when nothing is left.
bool Keep_Side(double p, double q, double& t0, double& t1) {
  if (p == 0.0) return q >= 0.0;
  const double t = q / p;
  if (p < 0.0) {
    if (t > t1) return false;
    t0 = std::max(t0, t);
  } else {
    if (t < t0) return false;
    t1 = std::min(t1, t);
  }
  return true;
}

Point On_Outline(const Ellipse_Shape& e, double angle) {
  return {e.cx + e.a * std::cos(angle), e.cy - e.b * std::sin(angle)};
}

// The angle between neighbouring points: a chord of a circle of radius r strays from it by
// r (1 - cos(step / 2)), about r step^2 / 8, which stays within a quarter pixel.
double Outline_Step(const Ellipse_Shape& e) {
  const double r = std::max(e.a, e.b);
  if (r <= 32.0) return kMaxStep;
  return std::min(kMaxStep, std::sqrt(2.0 / r));
}

size_t Step_Count(double turn, double step) {
  return std::max<size_t>(1, static_cast<size_t>(std::ceil(turn / step)));
}

using Polygon = std::vector<Point>;

// One pass of polygon clipping: keeps the side of a line where inside() holds.
template <typename Inside_Test, typename Crossing>
Polygon Clip_Side(const Polygon& in, Inside_Test inside, Crossing crossing) {
  Polygon out;
  if (in.empty()) return out;
  Point prev = in.back();
  for (const Point& p : in) {
    const bool p_in = inside(p);
    if (p_in != inside(prev)) out.push_back(crossing(prev, p));
    if (p_in) out.push_back(p);
    prev = p;
  }
  return out;
}

Point At_X(Point a, Point b, double x) {
  return {x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
}

Point At_Y(Point a, Point b, double y) {
  return {a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
}

Polygon Clip_Polygon(Polygon poly, const Px_Rect& r) {
  const auto left = static_cast<double>(r.left);
  const auto right = static_cast<double>(r.right);
  const auto top = static_cast<double>(r.top);
  const auto bottom = static_cast<double>(r.bottom);
  poly = Clip_Side(
      poly, [left](Point p) { return p.x >= left; },
      [left](Point a, Point b) { return At_X(a, b, left); });
  poly = Clip_Side(
      poly, [right](Point p) { return p.x <= right; },
      [right](Point a, Point b) { return At_X(a, b, right); });
  poly = Clip_Side(
      poly, [top](Point p) { return p.y >= top; },
      [top](Point a, Point b) { return At_Y(a, b, top); });
  return Clip_Side(
      poly, [bottom](Point p) { return p.y <= bottom; },
      [bottom](Point a, Point b) { return At_Y(a, b, bottom); });
}

}  // namespace

Px_Rect Rect_Of(Px c1, Px c2) {
  return {std::min<int64_t>(c1.x, c2.x), std::min<int64_t>(c1.y, c2.y),
          std::max<int64_t>(c1.x, c2.x), std::max<int64_t>(c1.y, c2.y)};
}

Px_Rect Grow(const Px_Rect& r, int64_t by) {
  return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

bool Overlaps(const Px_Rect& a, const Px_Rect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

std::optional<Px_Segment> Clip_Segment(Px from, Px to, const Px_Rect& rect, double dash_period) {
  if (Inside(from, rect) && Inside(to, rect)) return Px_Segment{from, to};
  const auto x0 = static_cast<double>(from.x);
  const auto y0 = static_cast<double>(from.y);
  const double dx = static_cast<double>(to.x) - x0;
  const double dy = static_cast<double>(to.y) - y0;
  double t0 = 0.0;
  double t1 = 1.0;
  if (!Keep_Side(-dx, x0 - static_cast<double>(rect.left), t0, t1) ||
      !Keep_Side(dx, static_cast<double>(rect.right) - x0, t0, t1) ||
      !Keep_Side(-dy, y0 - static_cast<double>(rect.top), t0, t1) ||
      !Keep_Side(dy, static_cast<double>(rect.bottom) - y0, t0, t1)) {
    return std::nullopt;
  }
  if (dash_period > 0.0 && t0 > 0.0) {
    const double length = std::hypot(dx, dy);
    t0 = std::floor(t0 * length / dash_period) * dash_period / length;
  }
  const Px a = t0 > 0.0 ? Round_Px(x0 + t0 * dx, y0 + t0 * dy) : from;
  const Px b = t1 < 1.0 ? Round_Px(x0 + t1 * dx, y0 + t1 * dy) : to;
  return Px_Segment{a, b};
}

Ellipse_Shape Ellipse_In(const Px_Rect& box) {
  const auto left = static_cast<double>(box.left);
  const auto top = static_cast<double>(box.top);
  const auto right = static_cast<double>(box.right);
  const auto bottom = static_cast<double>(box.bottom);
  return {(left + right) / 2.0, (top + bottom) / 2.0, (right - left) / 2.0, (bottom - top) / 2.0};
}

// The point (a cos t, b sin t) lies on the ray (dx, dy) where tan t = (a dy) / (b dx).
double Ray_Angle(const Ellipse_Shape& e, Px p) {
  const double dx = static_cast<double>(p.x) - e.cx;
  const double dy_up = e.cy - static_cast<double>(p.y);
  if (e.a <= 0.0 || e.b <= 0.0) return std::atan2(dy_up, dx);
  return std::atan2(e.a * dy_up, e.b * dx);
}

double Ccw_Turn(double from, double to) {
  double turn = std::fmod(to - from, kTurn);
  if (turn <= 0.0) turn += kTurn;
  return turn;
}

std::vector<std::vector<Px>> Outline_Near(const Ellipse_Shape& e, double from, double turn,
                                          const Px_Rect& near) {
  std::vector<std::vector<Px>> runs;
  std::vector<Px> run;
  const size_t n = Step_Count(turn, Outline_Step(e));
  const double step = turn / static_cast<double>(n);
  Px prev = Round_Px(On_Outline(e, from));
  for (size_t i = 1; i <= n; ++i) {
    const Px next = Round_Px(On_Outline(e, from + static_cast<double>(i) * step));
    if (Overlaps(Rect_Of(prev, next), near)) {
      if (run.empty()) run.push_back(prev);
      run.push_back(next);
    } else if (!run.empty()) {
      runs.push_back(std::move(run));
      run.clear();
    }
    prev = next;
  }
  if (!run.empty()) runs.push_back(std::move(run));
  return runs;
}

std::vector<Px> Filled_Within(const Ellipse_Shape& e, const Px_Rect& rect) {
  const size_t n = Step_Count(kTurn, Outline_Step(e));
  const double step = kTurn / static_cast<double>(n);
  Polygon outline;
  outline.reserve(n);
  for (size_t i = 0; i < n; ++i) outline.push_back(On_Outline(e, static_cast<double>(i) * step));
  std::vector<Px> polygon;
  for (const Point& p : Clip_Polygon(std::move(outline), rect)) polygon.push_back(Round_Px(p));
  return polygon;
}

namespace {

// One pass of the polygon against one edge of the rectangle: `inside` tells which side is kept,
// `cut` where an edge of the polygon crosses it.
template <class Inside, class Cut>
std::vector<Px_F> Keep_Side(const std::vector<Px_F>& in, Inside inside, Cut cut) {
  std::vector<Px_F> out;
  if (in.empty()) return out;
  out.reserve(in.size() + 4);
  Px_F prev = in.back();
  bool prev_in = inside(prev);
  for (const Px_F& p : in) {
    const bool p_in = inside(p);
    if (p_in != prev_in) out.push_back(cut(prev, p));
    if (p_in) out.push_back(p);
    prev = p;
    prev_in = p_in;
  }
  return out;
}

}  // namespace

std::vector<Px_F> Polygon_Within(std::span<const Px> points, const Px_Rect& rect) {
  const bool all_inside = std::all_of(points.begin(), points.end(), [&](const Px& p) {
    return p.x >= rect.left && p.x <= rect.right && p.y >= rect.top && p.y <= rect.bottom;
  });
  std::vector<Px_F> poly;
  poly.reserve(points.size());
  for (const Px& p : points) poly.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
  if (all_inside) return poly;
  const auto l = static_cast<double>(rect.left);
  const auto r = static_cast<double>(rect.right);
  const auto t = static_cast<double>(rect.top);
  const auto b = static_cast<double>(rect.bottom);
  const auto at_x = [](double x) {
    return [x](Px_F p, Px_F q) { return Px_F{x, p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x)}; };
  };
  const auto at_y = [](double y) {
    return [y](Px_F p, Px_F q) { return Px_F{p.x + (q.x - p.x) * (y - p.y) / (q.y - p.y), y}; };
  };
  poly = Keep_Side(
      poly, [l](Px_F p) { return p.x >= l; }, at_x(l));
  poly = Keep_Side(
      poly, [r](Px_F p) { return p.x <= r; }, at_x(r));
  poly = Keep_Side(
      poly, [t](Px_F p) { return p.y >= t; }, at_y(t));
  poly = Keep_Side(
      poly, [b](Px_F p) { return p.y <= b; }, at_y(b));
  return poly;
}

}  // namespace orv
