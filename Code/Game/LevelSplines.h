#pragma once
#include <string>
#include <vector>

#include "Foundation/Math/QlnMath.h"

// A spline file: its order parameter, its resolution and its control points.
struct SplineFile {
  int t = 0;
  int resolution = 1;
  std::vector<QuillonPHX2D::Vec2> controlPoints;
  // Whether the file could be read at all (a refused curve was still read).
  bool opened = false;
  // Why the file gives no usable curve, in words that follow "its spline "<file>"";
  // empty when it gives one.
  std::string refusal;
};

// Limits that keep a spline cheap to sample whatever a file asks for.
constexpr int kMaxSplineResolution = 8192;
constexpr int kMaxSplineOrder = 8;
constexpr int kMaxControlPoints = 256;
// Samples x control points x 2^order: what sampling a curve costs, kept well below
// a frame's worth of work whatever the numbers of a file.
constexpr double kMaxSplineWork = 8.0e6;
// Samples of the fine centre line.
constexpr int kFineSamples = 500;

// Reads a spline file; control points are multiplied by the scales. False, with the
// reason in out.refusal for the caller to report, when it cannot be read or describes
// no usable curve (a resolution of 0 or less, fewer than two points, an order above
// the point count, or more sampling work than a path can need).
bool readSplineFile(const std::string& path, float scaleX, float scaleY, SplineFile& out);
// Whether a sampled line goes anywhere: a ship on a line of one spot has nowhere to fly.
bool spansDistance(const std::vector<QuillonPHX2D::Vec2>& line);
// The curve through the points at the spline's order, in that many samples. The
// number of points is the number actually read.
std::vector<QuillonPHX2D::Vec2> sampleSpline(const std::vector<QuillonPHX2D::Vec2>& points, int t, int samples);
// The control polygon moved sideways by d (positive: left of the direction of
// travel on a screen whose y grows downward). Empty when two consecutive points
// coincide, which gives no direction to move by.
std::vector<QuillonPHX2D::Vec2> offsetControlPolygon(const std::vector<QuillonPHX2D::Vec2>& p, float d);
