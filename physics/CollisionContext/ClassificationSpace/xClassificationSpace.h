#pragma once
#include "Foundation/QlnExport.h"
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

class xCollisionCategory;
class xShape;

// Says whether shapes of two categories can ever make a contact, so a query may pass over
// those that cannot without looking at them.
class QLN_API xCategoryFilter {
 public:
  virtual ~xCategoryFilter();
  virtual bool canMeet(const xCollisionCategory *query, const xCollisionCategory *other) = 0;
};

// Passes only shapes of the category of that name: a query that keeps one kind of shape need
// not walk the others. The name is not copied.
class QLN_API xCategoryNamed : public xCategoryFilter {
 public:
  explicit xCategoryNamed(const char *name) : name_(name) {}
  bool canMeet(const xCollisionCategory *query, const xCollisionCategory *other) override;

 private:
  const char *name_;
};

// The broad phase: files shapes by their absolute bounding boxes and answers which shapes
// lie near a given one.
class QLN_API xClassificationSpace {
 public:
  xClassificationSpace() : depth_(12), side_(4096.0f) {}
  virtual ~xClassificationSpace();

  virtual void insertToCS(xShape *shape) = 0;
  virtual void moveInsideCS(xShape *shape) = 0;
  virtual void removeFromCS(xShape *shape) = 0;
  // Appends the shapes near `shape` to result (which is not emptied first).
  virtual void getClosest(xArray<xShape *> &result, xShape *shape, bool precise) = 0;
  // The same query keeping only the shapes whose category the filter lets meet the shape's
  // own, in the order the query without a filter gives them.
  virtual void getClosest(xArray<xShape *> &result, xShape *shape, bool precise, xCategoryFilter &filter) = 0;
  // A filed shape's category changed from `previous`; what it is filed under follows.
  virtual void recategorize(xShape *shape, const xCollisionCategory *previous) = 0;

  // Child k lies towards +x when bit 0 is set and towards +y when bit 1 is set.
  static void getDirectionForChildCells(int child, int &dx, int &dy) {
    dx = (child & 1) ? 1 : -1;
    dy = (child & 2) ? 1 : -1;
  }

  int depth() const { return depth_; }
  float side() const { return side_; }

 protected:
  virtual void initializeCS(int depth, float side) = 0;

  int depth_;
  float side_;
};

}  // namespace QuillonPHX2D
