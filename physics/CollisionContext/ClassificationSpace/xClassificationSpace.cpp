#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"

namespace QuillonPHX2D {

// Out of line so each class has one home for its virtual table.
xCategoryFilter::~xCategoryFilter() {}

xClassificationSpace::~xClassificationSpace() {}

}  // namespace QuillonPHX2D
