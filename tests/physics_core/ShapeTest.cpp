#include <cmath>

#include "AssertCatcher.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xQuadTree.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "WorldFixture.h"

using namespace QuillonPHX2D;

using Shapes = WorldTest;

TEST(Primitives, GeometryValues) {
  xPrimitiveCircle c(2.0f);
  EXPECT_EQ(c.getType(), ePrimitiveCircle);
  EXPECT_EQ(c.getBoundingBox(), Box2(-2, -2, 2, 2));
  EXPECT_FLOAT_EQ(c.volume(), 12.566371f);
  EXPECT_FLOAT_EQ(c.inertia(), 1.0f);  // r*r/4 per unit mass, kept as the engine always had it
  EXPECT_EQ(xPrimitiveCircle().getRadius(), 10.0f);
  xPrimitiveBox b(4.0f, 2.0f);
  EXPECT_EQ(b.getBoundingBox(), Box2(-2, -1, 2, 1));
  EXPECT_FLOAT_EQ(b.inertia(), 1.6666667f);
  EXPECT_EQ(b.volume(), 8.0f);
  xPrimitiveLineSeg s(Vec2(0, 0), Vec2(1, 1));
  EXPECT_EQ(s.getBoundingBox(), Box2::unbounded());
  EXPECT_EQ(s.volume(), 0.0f);
  xPrimitive *copy = b.clone();
  EXPECT_EQ(copy->getType(), ePrimitiveBox);
  EXPECT_EQ(static_cast<xPrimitiveBox *>(copy)->getSize(), Vec2(4, 2));
  delete copy;
}

TEST_F(Shapes, AbsoluteBoundingBoxFollowsPlacement) {
  xPrimitiveShape *s = makeBoxShape(2, 2);
  s->setAbsPlacement(Vec3(10, 0, 3.14159265f / 4));
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(8.5858f, -1.4142f, 11.4142f, 1.4142f), 1e-6f));
  EXPECT_EQ(s->getColliderID(), 1);
  xPrimitiveShape empty;
  EXPECT_EQ(empty.getColliderID(), -1);
  EXPECT_TRUE(qlnIsEmptyB2(empty.getAbsBoundingBox()));
  EXPECT_EQ(empty.getMaterial(), xMaterialDispatcher::Instance()->defaultMaterial());
  empty.setEnvelope(new xPrimitiveCircle(1));
  EXPECT_EQ(empty.getColliderID(), 0);
  EXPECT_EQ(s->getTunnelingFreeMoveRatio(Vec3(0, 0, 0), Vec3(100, 0, 0)), 1.0f);
  delete s;
}

TEST_F(Shapes, BoundingBoxFollowsEveryChangeBetweenAsks) {
  // The box is asked for again and again in a step; each ask must still see every change
  // made since the last one: the placement, the body under the shape, the envelope's size or
  // the envelope itself.
  xPrimitiveShape *s = makeBoxShape(2, 2);
  s->setAbsPlacement(Vec3(10, 0, 0));
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(9, -1, 11, 1), 1e-6f));
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(9, -1, 11, 1), 1e-6f));
  static_cast<xPrimitiveBox *>(s->getEnvelope())->setSize(Vec2(4, 6));
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(8, -3, 12, 3), 1e-6f));
  s->setAbsPlacement(Vec3(10, 0, 3.14159265f / 2));
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(7, -2, 13, 2), 1e-5f));
  s->setEnvelope(new xPrimitiveCircle(5));
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(5, -5, 15, 5), 1e-5f));
  static_cast<xPrimitiveCircle *>(s->getEnvelope())->setRadius(1);
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(9, -1, 11, 1), 1e-5f));

  xPrimitiveShape *parent = makeBoxShape(2, 2);
  parent->setAbsPlacement(Vec3(0, 0, 0));
  s->setAscendant(parent);
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(9, -1, 11, 1), 1e-5f));
  parent->setAbsPlacement(Vec3(0, 100, 0));  // only the parent moves
  EXPECT_TRUE(qlnIsNearB2(s->getAbsBoundingBox(), Box2(9, 99, 11, 101), 1e-5f));
  s->setAscendant(nullptr);
  delete s;
  delete parent;
}

TEST_F(Shapes, DescriptionHandsEachShapeItsOwnEnvelope) {
  xPrimitiveShapeDesc d;
  d.setCategory("solid_geometry");
  xPrimitiveCircle *env = new xPrimitiveCircle(3.0f);
  d.setEnvelope(env);
  xMaterialDispatcher::Instance()->createMaterial("mat_shape_test", 1, 1, 1, 1, 1);
  d.setMaterial(xMaterialDispatcher::Instance()->obtainMaterialByName("mat_shape_test"));
  d.setPlacement(Vec3(5, 5, 0));

  xPrimitiveShape *first = static_cast<xPrimitiveShape *>(d.createShape());
  xPrimitiveShape *second = static_cast<xPrimitiveShape *>(d.createShape());
  EXPECT_EQ(first->getEnvelope(), env);
  ASSERT_NE(second->getEnvelope(), nullptr);
  EXPECT_NE(second->getEnvelope(), env);
  EXPECT_EQ(static_cast<xPrimitiveCircle *>(second->getEnvelope())->getRadius(), 3.0f);
  EXPECT_EQ(first->getCollisionCategory()->categoryID(), "solid_geometry");
  EXPECT_EQ(second->getMaterial()->label(), "mat_shape_test");
  EXPECT_EQ(first->absPlacement(), Vec3(0, 0, 0));  // the description's placement is not applied
  EXPECT_EQ(first->getAscendant(), nullptr);
  EXPECT_FALSE(first->isInitialized());

  xPrimitiveShapeDesc copy(d);
  delete first;  // the original envelope goes with it; later shapes must not depend on it
  xPrimitiveShape *third = static_cast<xPrimitiveShape *>(d.createShape());
  xPrimitiveShape *fromCopy = static_cast<xPrimitiveShape *>(copy.createShape());
  EXPECT_EQ(third->getColliderID(), 0);
  EXPECT_EQ(fromCopy->getColliderID(), 0);
  EXPECT_NE(third->getEnvelope(), fromCopy->getEnvelope());
  delete second;
  delete third;
  delete fromCopy;

  xPrimitiveShapeDesc unknown;
  unknown.setCategory("not_registered_anywhere");
  xShape *none = unknown.createShape();
  EXPECT_EQ(none->getCollisionCategory(), nullptr);
  EXPECT_EQ(none->getColliderID(), -1);
  delete none;
}

TEST_F(Shapes, LifecycleInTheCollisionContext) {
  xBody *body = makeBody(Vec3(0, 0, 0));
  xPrimitiveShape *s = makeBoxShape(2, 2);
  s->setAscendant(body);
  s->setBody(body);
  s->setRelPlacement(Vec3(3, 0, 0));
  s->initialize();
  s->initialize();
  EXPECT_EQ(cc()->shapesCount(), 1);
  EXPECT_TRUE(s->isAddedToCS());
  xQuadTree *tree = static_cast<xQuadTree *>(cc()->collisionSpace());
  const int links = tree->linksInUse();
  EXPECT_GT(links, 0);

  s->activate();
  s->activate();
  EXPECT_EQ(cc()->activeShapesCount(), 1);

  // Moving the (uninitialised) body's initialised shape directly refiles it.
  xPrimitiveShape *probe = makeBoxShape(0.5f, 0.5f);
  probe->setAbsPlacement(Vec3(103, 0, 0));
  xArray<xShape *> near;
  tree->getClosest(near, probe, true);
  EXPECT_FALSE(near.contains(s));
  s->setAbsPlacement(Vec3(103, 0, 0));
  near.clear();
  tree->getClosest(near, probe, true);
  EXPECT_TRUE(near.contains(s));
  EXPECT_EQ(tree->getTouchingShape(probe), s);

  // A body moving carries its initialised shape along in the tree.
  body->initialize();
  body->setAbsPlacement(Vec3(-100, 0, 0));
  near.clear();
  tree->getClosest(near, probe, true);
  EXPECT_FALSE(near.contains(s));

  s->deactivate();
  EXPECT_EQ(cc()->activeShapesCount(), 0);
  delete body;
  EXPECT_EQ(s->getMainBody(), nullptr);
  delete s;
  delete probe;
  EXPECT_EQ(cc()->shapesCount(), 0);
  EXPECT_EQ(tree->linksInUse(), 0);
  EXPECT_EQ(tree->cellsInUse(), 1);
}

TEST_F(Shapes, SetBodyReachesTheWholeSubtree) {
  xBody *body = makeBody(Vec3(0, 0, 0));
  xPrimitiveShape *top = makeBoxShape(1, 1);
  xPrimitiveShape *below = makeBoxShape(1, 1);
  below->setAscendant(top);
  top->setAscendant(body);
  top->setBody(body);
  EXPECT_EQ(below->getMainBody(), body);
  delete body;
  EXPECT_EQ(top->getMainBody(), nullptr);
  EXPECT_EQ(below->getMainBody(), nullptr);
  delete below;
  delete top;
}

TEST(ShapesWithoutWorld, InitialiseFailsCleanly) {
  ASSERT_EQ(g_ptrSDK, nullptr);
  AssertCatcher catcher;
  xPrimitiveShape s;
  s.setEnvelope(new xPrimitiveCircle(1));
  s.initialize();
  EXPECT_GE(catcher.reports(), 1);
  EXPECT_FALSE(s.isAddedToCS());
  s.setAbsPlacement(Vec3(4, 4, 0));
  s.activate();
  s.deactivate();
}
