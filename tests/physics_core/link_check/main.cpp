// Links the shared library alone: creates a world with a body and a shape, steps it and
// destroys it. Exit code 0 on success.
#include <cstdio>

#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "CollisionContext/xCollisionContext.h"
#include "Dynamics/Bodies/xBodyDesc.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "sdk/QuillonPhysicsSDK.h"

using namespace QuillonPHX2D;

int main() {
  QuillonPhysicsSDK *sdk = qlnCreateQuillonSDK();
  if (!sdk || g_ptrSDK != sdk) return 1;

  xBody3DOFDesc bodyDesc;
  xBody *body = sdk->createBody(bodyDesc);
  body->setAbsPlacement(Vec3(0.0f, 0.0f, 0.0f));

  xPrimitiveShapeDesc shapeDesc;
  shapeDesc.setEnvelope(new xPrimitiveBox(2.0f, 1.0f));
  xShape *shape = sdk->createShape(shapeDesc);
  shape->setAscendant(body);
  shape->setBody(body);
  body->initialize();
  shape->initialize();

  for (int i = 0; i < 10; ++i) sdk->updateF(0.016f);
  const Vec3 p = body->absPlacement();
  std::printf("bodies %d, shapes %d, tick %lu, body at (%g, %g)\n", sdk->physicsContext()->bodiesCount(),
              sdk->collisionContext()->shapesCount(), sdk->currentTick(), p.x, p.y);
  const bool ok = sdk->physicsContext()->bodiesCount() == 1 && sdk->collisionContext()->shapesCount() == 1 &&
                  sdk->currentTick() == 10 && qlnIsFiniteV3(p);

  body->destroyHierarchy();
  qlnDestroyQuillonSDK();
  return ok && g_ptrSDK == nullptr ? 0 : 2;
}
