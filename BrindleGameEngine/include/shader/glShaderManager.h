#pragma once
#include <map>
#include <memory>

namespace gsx {

class glShader;

// The GLSL programs built from shader files, kept by integer id. The manager owns
// them: a program replaced under its id, and every program left at the end, is
// deleted.
class glShaderManager {
 public:
  glShaderManager();
  virtual ~glShaderManager();
  glShaderManager(const glShaderManager&) = delete;
  glShaderManager& operator=(const glShaderManager&) = delete;

  // Builds a program from a vertex and a fragment file (null or "" for none);
  // null when a file does not load, a stage does not compile or the program does
  // not link.
  glShader* loadProgram(int id, const char* vertexFile, const char* fragmentFile);
  // The same with a geometry stage between them and the manager's geometry
  // defaults (triangles in, triangle strip out, 3 vertices).
  glShader* loadProgramWithGeometry(int id, const char* vertexFile, const char* geometryFile,
                                    const char* fragmentFile);

  // The program stored under id, or null.
  glShader* getProgram(int id) const;
  int programCount() const { return static_cast<int>(programs_.size()); }

 private:
  glShader* store(int id, std::unique_ptr<glShader> program);

  std::map<int, std::unique_ptr<glShader>> programs_;
  int geometryInputType_ = 4;    // GL_TRIANGLES
  int geometryOutputType_ = 5;   // GL_TRIANGLE_STRIP
  int geometryVerticesOut_ = 3;
};

// Reads a shader list ("ShadersList" with "Shader" elements carrying id, vtx,
// fragment and geometry) and builds every program in it. Returns the number of
// programs built, or -1 when the file cannot be read or is no shader list.
int loadShaderList(glShaderManager& manager, const char* path);

}  // namespace gsx
