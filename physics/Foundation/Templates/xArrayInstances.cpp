// The array instances the shared library exports, so hosts linking the library get the
// same code the engine runs.
#include "CollisionContext/ClassificationSpace/xQuadTree.h"
#include "CollisionContext/xTempContact.h"
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

class xBody;
class xEntity;
class xShape;
class xCollisionCategory;
class xContactConstraint;
class xConstraintSet;
class xMaterial;
class xIntegrator;
class xSolverLCP;

template class xArray<int>;
template class xArray<unsigned long>;
template class xArray<xBody *>;
template class xArray<xEntity *>;
template class xArray<xShape *>;
template class xArray<xCollisionCategory *>;
template class xArray<xContactConstraint *>;
template class xArray<xConstraintSet *>;
template class xArray<xMaterial *>;
template class xArray<xIntegrator *>;
template class xArray<xSolverLCP *>;
template class xArray<xTempContact>;
template class xArray<xCSCell>;
template class xArray<xCSCellLink>;
template class xArray<void (*)(xShape *, xShape *)>;

}  // namespace QuillonPHX2D
