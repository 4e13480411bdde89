#pragma once
#include <string>

#include "Foundation/Paragon/xParagon.h"
#include "Foundation/QlnSerial.h"

namespace QuillonPHX2D {

class xBody;
class xCollisionCategory;
class xCollisionContext;

// The collidable part of a body: it hangs under its body in the paragon tree, carries a
// collision category and is filed in the collision context's classification space.
class QLN_API xShape : public xParagon {
 public:
  xShape();
  // Leaves the collision context (and its classification space) before it goes.
  ~xShape() override;

  // Files the shape with the world. Without a world it reports and does nothing.
  void initialize() override;
  void activate() override;
  void deactivate() override;
  void notifyMoved(const Vec3 &oldAbs, const Vec3 &newAbs) override;

  virtual void render() {}
  virtual Box2 getAbsBoundingBox() = 0;
  virtual int getColliderID() { return -1; }

  xBody *getMainBody() const { return mainBody_; }
  // Sets the main body of this shape and of every shape below it.
  void setBody(xBody *b);
  xCollisionCategory *getCollisionCategory() const { return category_; }
  // Null when the name is not registered. A shape already filed is filed under the new one.
  void setCollisionCategory(const std::string &name);
  void setCollisionCategory(xCollisionCategory *c);

  void getCSPos(int out[4], int &level) const;
  void setCSPos(const int in[4], int level);
  // The first of the classification space's links that file this shape (-1: none).
  int csLinks() const { return csLinks_; }
  void setCSLinks(int link) { csLinks_ = link; }
  bool isQueryMarked() const { return queryMark_; }
  void setQueryMark(bool m) { queryMark_ = m; }
  // Of two awake shapes the one with the higher serial handles their pair, so their contacts
  // come in the same order and orientation on every run.
  QlnSerial serial() const { return serial_; }

 protected:
  static xCollisionContext *world();

  xBody *mainBody_;
  bool queryMark_;
  xCollisionCategory *category_;
  int spare0_;
  int spare1_;
  int csRange_[4];
  int csLevel_;
  int csLinks_;
  QlnSerial serial_;
};

}  // namespace QuillonPHX2D
