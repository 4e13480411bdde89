#include "shader/glShaderManager.h"

#include <cstring>
#include <iostream>

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
  glShaderObject* object;
  const char* file;
  const char* loadError;
  const char* label;
};

void deleteAll(glShader* program, Stage* stages, int count) {
  delete program;
  for (int i = 0; i < count; ++i) delete stages[i].object;
}

// Loads, compiles, adds and links; the program owns its objects on success and
// everything is deleted on failure. verbose adds the SUCCESS lines of the two-stage
// build.
glShader* build(glShader* program, Stage* stages, int count, bool verbose) {
  for (int i = 0; i < count; ++i) {
    if (given(stages[i].file) && stages[i].object->load(stages[i].file) != 0) {
      std::cout << stages[i].loadError;
      deleteAll(program, stages, count);
      return nullptr;
    }
  }
  for (int i = 0; i < count; ++i) {
    if (!given(stages[i].file)) continue;
    glShaderObject* object = stages[i].object;
    if (!object->compile()) {
      std::cout << "***COMPILER ERROR (" << stages[i].label << "):\n"
                << object->getCompilerLog() << "\n";
      deleteAll(program, stages, count);
      return nullptr;
    }
    if (verbose) std::cout << "***GLSL Compile (" << stages[i].label << "): SUCCESS!\n";
    std::cout << "***GLSL Compiler Log (" << stages[i].label << "):\n";
    printLog(object->getCompilerLog());
  }
  for (int i = 0; i < count; ++i) {
    if (given(stages[i].file)) program->addShader(stages[i].object);
  }
  if (!program->link()) {
    std::cout << "**LINKER ERROR\n" << program->getLinkerLog() << "\n";
    deleteAll(program, stages, count);
    return nullptr;
  }
  if (verbose) std::cout << "***GLSL Linker: SUCCESS! \n";
  std::cout << "***GLSL Linker Log:\n" << program->getLinkerLog() << "\n";
  // Stages without a file never joined the program.
  for (int i = 0; i < count; ++i) {
    if (!given(stages[i].file)) delete stages[i].object;
  }
  program->setOwnsObjects(true);
  std::cout.flush();
  return program;
}

}  // namespace

glShaderManager::glShaderManager() { initGLExtensions(); }

glShaderManager::~glShaderManager() {
  for (auto& entry : programs_) delete entry.second;
  programs_.clear();
}

void glShaderManager::store(int id, glShader* program) {
  glShader*& slot = programs_[id];
  if (slot != program) delete slot;
  slot = program;
}

glShader* glShaderManager::getProgram(int id) const {
  const auto it = programs_.find(id);
  return it == programs_.end() ? nullptr : it->second;
}

glShader* glShaderManager::loadProgram(int id, const char* vertexFile, const char* fragmentFile) {
  glShader* program = new glShader();
  Stage stages[] = {
      {new aVertexShader(), vertexFile, "error: can't load vertex shader!\n", "Vertex Shader"},
      {new aFragmentShader(), fragmentFile, "error: can't load fragment shader!\n",
       "Fragment Shader"}};
  program = build(program, stages, 2, true);
  if (program) store(id, program);
  return program;
}

glShader* glShaderManager::loadProgramWithGeometry(int id, const char* vertexFile,
                                                   const char* geometryFile,
                                                   const char* fragmentFile) {
  glShader* program = new glShader();
  program->useGeometryParameters(true);
  program->setGeometryParameters(geometryInputType_, geometryOutputType_, geometryVerticesOut_);
  Stage stages[] = {
      {new aVertexShader(), vertexFile, "error: can't load vertex shader!\n", "Vertex Shader"},
      {new aGeometryShader(), geometryFile, "error: can't load geometry shader!\n",
       "Geometry Shader"},
      {new aFragmentShader(), fragmentFile, "error: can't load fragment shader!\n",
       "Fragment Shader"}};
  program = build(program, stages, 3, false);
  if (program) store(id, program);
  return program;
}

}  // namespace gsx
