#include <GL/glew.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "TestEnv.h"
#include "shader/GLSupport.h"
#include "shader/glShader.h"
#include "shader/glShaderManager.h"
#include "shader/glShaderObject.h"

namespace {

const char* const kVertex =
    "#version 110\nvoid main() { gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex; }\n";
const char* const kFragment = "#version 110\nvoid main() { gl_FragColor = vec4(1.0); }\n";
const char* const kBrokenFragment = "#version 110\nvoid main() { gl_FragColor = nonsense; }\n";

class ShaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    context_ = new testenv::GLContext();
    opened_ = context_->open(64, 64);
  }
  static void TearDownTestSuite() {
    context_->close();
    delete context_;
    context_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(opened_) << "needs a display: " << SDL_GetError();
    ASSERT_TRUE(gsx::initGLExtensions());
    ASSERT_TRUE(gsx::isGLSLAvailable());
  }

  std::string file(const std::string& name, const std::string& text) {
    const std::string path = dirs_.root() + "/" + name;
    std::ofstream(path) << text;
    return path;
  }

  testenv::TempUserDirs dirs_;
  static testenv::GLContext* context_;
  static bool opened_;
};

testenv::GLContext* ShaderTest::context_ = nullptr;
bool ShaderTest::opened_ = false;

}  // namespace

TEST_F(ShaderTest, ObjectLoadReportsMissingAndEmptyFiles) {
  gsx::aVertexShader vertex;
  EXPECT_NE(vertex.shaderObject(), 0u);
  EXPECT_EQ(vertex.load((dirs_.root() + "/absent.vert").c_str()), -1);
  EXPECT_EQ(vertex.load(dirs_.root().c_str()), -1) << "a folder is not a shader file";
  EXPECT_EQ(vertex.load(file("empty.vert", "").c_str()), -2);
  EXPECT_FALSE(vertex.compile()) << "nothing loaded yet";
  ASSERT_EQ(vertex.load(file("ok.vert", kVertex).c_str()), 0);
  EXPECT_STREQ(vertex.source(), kVertex);
  EXPECT_TRUE(vertex.compile());

  gsx::aFragmentShader broken;
  ASSERT_EQ(broken.load(file("broken.frag", kBrokenFragment).c_str()), 0);
  EXPECT_FALSE(broken.compile());
  EXPECT_STRNE(broken.getCompilerLog(), "[e06] Compiler log is not available!");
}

TEST_F(ShaderTest, ListBuildsWhatItCanAndOwnsItsPrograms) {
  const std::string vert = file("a.vert", kVertex);
  const std::string frag = file("a.frag", kFragment);
  const std::string broken = file("b.frag", kBrokenFragment);
  const std::string list = file(
      "list.xml", "<ShadersList>\n"
                  "  <Shader id=\"1\" vtx=\"" + vert + "\"/>\n"
                  "  <Shader id=\"2\" vtx=\"" + vert + "\" fragment=\"" + frag + "\"/>\n"
                  "  <Shader id=\"3\" vtx=\"" + vert + "\" fragment=\"" + dirs_.root() +
                  "/missing.frag\"/>\n"
                  "  <Shader id=\"4\" vtx=\"" + vert + "\" fragment=\"" + broken + "\"/>\n"
                  "  <Shader vtx=\"" + vert + "\" fragment=\"\" geometry=\"\"/>\n"
                  "</ShadersList>\n");

  auto* manager = new gsx::glShaderManager();
  testing::internal::CaptureStdout();
  EXPECT_EQ(gsx::loadShaderList(*manager, list.c_str()), 3);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("error: can't load fragment shader!\n"), std::string::npos) << out;
  EXPECT_NE(out.find("***COMPILER ERROR (Fragment Shader):\n"), std::string::npos) << out;
  EXPECT_NE(out.find("***GLSL Linker: SUCCESS! \n"), std::string::npos) << out;

  // A vertex-only program, a full pair and the element without an id (-1).
  gsx::glShader* vertexOnly = manager->getProgram(1);
  ASSERT_NE(vertexOnly, nullptr);
  EXPECT_TRUE(vertexOnly->isLinked());
  EXPECT_EQ(vertexOnly->objectCount(), 1);
  ASSERT_NE(manager->getProgram(2), nullptr);
  EXPECT_EQ(manager->getProgram(2)->objectCount(), 2);
  EXPECT_EQ(manager->getProgram(3), nullptr);
  EXPECT_EQ(manager->getProgram(4), nullptr);
  EXPECT_NE(manager->getProgram(-1), nullptr);
  EXPECT_EQ(manager->programCount(), 3);

  // A second program under an id replaces the first, which is deleted.
  const GLuint first = manager->getProgram(2)->program();
  gsx::glShader* second = manager->loadProgram(2, vert.c_str(), frag.c_str());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(manager->getProgram(2), second);
  EXPECT_FALSE(glIsProgram(first));
  // A failed build leaves the stored program alone.
  EXPECT_EQ(manager->loadProgram(2, vert.c_str(), broken.c_str()), nullptr);
  EXPECT_EQ(manager->getProgram(2), second);

  const GLuint kept = second->program();
  delete manager;
  EXPECT_FALSE(glIsProgram(kept)) << "the manager deletes its programs";

  // No list, or a list of something else, builds nothing.
  gsx::glShaderManager empty;
  EXPECT_EQ(gsx::loadShaderList(empty, (dirs_.root() + "/none.xml").c_str()), -1);
  EXPECT_EQ(gsx::loadShaderList(empty, file("other.xml", "<Other><Shader id=\"1\"/></Other>").c_str()),
            -1);
  EXPECT_EQ(gsx::loadShaderList(empty, file("empty.xml", "<ShadersList/>").c_str()), 0);
  EXPECT_EQ(empty.programCount(), 0);
}

TEST_F(ShaderTest, LinkingAgainDetachesAndReattaches) {
  auto* vertex = new gsx::aVertexShader();
  auto* fragment = new gsx::aFragmentShader();
  ASSERT_EQ(vertex->load(file("c.vert", kVertex).c_str()), 0);
  ASSERT_EQ(fragment->load(file("c.frag", kFragment).c_str()), 0);
  gsx::glShader program;
  program.setOwnsObjects(true);
  testing::internal::CaptureStdout();
  program.addShader(vertex);  // not compiled yet: compiled on the way in
  program.addShader(fragment);
  ASSERT_TRUE(program.link());
  ASSERT_TRUE(program.link());
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("trying to compile now...\n...ok!\n"), std::string::npos) << out;
  EXPECT_NE(out.find("**warning** Object is already linked, trying to link again"),
            std::string::npos);
  EXPECT_EQ(out.find("GL Error #"), std::string::npos) << out;
  GLint attached = 0;
  glGetProgramiv(program.program(), GL_ATTACHED_SHADERS, &attached);
  EXPECT_EQ(attached, 2);
}

TEST_F(ShaderTest, GeometryProgramsNeedTheExtension) {
  const std::string vert = file("g.vert", kVertex);
  const std::string geom = file("g.geom",
                                "#version 120\n#extension GL_EXT_geometry_shader4 : enable\n"
                                "void main() { for (int i = 0; i < gl_VerticesIn; ++i) {"
                                " gl_Position = gl_PositionIn[i]; EmitVertex(); } }\n");
  const std::string frag = file("g.frag", kFragment);
  gsx::glShaderManager manager;
  testing::internal::CaptureStdout();
  gsx::glShader* program =
      manager.loadProgramWithGeometry(5, vert.c_str(), geom.c_str(), frag.c_str());
  const std::string out = testing::internal::GetCapturedStdout();
  if (gsx::hasGeometryShaders()) {
    EXPECT_NE(program, nullptr) << out;
  } else {
    // Without the extension the stage has no GL object; the build fails cleanly.
    EXPECT_EQ(program, nullptr);
    EXPECT_NE(out.find("***COMPILER ERROR (Geometry Shader):\n"), std::string::npos) << out;
    EXPECT_EQ(manager.getProgram(5), nullptr);
  }
  EXPECT_EQ(out.find("GL Error #"), std::string::npos) << out;
}

TEST_F(ShaderTest, TheGamesShaderListBuilds) {
  // The list names its files relative to the program's folder, where content/ is.
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(STARMOOR_SOURCE_DIR), 0);
  gsx::glShaderManager manager;
  testing::internal::CaptureStdout();
  const int built = gsx::loadShaderList(manager, "content/config/shaderslist.xml");
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(built, 1) << out;
  EXPECT_NE(manager.getProgram(0), nullptr);
}
