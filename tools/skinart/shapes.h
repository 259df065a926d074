// Signed distance functions of the shapes the artwork is built from, and anti-aliased coverage.
//
// A signed distance is negative inside the shape, positive outside, in pixels. Coverage of a
// pixel whose centre lies at distance d from the edge is Coverage(d) = clamp(0.5 - d, 0, 1):
// a one-pixel ramp across the edge, which is all the anti-aliasing these shapes need.
//
//   double d = RoundRectDistance(x + 0.5, y + 0.5, {14, 18, 526, 414}, 6);
//   canvas.Blend(x, y, parchment, Coverage(d));
#pragma once

namespace qm::skinart {

// Edges in pixel coordinates: left/top inclusive, right/bottom exclusive, like the platform's.
struct Box {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

Box Inset(Box box, double by);

double Coverage(double distance);
// Smooth 0..1 step between edge0 and edge1 (Hermite).
double SmoothStep(double edge0, double edge1, double x);

double CircleDistance(double px, double py, double cx, double cy, double radius);
double RoundRectDistance(double px, double py, Box box, double radius);
// Distance to a line segment (unsigned); subtract half a width to get a stroke's distance.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by);
// Inside a convex or concave polygon given by `count` (x, y) pairs.
double PolygonDistance(double px, double py, const double* xy, int count);

inline double Union(double a, double b) { return a < b ? a : b; }
inline double Intersect(double a, double b) { return a > b ? a : b; }
inline double Subtract(double a, double b) { return a > -b ? a : -b; }

}  // namespace qm::skinart
