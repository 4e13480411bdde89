// The array instances the shared library exports, so hosts linking the library get the
// same code the engine runs.
// The element classes are included, not forward-declared: an instance over a type the compiler
// only knows as hidden would be hidden itself.
#include "Collision/Shapes/xShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/ClassificationSpace/xQuadTree.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "CollisionContext/xTempContact.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/Constraints/xConstraintSet.h"
#include "Dynamics/Constraints/xContactConstraint.h"
#include "Dynamics/Integrators/xIntegrator.h"
#include "Foundation/Templates/xArray.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xSolverLCP.h"
#include "sdk/xEntity.h"

namespace QuillonPHX2D {

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
template class xArray<xCSCellGroup>;
template class xArray<void (*)(xShape *, xShape *)>;

}  // namespace QuillonPHX2D
