#include "Game/LevelSplines.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

#include "XmlAttributes.h"

using namespace QuillonPHX2D;

bool readSplineFile(const std::string& path, float scaleX, float scaleY, SplineFile& out) {
  out = SplineFile();
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  // The reader has said why on standard output; the caller names what is left out.
  if (!reader.load(doc)) {
    out.refusal = "cannot be read";
    return false;
  }
  const TiXmlElement* root = reader.root(doc, "Spline");
  if (!root) {
    out.refusal = "has no <Spline> root";
    return false;
  }
  out.opened = true;
  const int declared = reader.readInt(root, "n", 0);
  out.t = reader.readInt(root, "t", 0);
  out.resolution = reader.readInt(root, "resolution", 1);
  for (const TiXmlElement* c = root->FirstChildElement("ControlPoint"); c; c = c->NextSiblingElement("ControlPoint")) {
    if (static_cast<int>(out.controlPoints.size()) >= kMaxControlPoints) {
      reader.warn(c, "more control points than a path can use; the rest are left out");
      break;
    }
    const float x = reader.readFloat(c, "x", 0.0f, -1.0e6f, 1.0e6f);
    const float y = reader.readFloat(c, "y", 0.0f, -1.0e6f, 1.0e6f);
    out.controlPoints.push_back(Vec2(x * scaleX, y * scaleY));
  }
  const int count = static_cast<int>(out.controlPoints.size());
  if (declared != count) {
    reader.warn(root, "n says " + std::to_string(declared) + " control points but the file holds " +
                          std::to_string(count) + "; the points read count");
  }
  if (out.resolution <= 0 || out.resolution > kMaxSplineResolution) {
    out.refusal = "has resolution " + std::to_string(out.resolution) + ", outside 1.." +
                  std::to_string(kMaxSplineResolution);
  } else if (count < 2) {
    out.refusal = count == 0 ? "has no control point" : "has one control point";
    out.refusal += ", and a curve needs two at least";
  } else if (out.t < 0 || out.t + 1 > count || out.t + 1 > kMaxSplineOrder) {
    out.refusal = "has order t + 1 = " + std::to_string(out.t + 1) + ", outside 1.." +
                  std::to_string(std::min(count, kMaxSplineOrder));
  } else if (static_cast<double>(std::max(out.resolution, kFineSamples)) * count * std::ldexp(1.0, out.t + 1) >
             kMaxSplineWork) {
    out.refusal = "asks for more samples of more control points than a path can need";
  }
  return out.refusal.empty();
}

bool spansDistance(const std::vector<Vec2>& line) {
  for (const Vec2& p : line)
    if (p.x != line.front().x || p.y != line.front().y) return true;
  return false;
}

std::vector<Vec2> sampleSpline(const std::vector<Vec2>& points, int t, int samples) {
  if (points.empty()) return {};
  return qlnBSpline2D(static_cast<int>(points.size()) - 1, t + 1, points.data(), samples);
}

namespace {

Vec2 rotateMinus90(const Vec2& v) { return qlnAngleToMtx22(-1.5707964f) * v; }

}  // namespace

std::vector<Vec2> offsetControlPolygon(const std::vector<Vec2>& p, float d) {
  const size_t n = p.size();
  if (n < 2) return {};
  std::vector<Vec2> dir(n - 1);
  for (size_t i = 0; i + 1 < n; ++i) {
    const Vec2 step = p[i + 1] - p[i];
    const float len = qlnLenV2(step);
    if (!(len > 0.0f)) return {};
    dir[i] = step * (1.0f / len);
  }
  auto off = [&](const Vec2& q, const Vec2& f) { return q + rotateMinus90(f) * d; };
  std::vector<Vec2> out;
  out.reserve(n);
  out.push_back(off(p[0], dir[0]));
  for (size_t i = 0; i + 2 < n; ++i) {
    const Vec2& u = dir[i];
    const Vec2& v = dir[i + 1];
    // Rounding can take the product of two unit vectors past 1, outside acos.
    const float cosine = std::clamp(u.x * v.x + u.y * v.y, -1.0f, 1.0f);
    const float degrees = qlnRadToDeg(std::acos(cosine));
    if (degrees < 90.0f) out.push_back(off(p[i], u));
    else out.push_back(p[i + 1] + rotateMinus90(u + v) * d);
  }
  out.push_back(off(p[n - 1], dir[n - 2]));
  return out;
}
