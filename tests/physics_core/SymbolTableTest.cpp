// Checks the shared library's dynamic symbol table: the interface is exported, the
// internals are not. Only built into the suite that links the library.
#if defined(QLN_LIBRARY_PATH)
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::set<std::string> exportedSymbols() {
  std::set<std::string> names;
  const std::string cmd = std::string("nm -D -C --defined-only '") + QLN_LIBRARY_PATH + "'";
  FILE *p = popen(cmd.c_str(), "r");
  if (!p) return names;
  char line[4096];
  while (fgets(line, sizeof line, p)) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    // "<address> <type> <name>"
    const size_t first = s.find(' ');
    const size_t second = first == std::string::npos ? first : s.find(' ', first + 1);
    if (second != std::string::npos) names.insert(s.substr(second + 1));
  }
  pclose(p);
  return names;
}

bool hasPrefix(const std::set<std::string> &names, const std::string &prefix) {
  auto it = names.lower_bound(prefix);
  return it != names.end() && it->compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TEST(SharedLibrary, ExportsTheInterfaceAndHidesTheRest) {
  const std::set<std::string> names = exportedSymbols();
  ASSERT_FALSE(names.empty()) << "nm could not read " << QLN_LIBRARY_PATH;

  for (const char *exact : {"QuillonPHX2D::g_ptrSDK", "QuillonPHX2D::qlnCreateQuillonSDK()",
                            "QuillonPHX2D::qlnDestroyQuillonSDK()", "QuillonPHX2D::xCategoryDispatcher::cdp_ptrInstance",
                            "QuillonPHX2D::xMaterialDispatcher::mdp_ptrInstance",
                            "QuillonPHX2D::xConfigurator::cfg_ptrInstance"})
    EXPECT_TRUE(names.count(exact)) << exact;

  for (const char *cls : {"xParagon", "xBody", "xBody2DOF", "xBody3DOF", "xBodyDesc", "xBody2DOFDesc", "xBody3DOFDesc",
                          "xShape", "xPrimitiveShape", "xShapeDesc", "xPrimitiveShapeDesc", "xPrimitive",
                          "xPrimitiveCircle", "xPrimitiveBox", "xPrimitiveLineSeg", "xEntity", "xEntityDesc",
                          "xClassificationSpace", "xQuadTree", "xJointDesc", "xBallSocketDesc", "xSpringDesc",
                          "xMotorConstraintDesc", "xDirectMotionConstraintDesc"})
    EXPECT_TRUE(names.count(std::string("vtable for QuillonPHX2D::") + cls)) << cls;

  for (const char *prefix :
       {"QuillonPHX2D::QuillonPhysicsSDK::updateF(", "QuillonPHX2D::QuillonPhysicsSDK::createEntity(",
        "QuillonPHX2D::xCategoryDispatcher::Instance()", "QuillonPHX2D::xMaterialDispatcher::Instance()",
        "QuillonPHX2D::xConfigurator::Instance()", "QuillonPHX2D::xPhysicsContext::addBody(",
        "QuillonPHX2D::xCollisionContext::addShape(", "QuillonPHX2D::xBlockAllocator::allocate(",
        "QuillonPHX2D::xArray<int>::append(", "QuillonPHX2D::xArray<QuillonPHX2D::xBody*>::resize(",
        "QuillonPHX2D::xArray<QuillonPHX2D::xTempContact>::resize(", "QuillonPHX2D::xArray<QuillonPHX2D::xCSCellLink>::append(",
        "QuillonPHX2D::xArray<void (*)(QuillonPHX2D::xShape*, QuillonPHX2D::xShape*)>::append(",
        "QuillonPHX2D::operator+(QuillonPHX2D::Vec2 const&, QuillonPHX2D::Vec2 const&)",
        "QuillonPHX2D::operator|(QuillonPHX2D::Box2 const&, QuillonPHX2D::Box2 const&)", "QuillonPHX2D::qlnLenV2(",
        "QuillonPHX2D::qlnVec3ToMtx23(", "QuillonPHX2D::qlnBSpline2D(", "QuillonPHX2D::qlnTransformBox2Mtx23(",
        "QuillonPHX2D::xVector::setSize(", "QuillonPHX2D::xMatrix::setSize(", "QuillonPHX2D::qlnCheckFinite("})
    EXPECT_TRUE(hasPrefix(names, prefix)) << prefix;

  // Internal helpers stay hidden.
  for (const std::string &n : names) {
    EXPECT_EQ(n.find("(anonymous namespace)"), std::string::npos) << n;
    EXPECT_EQ(n.find("splineBasis"), std::string::npos) << n;
  }
}
#endif
