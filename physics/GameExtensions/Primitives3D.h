#pragma once
// Geometry records of the 3D shapes. Each answers its collider id (the row and column in
// the 3D collider table), its own volume and its bounding box in the shape's frame.
#include "GameExtensions/Math3D.h"

namespace QuillonPHX2D {

enum xColliderID3D {
  kCollider3DSphere = 0,
  kCollider3DBox = 1,
  kCollider3DCylinder = 2,
  kCollider3DCapsule = 3,
  kCollider3DPlane = 5,
  kCollider3DFluid = 9,
};

// Type words of the records, distinct from the 2D primitives' words.
enum xPrimitiveType3D {
  kPrimitive3DSphere = 0x3D01,
  kPrimitive3DBox = 0x3D02,
  kPrimitive3DCylinder = 0x3D03,
  kPrimitive3DCapsule = 0x3D04,
  kPrimitive3DPlane = 0x3D05,
  kPrimitive3DFluid = 0x3D06,
};

class xPrimitive3D {
 public:
  explicit xPrimitive3D(int typeWord) : type_(typeWord) {}
  virtual ~xPrimitive3D() = default;
  int typeWord() const { return type_; }
  virtual int colliderID() const = 0;
  virtual float volume() const = 0;
  virtual void localBox(Vec3& mn, Vec3& mx) const = 0;

 private:
  int type_;
};

class xPrimitiveSphere3D : public xPrimitive3D {
 public:
  explicit xPrimitiveSphere3D(float r) : xPrimitive3D(kPrimitive3DSphere), radius(r) {}
  int colliderID() const override { return kCollider3DSphere; }
  float volume() const override;
  void localBox(Vec3& mn, Vec3& mx) const override;
  float radius;
};

// Full edge lengths along local x, y, z.
class xPrimitiveBox3D : public xPrimitive3D {
 public:
  explicit xPrimitiveBox3D(const Vec3& s) : xPrimitive3D(kPrimitive3DBox), size(s) {}
  int colliderID() const override { return kCollider3DBox; }
  float volume() const override;
  void localBox(Vec3& mn, Vec3& mx) const override;
  Vec3 size;
};

// Axis along local y, caps at y = +-height/2.
class xPrimitiveCylinder3D : public xPrimitive3D {
 public:
  xPrimitiveCylinder3D(float r, float h) : xPrimitive3D(kPrimitive3DCylinder), radius(r), height(h) {}
  int colliderID() const override { return kCollider3DCylinder; }
  float volume() const override;
  void localBox(Vec3& mn, Vec3& mx) const override;
  float radius, height;
};

// Height includes both caps; the inner segment runs +-(height/2 - radius) along local y.
class xPrimitiveCapsule3D : public xPrimitive3D {
 public:
  xPrimitiveCapsule3D(float r, float h) : xPrimitive3D(kPrimitive3DCapsule), radius(r), height(h) {}
  int colliderID() const override { return kCollider3DCapsule; }
  float volume() const override;
  void localBox(Vec3& mn, Vec3& mx) const override;
  float radius, height;
};

// n . p + d = 0; the solid lies where n . p + d < 0. The normal is made unit length here so
// depths measured against it are distances whatever the caller wrote.
class xPrimitivePlane3D : public xPrimitive3D {
 public:
  xPrimitivePlane3D(const Vec3& n, float d);
  int colliderID() const override { return kCollider3DPlane; }
  float volume() const override { return 0.0f; }
  void localBox(Vec3& mn, Vec3& mx) const override;
  Vec3 normal;
  float offset;
};

// A body of fluid: its box (in the shape's frame) holds the fluid, whose surface is the box
// face on the local +y side.
class xPrimitiveFluid3D : public xPrimitive3D {
 public:
  xPrimitiveFluid3D(const Vec3& mn, const Vec3& mx) : xPrimitive3D(kPrimitive3DFluid), boxMin(mn), boxMax(mx) {}
  int colliderID() const override { return kCollider3DFluid; }
  float volume() const override;
  void localBox(Vec3& mn, Vec3& mx) const override { mn = boxMin; mx = boxMax; }
  Vec3 boxMin, boxMax;
};

}  // namespace QuillonPHX2D
