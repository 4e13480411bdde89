#include "CollisionContext/ClassificationSpace/xClassificationSpace.h"

namespace QuillonPHX2D {

// Out of line so the class has one home for its virtual table.
xClassificationSpace::~xClassificationSpace() {}

}  // namespace QuillonPHX2D
