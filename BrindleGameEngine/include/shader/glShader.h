#pragma once
#include <GL/glew.h>

#include <memory>
#include <vector>

namespace gsx {

class glShaderObject;

// A GLSL program built from shader objects.
class glShader {
 public:
  glShader();
  virtual ~glShader();
  glShader(const glShader&) = delete;
  glShader& operator=(const glShader&) = delete;

  // Adds an object, compiling it first when needed; an object that does not
  // compile is left out.
  void addShader(glShaderObject* object);
  // Links (again, after detaching, when already linked); true when linked.
  bool link();
  // The linker's messages, or a bracketed explanation of why there are none.
  const char* getLinkerLog();

  // When set, the program deletes its objects with itself: those it has and
  // those added later. Cleared, it hands them all back to the caller.
  void setOwnsObjects(bool owns);
  // Geometry input and output primitive types and the output vertex count, handed
  // to GL at link time when enabled.
  void setGeometryParameters(int inputType, int outputType, int verticesOut);
  void useGeometryParameters(bool use) { useGeometryParameters_ = use; }

  GLuint program() const { return program_; }
  bool isLinked() const { return linked_; }
  int objectCount() const { return static_cast<int>(objects_.size()); }

 private:
  void applyGeometryParameters();

  GLuint program_ = 0;
  std::unique_ptr<char[]> linkerLog_;
  bool linked_ = false;
  // The objects in use, in the order they were added. Not owned here unless
  // ownsObjects_: then ownedObjects_ holds each of them.
  std::vector<glShaderObject*> objects_;
  std::vector<std::unique_ptr<glShaderObject>> ownedObjects_;
  bool ownsObjects_ = false;
  bool useGeometryParameters_ = false;
  int geometryInputType_ = 0;
  int geometryOutputType_ = 0;
  int geometryVerticesOut_ = 0;
};

}  // namespace gsx
