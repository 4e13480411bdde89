#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"

#include "CollisionContext/Categories/CategoryDispatcher.h"

namespace QuillonPHX2D {

// Out of line so each class has one home for its virtual table.
xCategoryFilter::~xCategoryFilter() {}

xClassificationSpace::~xClassificationSpace() {}

bool xCategoryNamed::canMeet(const xCollisionCategory *, const xCollisionCategory *other) {
  return other && name_ && other->categoryID() == name_;
}

}  // namespace QuillonPHX2D
