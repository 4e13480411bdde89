#include "shader/glShaderManager.h"

#include <cstring>
#include <iostream>
#include <memory>
#include <utility>

#include "shader/GLSupport.h"
#include "shader/glShader.h"
#include "shader/glShaderObject.h"

namespace gsx {

namespace {

bool given(const char* file) { return file != nullptr && file[0] != '\0'; }

// Logs from GL end in a line break, our own bracketed notes do not.
void printLog(const char* log) {
  std::cout << log;
  const size_t n = std::strlen(log);
  if (n == 0 || log[n - 1] != '\n') std::cout << '\n';
}

// One stage of a program being built: its object, its file and the names the
// messages use.
struct Stage {
  std::unique_ptr<glShaderObject> object;
  const char* file;
  const char* loadError;
  const char* label;
};

// Loads, compiles, adds and links; the program owns its objects on success and
// everything is deleted on failure.
// verbose adds the SUCCESS lines of the two-stage build.
std::unique_ptr<glShader> build(std::unique_ptr<glShader> program, Stage* stages, int count,
                                bool verbose) {
  // The program detaches its objects as it goes, so it goes first.
  auto fail = [&program]() {
    program.reset();
    return std::unique_ptr<glShader>();
  };
  for (int i = 0; i < count; ++i) {
    if (given(stages[i].file) && stages[i].object->load(stages[i].file) != 0) {
      std::cout << stages[i].loadError;
      return fail();
    }
  }
  for (int i = 0; i < count; ++i) {
    if (!given(stages[i].file)) continue;
    glShaderObject* object = stages[i].object.get();
    if (!object->compile()) {
      std::cout << "***COMPILER ERROR (" << stages[i].label << "):\n"
                << object->getCompilerLog() << "\n";
      return fail();
    }
    if (verbose) std::cout << "***GLSL Compile (" << stages[i].label << "): SUCCESS!\n";
    std::cout << "***GLSL Compiler Log (" << stages[i].label << "):\n";
    printLog(object->getCompilerLog());
  }
  for (int i = 0; i < count; ++i) {
    if (given(stages[i].file)) program->addShader(stages[i].object.get());
  }
  if (!program->link()) {
    std::cout << "**LINKER ERROR\n" << program->getLinkerLog() << "\n";
    return fail();
  }
  if (verbose) std::cout << "***GLSL Linker: SUCCESS! \n";
  std::cout << "***GLSL Linker Log:\n" << program->getLinkerLog() << "\n";
  // Stages without a file never joined the program; the others are its own from here.
  for (int i = 0; i < count; ++i) {
    if (given(stages[i].file)) {
      stages[i].object.release();
    } else {
      stages[i].object.reset();
    }
  }
  program->setOwnsObjects(true);
  std::cout.flush();
  return program;
}

}  // namespace

glShaderManager::glShaderManager() { initGLExtensions(); }

glShaderManager::~glShaderManager() = default;

glShader* glShaderManager::store(int id, std::unique_ptr<glShader> program) {
  if (!program) return nullptr;
  // The program it replaces is deleted.
  std::unique_ptr<glShader>& slot = programs_[id];
  slot = std::move(program);
  return slot.get();
}

glShader* glShaderManager::getProgram(int id) const {
  const auto it = programs_.find(id);
  return it == programs_.end() ? nullptr : it->second.get();
}

glShader* glShaderManager::loadProgram(int id, const char* vertexFile, const char* fragmentFile) {
  auto program = std::make_unique<glShader>();
  Stage stages[] = {{std::make_unique<aVertexShader>(), vertexFile,
                     "error: can't load vertex shader!\n", "Vertex Shader"},
                    {std::make_unique<aFragmentShader>(), fragmentFile,
                     "error: can't load fragment shader!\n", "Fragment Shader"}};
  return store(id, build(std::move(program), stages, 2, true));
}

glShader* glShaderManager::loadProgramWithGeometry(int id, const char* vertexFile,
                                                   const char* geometryFile,
                                                   const char* fragmentFile) {
  auto program = std::make_unique<glShader>();
  program->useGeometryParameters(true);
  program->setGeometryParameters(geometryInputType_, geometryOutputType_, geometryVerticesOut_);
  Stage stages[] = {{std::make_unique<aVertexShader>(), vertexFile,
                     "error: can't load vertex shader!\n", "Vertex Shader"},
                    {std::make_unique<aGeometryShader>(), geometryFile,
                     "error: can't load geometry shader!\n", "Geometry Shader"},
                    {std::make_unique<aFragmentShader>(), fragmentFile,
                     "error: can't load fragment shader!\n", "Fragment Shader"}};
  return store(id, build(std::move(program), stages, 3, false));
}

}  // namespace gsx
