// The 3D contact's rows: counts, targets, restitution, tangents, chains, and the solver's
// bounds on the forces it finds for them.
#include <gtest/gtest.h>

#include "GameExtensions/Configurator3D.h"
#include "GameExtensions/ConstraintSet3D.h"
#include "GameExtensions/Solver3D.h"
#include "Scene3D.h"
#include "StrictAsserts.h"

using namespace QuillonPHX2D;
using namespace p3test;

namespace {

// One body in a fresh stream at `p` with velocity `v`, index 0.
struct OneBody {
  OneBody(const Vec3& p, const Vec3& v) : body(nullptr, 1.0f, Vec3(0.4f), true) {
    body.setPlacement(at(p));
    body.setStreamIndex(0);
    stream.resize(1);
    stream.state(0, 0) = p.x;
    stream.state(0, 1) = p.y;
    stream.state(0, 2) = p.z;
    stream.state(0, 6) = 1.0f;
    stream.velocities(0) = v.x;
    stream.velocities(1) = v.y;
    stream.velocities(2) = v.z;
    eq.resize(8);
  }
  ~OneBody() { contact.release(); }
  int form(const Vec3& normal, float depth, float h) {
    contact.initialize(&body, nullptr, nullptr, nullptr, body.absPlacement().t, normal, depth);
    eq.clearRows();
    return contact.formEquations(eq, stream, h);
  }
  xBody3D body;
  xBodyStream3D stream;
  xEquationStream3D eq;
  xContactConstraint3D contact;
};

}  // namespace

TEST(ContactConstraint3D, RowCountsTargetsAndBounds) {
  xConfigurator3D* cfg = xConfigurator3D::Instance();
  const float slop = cfg->penetrationSlop, h = 0.1f;
  OneBody ob(Vec3(0, 0, 0), Vec3(0.0f));
  EXPECT_EQ(ob.contact.getMaxDOF(), 5);
  EXPECT_EQ(ob.form(Vec3(0, 1, 0), slop + 0.01f, h), 3);
  EXPECT_NEAR(ob.eq.target(0), 0.2f * 0.01f / h, 1e-6f);
  EXPECT_EQ(ob.eq.lower(0), 0.0f);
  EXPECT_EQ(ob.eq.upper(0), QLN_MAX);
  EXPECT_EQ(ob.eq.softness(0), 0.0f);
  for (int r = 1; r <= 2; ++r) {
    EXPECT_EQ(ob.eq.link[r], 0);
    EXPECT_FLOAT_EQ(ob.eq.upper(r), 0.49999037f);
    EXPECT_FLOAT_EQ(ob.eq.lower(r), -0.49999037f);
    EXPECT_FLOAT_EQ(ob.eq.softness(r), 1e-04f);
  }
  // Deep contacts are capped at 1; shallow ones may approach down to the slop.
  ob.form(Vec3(0, 1, 0), 5.0f, h);
  EXPECT_EQ(ob.eq.target(0), 1.0f);
  ob.form(Vec3(0, 1, 0), 0.0f, h);
  EXPECT_NEAR(ob.eq.target(0), -0.2f * slop / h, 1e-6f);
  cfg->friction = false;
  EXPECT_EQ(ob.form(Vec3(0, 1, 0), 0.1f, h), 1);
  cfg->friction = true;
  EXPECT_EQ(ob.contact.getMaxDOF(), 5);
}

TEST(ContactConstraint3D, ApartInTheSubstepGivesNoRows) {
  OneBody ob(Vec3(0, 0, 0), Vec3(0.0f));
  ob.contact.initialize(&ob.body, nullptr, nullptr, nullptr, Vec3(0, 0, 0), Vec3(0, 1, 0), 0.1f);
  ob.stream.state(0, 1) = -1.0f;  // the body has moved away from the static geometry
  ob.eq.clearRows();
  EXPECT_EQ(ob.contact.formEquations(ob.eq, ob.stream, 0.1f), 0);
  xConfigurator3D::Instance()->separationTest = false;
  EXPECT_EQ(ob.contact.formEquations(ob.eq, ob.stream, 0.1f), 3);
  xConfigurator3D::Instance()->separationTest = true;
}

TEST(ContactConstraint3D, FastApproachBouncesWithThreeTenths) {
  const float h = 0.1f;  // threshold 33 h = 3.3
  OneBody fast(Vec3(0, 0, 0), Vec3(0, 5, 0));
  fast.form(Vec3(0, 1, 0), 0.03f, h);
  EXPECT_NEAR(fast.eq.target(0), 0.29999721f * 5.0f, 1e-5f);
  OneBody slow(Vec3(0, 0, 0), Vec3(0, 3, 0));
  slow.form(Vec3(0, 1, 0), 0.03f, h);
  EXPECT_NEAR(slow.eq.target(0), 0.2f * 0.005f / h, 1e-6f);
}

TEST(ContactConstraint3D, FrictionFollowsTheSlideOrThePlaneSpace) {
  OneBody rest(Vec3(0, 0, 0), Vec3(0.0f));
  rest.form(Vec3(0, -1, 0), 0.05f, 0.1f);
  const Vec3 t1(rest.eq.jacA(1, 0), rest.eq.jacA(1, 1), rest.eq.jacA(1, 2));
  const Vec3 t2(rest.eq.jacA(2, 0), rest.eq.jacA(2, 1), rest.eq.jacA(2, 2));
  EXPECT_EQ(t1, Vec3(-1, 0, 0));
  EXPECT_EQ(t2, Vec3(0, 0, 1));
  OneBody slide(Vec3(0, 0, 0), Vec3(0, 0, 3));
  slide.form(Vec3(0, -1, 0), 0.05f, 0.1f);
  const Vec3 s1(slide.eq.jacA(1, 0), slide.eq.jacA(1, 1), slide.eq.jacA(1, 2));
  const Vec3 s2(slide.eq.jacA(2, 0), slide.eq.jacA(2, 1), slide.eq.jacA(2, 2));
  EXPECT_NEAR(s1.z, 1.0f, 1e-6f);
  EXPECT_NEAR(qlnDot3(s1, s2), 0.0f, 1e-6f);
  EXPECT_NEAR(qlnDot3(s2, Vec3(0, -1, 0)), 0.0f, 1e-6f);
  EXPECT_NEAR(qlnLenV3(s2), 1.0f, 1e-6f);
}

TEST(ContactConstraint3D, ChainsPlacementsAndMissingStreamBodies) {
  xBody3D a(nullptr, 1, Vec3(1), true), b(nullptr, 1, Vec3(1), true);
  a.setPlacement(at(Vec3(0, 0, 0)));
  b.setPlacement(at(Vec3(2, 0, 0)));
  xContactConstraint3D c1, c2;
  c1.initialize(&a, &b, nullptr, nullptr, Vec3(1, 0, 0), Vec3(1, 0, 0), 0.1f);
  c2.initialize(&a, nullptr, nullptr, nullptr, Vec3(0, -1, 0), Vec3(0, -1, 0), 0.1f);
  EXPECT_EQ(a.getFirstJoint(), &c2);
  EXPECT_EQ(c1.getPrevInBody(&a), &c2);
  EXPECT_EQ(c2.getPrevInBody(&a), nullptr);
  EXPECT_EQ(c1.lever1, Vec3(-1, 0, 0));
  EXPECT_EQ(c2.lever1, Vec3(0, -1, 0));
  EXPECT_NE(c1.flags & kSet3DEnabled, 0u);
  c2.release();
  EXPECT_EQ(a.getFirstJoint(), &c1);
  EXPECT_EQ(c2.flags & kSet3DEnabled, 0u);
  Placement3D p, q;
  c1.jointPlacement(p, q);
  EXPECT_EQ(p.qw, 1.0f);
  EXPECT_EQ(q.t, Vec3(0.0f));
  // A body missing from the stream is reported, not read as a position.
  xBodyStream3D stream;
  stream.resize(1);
  xEquationStream3D eq;
  a.setStreamIndex(0);
  b.setStreamIndex(5);
  {
    ExpectAsserts expect;
    EXPECT_EQ(c1.formEquations(eq, stream, 0.1f), 0);
    EXPECT_GT(expect.reported(), 0u);
  }
  c1.release();
  EXPECT_EQ(a.getFirstJoint(), nullptr);
  EXPECT_EQ(b.getFirstJoint(), nullptr);
}

TEST(ContactConstraint3D, SolvedForcesRespectTheirBounds) {
  Scene3D scene;
  scene.shape(new xPrimitiveBox3D(Vec3(4, 1, 4)), nullptr, at(Vec3(0, 1.0f, 0)));
  xBody3D* b = scene.body(1.0f, Vec3(0.1f), at(Vec3(0, 0.0f, 0)));
  scene.shape(new xPrimitiveBox3D(Vec3(0.6f, 1.0f, 0.6f)), b, at(Vec3(0.0f)));
  b->setVelocity(Vec3(2.0f, 0.0f, 0.5f));
  scene.start();
  for (int i = 0; i < 30; ++i) {
    scene.step(1.0f / 60.0f, 1);
    const xEquationStream3D& E = xGaussSouthwell3D::equationStream();
    for (int r = 0; r < E.rowCount; ++r) {
      if (E.link[r] < 0) {
        ASSERT_GE(E.force(r), 0.0f);
      } else {
        // The bound used the normal force of the sweep before the last one, which differs from
        // the final one by at most the normal row's last change.
        const int n = E.link[r];
        ASSERT_LE(std::fabs(E.force(r)), 0.49999037f * (E.prevForce(n) + E.change(n)) + 1e-6f);
      }
    }
  }
  // Friction has slowed the slide.
  EXPECT_LT(qlnLenV3(b->velocity()), 2.0f);
}
