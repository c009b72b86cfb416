#include "draw/line_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace kxc2 {
namespace {

// Exact products of doubled coordinates need more than 64 bits.
__extension__ typedef __int128 Wide;

// Beyond this the exact arithmetic could overflow; such lines are first cut to
// the neighbourhood of the clip.
constexpr long long kExactLimit = 1LL << 28;
constexpr int kMaxWidth = 1 << 14;

// Coordinates are doubled so that pixel centres (2x + 1) and the corners
// between pixels (2x) are both integers. Below kExactLimit every difference
// fits in 31 bits, so dot and cross products fit in 64; only their squares
// need the wide type.
struct Capsule {
  long long ax, ay, bx, by;
  long long dx, dy, length2;
  long long radius2;
};

Capsule MakeCapsule(long long ax, long long ay, long long bx, long long by, int width) {
  const long long dx = bx - ax, dy = by - ay;
  return {ax, ay, bx, by, dx, dy, dx * dx + dy * dy, static_cast<long long>(width) * width};
}

bool Covers(const Capsule& c, int px, int py) {
  const long long x = 2LL * px + 1;
  const long long y = 2LL * py + 1;
  const long long vx = x - c.ax;
  const long long vy = y - c.ay;
  const long long along = vx * c.dx + vy * c.dy;
  if (c.length2 == 0 || along <= 0) return vx * vx + vy * vy <= c.radius2;
  if (along >= c.length2) {
    const long long wx = x - c.bx, wy = y - c.by;
    return wx * wx + wy * wy <= c.radius2;
  }
  const long long cross = vx * c.dy - vy * c.dx;
  return static_cast<Wide>(cross) * cross <= static_cast<Wide>(c.radius2) * c.length2;
}

// Where along a row the distance to the segment is smallest (doubled x).
double NearestX(const Capsule& c, long long y) {
  if (c.ay == c.by) return static_cast<double>(c.ax);
  const long long top = std::min(c.ay, c.by);
  const long long bottom = std::max(c.ay, c.by);
  if (y >= top && y <= bottom)
    return static_cast<double>(c.ax) +
           static_cast<double>(y - c.ay) * static_cast<double>(c.bx - c.ax) /
               static_cast<double>(c.by - c.ay);
  return std::llabs(y - c.ay) < std::llabs(y - c.by) ? static_cast<double>(c.ax)
                                                     : static_cast<double>(c.bx);
}

long long FloorDiv2(long long v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

// Liang-Barsky against a box around the clip; false when nothing is left.
bool CutToBox(double& x0, double& y0, double& x1, double& y1, double lo_x, double lo_y,
              double hi_x, double hi_y) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - lo_x, hi_x - x0, y0 - lo_y, hi_y - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  return true;
}

bool IsHuge(Point p) { return std::llabs(p.x()) >= kExactLimit || std::llabs(p.y()) >= kExactLimit; }

// Far-out end points are moved onto a box well outside the clip, where the
// rounding of the cut cannot reach a visible pixel's decision in practice.
bool BringNear(Point& from, Point& to, int width, Size clip) {
  if (!IsHuge(from) && !IsHuge(to)) return true;
  const double margin = width + 4.0;
  double x0 = from.x(), y0 = from.y(), x1 = to.x(), y1 = to.y();
  if (!CutToBox(x0, y0, x1, y1, -margin, -margin, clip.width() + margin, clip.height() + margin))
    return false;
  from = Point(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)));
  to = Point(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)));
  return true;
}

void AddRow(const Capsule& c, int py, int clipWidth, std::vector<LineSpan>& spans) {
  const double nearest = (NearestX(c, 2LL * py + 1) - 1.0) / 2.0;
  const double lowest = std::floor(nearest);
  // The coverage of a row is an interval around the point nearest the segment.
  int start = -1;
  for (double candidate : {lowest, lowest + 1.0, lowest - 1.0}) {
    const int x = static_cast<int>(std::clamp(candidate, 0.0, static_cast<double>(clipWidth - 1)));
    if (Covers(c, x, py)) {
      start = x;
      break;
    }
  }
  if (start < 0) return;
  int left = start, right = start;
  while (left > 0 && Covers(c, left - 1, py)) --left;
  while (right < clipWidth - 1 && Covers(c, right + 1, py)) ++right;
  spans.push_back({py, left, right});
}

}  // namespace

void RasteriseLine(Point from, Point to, int width, Size clip, std::vector<LineSpan>& spans) {
  spans.clear();
  if (clip.width() <= 0 || clip.height() <= 0) return;
  width = std::clamp(width, 1, kMaxWidth);
  if (!BringNear(from, to, width, clip)) return;
  const long long centre = width % 2;
  const Capsule capsule = MakeCapsule(2LL * from.x() + centre, 2LL * from.y() + centre,
                                      2LL * to.x() + centre, 2LL * to.y() + centre, width);
  const long long top = FloorDiv2(std::min(capsule.ay, capsule.by) - width - 1);
  const long long bottom = FloorDiv2(std::max(capsule.ay, capsule.by) + width) + 1;
  const int firstRow = static_cast<int>(std::max<long long>(top, 0));
  const int lastRow = static_cast<int>(std::min<long long>(bottom, clip.height() - 1));
  for (int py = firstRow; py <= lastRow; ++py) AddRow(capsule, py, clip.width(), spans);
}

}  // namespace kxc2
