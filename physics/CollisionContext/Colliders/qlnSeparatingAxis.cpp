#include "CollisionContext/Colliders/qlnSeparatingAxis.h"

#include <cmath>

#include "Foundation/QlnAssert.h"

namespace QuillonPHX2D {
namespace {

struct SATRecord {
  float bestDepth = -QLN_MAX;
  float bestRadiusA = -QLN_MAX;
  float bestRadiusB = -QLN_MAX;
  int bestAxis = -1;
  Vec2 separatingAxis{0.0f, 0.0f};
  Vec2 normal2{0.0f, 0.0f};
  Vec2 bestPoint{0.0f, 0.0f};
  bool success = false;
};

SATRecord g_sat;

}  // namespace

void qlnSATReset() {
  g_sat.bestDepth = g_sat.bestRadiusA = g_sat.bestRadiusB = QLN_MAX;
  g_sat.bestAxis = -1;
  g_sat.separatingAxis = g_sat.normal2 = g_sat.bestPoint = Vec2(0.0f, 0.0f);
  g_sat.success = false;
}

float qlnSATGetBestDepth() { return g_sat.bestDepth; }
float qlnSATGetBestRadiusA() { return g_sat.bestRadiusA; }
float qlnSATGetBestRadiusB() { return g_sat.bestRadiusB; }
int qlnSATGetBestAxis() { return g_sat.bestAxis; }
Vec2 qlnSATGetSeparatingAxisVec() { return g_sat.separatingAxis; }
Vec2 qlnSATGetNormal2() { return g_sat.normal2; }
Vec2 qlnSATGetBestPoint() { return g_sat.bestPoint; }
bool qlnSATIsSuccess() { return g_sat.success; }
void qlnSATSetNormal2(const Vec2 &n) { g_sat.normal2 = n; }

bool qlnSAT_TestBoxFaceFace(float radiusSum, float distance, const Vec2 &axis, int index) {
  float overlap = radiusSum - std::fabs(distance);
  if (overlap < 0.0f) return true;
  if (overlap < g_sat.bestDepth) {
    g_sat.bestDepth = overlap;
    g_sat.bestAxis = index;
    g_sat.separatingAxis = distance < 0.0f ? Vec2(-axis.x, -axis.y) : axis;
    g_sat.success = false;
  }
  return false;
}

int qlnClipPolygonByLine(const Vec2 *pts, int count, float a, float b, float c, Vec2 *out, int maxOut) {
  int n = 0;
  for (int i = 0; i < count; ++i) {
    const Vec2 &s = pts[i];
    const Vec2 &e = pts[(i + 1) % count];
    float vs = a * s.x + b * s.y + c;
    float ve = a * e.x + b * e.y + c;
    if (vs >= 0.0f) {
      if (QLN_ASSERT(n < maxOut)) out[n++] = s;
    }
    if ((vs > 0.0f && ve < 0.0f) || (vs < 0.0f && ve > 0.0f)) {
      float t = vs / (vs - ve);
      if (QLN_ASSERT(n < maxOut)) out[n++] = Vec2(s.x - t * (s.x - e.x), s.y - t * (s.y - e.y));
    }
  }
  return n;
}

}  // namespace QuillonPHX2D
