#include "tools/skinart/shapes.h"

#include <algorithm>
#include <cmath>

namespace qm::skinart {

Box Inset(Box box, double by) {
  return {box.left + by, box.top + by, box.right - by, box.bottom - by};
}

double Coverage(double distance) { return std::clamp(0.5 - distance, 0.0, 1.0); }

double SmoothStep(double edge0, double edge1, double x) {
  if (edge0 == edge1) return x < edge0 ? 0 : 1;
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

double CircleDistance(double px, double py, double cx, double cy, double radius) {
  return std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy)) - radius;
}

double RoundRectDistance(double px, double py, Box box, double radius) {
  const double cx = (box.left + box.right) / 2;
  const double cy = (box.top + box.bottom) / 2;
  const double hx = (box.right - box.left) / 2 - radius;
  const double hy = (box.bottom - box.top) / 2 - radius;
  const double qx = std::fabs(px - cx) - hx;
  const double qy = std::fabs(py - cy) - hy;
  const double ox = std::max(qx, 0.0);
  const double oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax;
  const double dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = px - (ax + t * dx);
  const double ey = py - (ay + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

double PolygonDistance(double px, double py, const double* xy, int count) {
  double best = 1e30;
  bool inside = false;
  for (int i = 0, j = count - 1; i < count; j = i++) {
    const double xi = xy[2 * i], yi = xy[2 * i + 1];
    const double xj = xy[2 * j], yj = xy[2 * j + 1];
    best = std::min(best, SegmentDistance(px, py, xj, yj, xi, yi));
    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside ? -best : best;
}

}  // namespace qm::skinart
