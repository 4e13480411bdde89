#pragma once
// A 3D world whose collision context records what the colliders report, and helpers to make
// shapes and measure how far a point lies outside a shape.
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "GameExtensions/ColliderTable3D.h"
#include "GameExtensions/CollisionContext3D.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Solid3D.h"

namespace p3test {

using namespace QuillonPHX2D;

struct Contact {
  xShape3D* first;
  xShape3D* second;
  Vec3 point, normal;
  float depth;
};

class CapturingContext : public xCollisionContext3D {
 public:
  bool createTempContact(xShape3D* a, xShape3D* b, xMaterial*, xMaterial*, const Vec3& point, float depth,
                         const Vec3& normal) override {
    contacts.push_back({a, b, point, normal, depth});
    return true;
  }
  std::vector<Contact> contacts;
};

// Installs a world with a capturing context as the global one for the test's lifetime.
class CaptureWorld {
 public:
  CaptureWorld() : sdk_(new QuillonPhysicsSDK3D()), cc_(new CapturingContext()) {
    sdk_->setCollisionContext(cc_);
    g_ptrSDK3D = sdk_.get();
  }
  ~CaptureWorld() { g_ptrSDK3D = nullptr; }
  std::vector<Contact>& contacts() { return cc_->contacts; }
  // Runs the table's collider for the pair, in whichever order the table holds it.
  void collide(xShape3D* a, xShape3D* b) {
    cc_->contacts.clear();
    xColliderTable3D* t = xColliderTable3D::Instance();
    if (xCollider3D c = t->entry(a->getColliderID(), b->getColliderID())) c(a, b);
    else if (xCollider3D c2 = t->entry(b->getColliderID(), a->getColliderID())) c2(b, a);
  }

 private:
  std::unique_ptr<QuillonPhysicsSDK3D> sdk_;
  CapturingContext* cc_;
};

inline Placement3D pose(const Vec3& t, float qx = 0, float qy = 0, float qz = 0, float qw = 1) {
  const float n = std::sqrt(qx * qx + qy * qy + qz * qz + qw * qw);
  return Placement3D(qx / n, qy / n, qz / n, qw / n, t);
}

inline Placement3D randomPose(std::mt19937& rng, float spread) {
  std::normal_distribution<float> g(0.0f, 1.0f);
  std::uniform_real_distribution<float> u(-spread, spread);
  return pose(Vec3(u(rng), u(rng), u(rng)), g(rng), g(rng), g(rng), g(rng));
}

inline std::unique_ptr<xShape3D> staticShape(xPrimitive3D* p, const Placement3D& at) {
  return std::unique_ptr<xShape3D>(new xShape3D(p, nullptr, at));
}

// Signed distance of p from the shape's solid (negative inside).
inline float signedDistance(const xShape3D* s, const Vec3& p) {
  const xSolid3D g = qlnSolidOf3D(s);
  switch (s->getColliderID()) {
    case kCollider3DSphere:
      return qlnLenV3(p - g.c) - g.r;
    case kCollider3DBox: {
      const Vec3 l = g.toLocal(p);
      const float q[3] = {std::fabs(l.x) - g.half.x, std::fabs(l.y) - g.half.y, std::fabs(l.z) - g.half.z};
      const Vec3 out(std::max(q[0], 0.0f), std::max(q[1], 0.0f), std::max(q[2], 0.0f));
      return qlnLenV3(out) + std::min(std::max(q[0], std::max(q[1], q[2])), 0.0f);
    }
    case kCollider3DCylinder: {
      const Vec3 l = g.toLocal(p);
      const float radial = std::sqrt(l.x * l.x + l.z * l.z) - g.r, axial = std::fabs(l.y) - g.h * 0.5f;
      const float ox = std::max(radial, 0.0f), oy = std::max(axial, 0.0f);
      return std::sqrt(ox * ox + oy * oy) + std::min(std::max(radial, axial), 0.0f);
    }
    case kCollider3DCapsule:
      return qlnLenV3(p - qlnClosestPointOnSegment3D(p, g.end(-1.0f), g.end(1.0f))) - g.r;
    case kCollider3DPlane: {
      Vec3 n(0.0f);
      float d = 0.0f;
      qlnWorldPlane3D(s, n, d);
      return qlnDot3(n, p) + d;
    }
    default:
      return 0.0f;
  }
}

inline // Brute-force separation: project both boxes' corners on many directions (face normals, edge
// cross products and a dense set of sphere directions); any gap separates.
bool bruteSeparated(const xOBB3D& a, const xOBB3D& b) {
  auto corners = [](const xOBB3D& o, Vec3* out) {
    for (int k = 0; k < 8; ++k) {
      const Vec3 l((k & 1) ? o.half.x : -o.half.x, (k & 2) ? o.half.y : -o.half.y, (k & 4) ? o.half.z : -o.half.z);
      out[k] = o.center + o.rot * l;
    }
  };
  Vec3 ca[8], cb[8];
  corners(a, ca);
  corners(b, cb);
  auto gapOn = [&](const Vec3& d) {
    float minA = 1e30f, maxA = -1e30f, minB = 1e30f, maxB = -1e30f;
    for (int k = 0; k < 8; ++k) {
      minA = std::min(minA, qlnDot3(ca[k], d));
      maxA = std::max(maxA, qlnDot3(ca[k], d));
      minB = std::min(minB, qlnDot3(cb[k], d));
      maxB = std::max(maxB, qlnDot3(cb[k], d));
    }
    return maxA < minB - 1e-4f || maxB < minA - 1e-4f;
  };
  for (int i = 0; i < 3; ++i) {
    if (gapOn(qlnColumn33(a.rot, i)) || gapOn(qlnColumn33(b.rot, i))) return true;
    for (int j = 0; j < 3; ++j) {
      const Vec3 c = qlnCross3(qlnColumn33(a.rot, i), qlnColumn33(b.rot, j));
      if (qlnLen2V3(c) > 1e-8f && gapOn(c)) return true;
    }
  }
  for (int t = 0; t < 40; ++t)
    for (int p = 0; p < 20; ++p) {
      const float th = t * 3.1415927f / 40.0f, ph = p * 3.1415927f / 10.0f;
      if (gapOn(Vec3(std::sin(th) * std::cos(ph), std::cos(th), std::sin(th) * std::sin(ph)))) return true;
    }
  return false;
}


}  // namespace p3test
