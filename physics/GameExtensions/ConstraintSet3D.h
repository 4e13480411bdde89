#pragma once
// Constraint sets of the 3D contact world and the per-step contact built from a contact
// candidate. A set sits in the chains of its two bodies so islands and wake-ups can walk
// from body to body; each set writes its rows into the solver's equation stream.
#include "GameExtensions/Math3D.h"

namespace QuillonPHX2D {

class xBody3D;
class xMaterial;
class xEquationStream3D;
class xBodyStream3D;

class xConstraintSet3D {
 public:
  xConstraintSet3D();
  virtual ~xConstraintSet3D() = default;  // does not unlink: callers call release() first

  virtual void setJointPlacement(const Placement3D& inSrc, const Placement3D& inDst);
  virtual void jointPlacement(Placement3D& inSrc, Placement3D& inDst);
  virtual int formEquations(xEquationStream3D& stream, xBodyStream3D& bodies, float h) = 0;
  virtual int getMaxDOF() = 0;
  virtual int getNUE() = 0;
  virtual void render() {}
  virtual void storeSolutions(xVector&, int) {}
  virtual void restoreSolutions(xVector&, int) {}

  void release();
  xConstraintSet3D* getPrevInBody(xBody3D* b) const;
  xConstraintSet3D* getNextInBody(xBody3D* b) const;
  // Pushes the set at the head of each present body's chain and stores the bodies.
  void attach(xBody3D* src, xBody3D* dst);

  xBody3D* bodySrc() const { return src_; }
  xBody3D* bodyDst() const { return dst_; }
  unsigned int flags = 0;
  float releaseForce;
  void* entityOwner = nullptr;

 protected:
  xBody3D* src_ = nullptr;
  xConstraintSet3D* nextInSrc_ = nullptr;
  xBody3D* dst_ = nullptr;
  xConstraintSet3D* nextInDst_ = nullptr;
  Placement3D placementInSrc_;
  Placement3D placementInDst_;

 private:
  void unlinkFrom(xBody3D* b);
};

class xContactConstraint3D : public xConstraintSet3D {
 public:
  xContactConstraint3D();
  void initialize(xBody3D* b0, xBody3D* b1, xMaterial* m0, xMaterial* m1, const Vec3& point,
                  const Vec3& normal, float depth);
  int formEquations(xEquationStream3D& stream, xBodyStream3D& bodies, float h) override;
  int getMaxDOF() override { return 5; }
  int getNUE() override { return 0; }

  Vec3 point;
  Vec3 normal;
  float depth = 0.0f;
  xMaterial* material0 = nullptr;
  xMaterial* material1 = nullptr;
  Vec3 lever0;
  Vec3 lever1;
  bool spareFlag = false;
};

}  // namespace QuillonPHX2D
