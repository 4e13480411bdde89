#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xBodyStream.h"

#include <cstring>

namespace QuillonPHX2D {
namespace {

void zero(xVector &v) {
  if (v.size() > 0) std::memset(v.data(), 0, sizeof(float) * size_t(v.size()));
}

void zero(xMatrix &m) {
  if (m.rows() > 0) std::memset(m.data(), 0, sizeof(float) * size_t(m.rows()) * size_t(m.stride()));
}

}  // namespace

xBodyStream::xBodyStream() : gravity(0.0f, 0.0f), sizedColumns_(-1), sizedPositionRows_(-1) {
  resize(60, 1);
  clear();
}

void xBodyStream::resize(int columns, int positionRows) {
  if (columns < 0) columns = 0;
  if (positionRows < 0) positionRows = 0;
  if (columns == sizedColumns_ && positionRows == sizedPositionRows_) return;
  sizedColumns_ = columns;
  sizedPositionRows_ = positionRows;
  inverseMass.setSize(columns, 3);
  positions.setSize(positionRows, 3);
  forces.setSize(columns);
  savedForces.setSize(columns);
  velocities.setSize(columns);
}

void xBodyStream::clear() {
  zero(inverseMass);
  zero(positions);
  zero(savedForces);
  zero(velocities);
}

}  // namespace QuillonPHX2D
