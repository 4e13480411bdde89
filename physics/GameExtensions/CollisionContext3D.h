#pragma once
// The static half of the 3D contact world: its shapes, the awake ones, and contact
// generation, which pairs shapes, applies the 3D world's own collision categories, runs the
// colliders and files the accepted contacts.
#include "Foundation/Templates/xArray.h"
#include "GameExtensions/Math3D.h"

namespace QuillonPHX2D {

class xShape3D;
class xMaterial;
class xCategoryDispatcher;
class xCollisionCategory;

class xCollisionContext3D {
 public:
  xCollisionContext3D();
  virtual ~xCollisionContext3D();
  xCollisionContext3D(const xCollisionContext3D&) = delete;
  xCollisionContext3D& operator=(const xCollisionContext3D&) = delete;

  // Shapes of bodies join the active list when their body wakes.
  void addShape(xShape3D* s);
  void removeShape(xShape3D* s);
  void addToActive(xShape3D* s);
  void removeFromActive(xShape3D* s);
  bool isInActive(xShape3D* s) const { return activeShapes_.contains(s); }
  int shapesCount() const { return shapes_.size(); }
  int activeShapesCount() const { return activeShapes_.size(); }

  void generateContacts();
  // Virtual so a host (or a test) can watch what the colliders report.
  virtual bool createTempContact(xShape3D* a, xShape3D* b, xMaterial* ma, xMaterial* mb,
                                 const Vec3& point, float depth, const Vec3& normal);

  // The 3D world's own category registry, with the built-in categories; the categories the
  // game loads live in the 2D registry only.
  static xCategoryDispatcher* categoryDispatcher();

 private:
  void effectiveFlags(xShape3D* a, xShape3D* b, unsigned long& fa, unsigned long& fb);
  void testPair(xShape3D* a, xShape3D* b);

  bool useClassificationSpace_ = true;
  bool generating_ = false;
  xArray<xShape3D*> shapes_;
  xArray<xShape3D*> activeShapes_;
  void* classificationSpace_ = nullptr;  // none: every shape is a candidate neighbour
};

}  // namespace QuillonPHX2D
