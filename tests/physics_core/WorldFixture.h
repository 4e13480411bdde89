#pragma once
#include <gtest/gtest.h>

#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "CollisionContext/xCollisionContext.h"
#include "Dynamics/Bodies/xBodyDesc.h"
#include "Dynamics/World/xPhysicsContext.h"
#include "sdk/QuillonPhysicsSDK.h"

// A fresh physics world per test.
class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override { sdk = QuillonPHX2D::qlnCreateQuillonSDK(); }
  void TearDown() override { QuillonPHX2D::qlnDestroyQuillonSDK(); }

  QuillonPHX2D::xPhysicsContext *pc() { return sdk->physicsContext(); }
  QuillonPHX2D::xCollisionContext *cc() { return sdk->collisionContext(); }

  QuillonPHX2D::xBody *makeBody(const QuillonPHX2D::Vec3 &at) {
    QuillonPHX2D::xBody3DOFDesc d;
    QuillonPHX2D::xBody *b = sdk->createBody(d);
    b->setAbsPlacement(at);
    return b;
  }

  QuillonPHX2D::xPrimitiveShape *makeBoxShape(float w, float h, const std::string &category = "default") {
    QuillonPHX2D::xPrimitiveShapeDesc d;
    d.setCategory(category);
    d.setEnvelope(new QuillonPHX2D::xPrimitiveBox(w, h));
    return static_cast<QuillonPHX2D::xPrimitiveShape *>(sdk->createShape(d));
  }

  QuillonPHX2D::QuillonPhysicsSDK *sdk = nullptr;
};
