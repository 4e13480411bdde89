#pragma once
// A small 3D world for tests: it becomes the global world while it lives and cleans up its
// bodies and shapes in a safe order.
#include <memory>
#include <vector>

#include "GameExtensions/Body3D.h"
#include "GameExtensions/CollisionContext3D.h"
#include "GameExtensions/PhysicsContext3D.h"
#include "GameExtensions/PhysicsSDK3D.h"
#include "GameExtensions/Shape3D.h"

namespace p3test {

using namespace QuillonPHX2D;

class Scene3D {
 public:
  Scene3D() { g_ptrSDK3D = &sdk; }
  ~Scene3D() {
    for (xShape3D* s : shapes_) {
      sdk.collisionContext()->removeShape(s);
      delete s;
    }
    for (xBody3D* b : bodies_) delete b;
    g_ptrSDK3D = nullptr;
  }
  // A dynamic body of the given mass and principal inertia, placed and awake.
  xBody3D* body(float mass, const Vec3& inertia, const Placement3D& at, bool gravity = true) {
    xBody3D* b = new xBody3D(sdk.physicsContext(), mass, inertia, true);
    b->setPlacement(at);
    if (!gravity) b->flags &= ~kFlag3DGravity;
    bodies_.push_back(b);
    return b;
  }
  // A shape on a body (placement relative to it) or static geometry (placement in the world).
  xShape3D* shape(xPrimitive3D* p, xBody3D* b, const Placement3D& local) {
    xShape3D* s = new xShape3D(p, b, local);
    sdk.collisionContext()->addShape(s);
    shapes_.push_back(s);
    return s;
  }
  void start() {
    for (xBody3D* b : bodies_) b->initialize();
  }
  void step(float dt, int times) {
    for (int i = 0; i < times; ++i) sdk.updateF(dt);
  }

  QuillonPhysicsSDK3D sdk;

 private:
  std::vector<xBody3D*> bodies_;
  std::vector<xShape3D*> shapes_;
};

inline Placement3D at(const Vec3& t) { return Placement3D(0, 0, 0, 1, t); }

}  // namespace p3test
