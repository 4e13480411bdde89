#include "Dynamics/Integrators/xIntegrator.h"

#include "Configurator/ConfigContext.h"
#include "Dynamics/Bodies/xBody.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xBodyStream.h"
#include "physicscontext3d/solvers/linearcomplementaryproblem/iterative/xSolverLCP.h"
#include "sdk/QuillonPhysicsSDK.h"
#include "Dynamics/World/xPhysicsContext.h"

namespace QuillonPHX2D {

xIntegrator::~xIntegrator() {}

int xEuler1stOrder::getOrder() { return 1; }

void xEuler1stOrder::integrate(xArray<xBody *> &bodies, xBodyStream &stream, float h) {
  xConfigurator *cfg = xConfigurator::Instance();
  float linRest2 = cfg->linearRestSpeed * cfg->linearRestSpeed;
  float angRest2 = cfg->angularRestSpeed * cfg->angularRestSpeed;
  float now = g_ptrSDK ? g_ptrSDK->timeNow() : 0.0f;
  float solverTime = now;
  if (g_ptrSDK && g_ptrSDK->physicsContext() && g_ptrSDK->physicsContext()->getSolver())
    solverTime = g_ptrSDK->physicsContext()->getSolver()->solverTime();
  float *v = stream.velocities.data();
  const float *f = stream.forces.data();
  for (int i = 0; i < bodies.size(); ++i) {
    xBody *b = bodies[i];
    int c = 3 * b->getIslandIndex();
    int row = c / 3;
    // Linear block: 2 x 2 (diagonal for every body the solver builds, kept general here).
    float fx = f[c] * h, fy = f[c + 1] * h;
    v[c] += stream.inverseMass(c, 0) * fx + stream.inverseMass(c, 1) * fy;
    v[c + 1] += stream.inverseMass(c + 1, 0) * fx + stream.inverseMass(c + 1, 1) * fy;
    bool spins = b->canRotate();
    float w = 0.0f;
    if (spins) {
      v[c + 2] += stream.inverseMass(c + 2, 2) * (f[c + 2] * h);
      w = v[c + 2];
    }
    stream.positions(row, 0) += v[c] * h;
    stream.positions(row, 1) += v[c + 1] * h;
    if (spins) stream.positions(row, 2) += w * h;
    float speed2 = v[c] * v[c] + v[c + 1] * v[c + 1];
    if (speed2 >= linRest2 || w * w >= angRest2) b->setLastMovingTime(now);
    if (cfg->sleeping && solverTime - b->getSleepDelay() >= b->getLastMovingTime()) {
      v[c] = v[c + 1] = 0.0f;
      v[c + 2] = 0.0f;
    }
  }
}

}  // namespace QuillonPHX2D
