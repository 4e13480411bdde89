#pragma once
#include <GL/glew.h>

#include <memory>

namespace gsx {

// One GLSL shader stage: its source text, its GL shader object and the compiler's
// log. Subclasses pick the stage.
class glShaderObject {
 public:
  enum Kind { kVertex = 1, kFragment = 2, kGeometry = 3 };

  glShaderObject();
  virtual ~glShaderObject();
  glShaderObject(const glShaderObject&) = delete;
  glShaderObject& operator=(const glShaderObject&) = delete;

  // Replaces the source with the file's bytes: 0, or -1 when the file cannot be
  // read or is refused (not a regular file, larger than bge::kMaxContentFileBytes;
  // named on standard output), -2 when it is empty, -3 when no buffer can be had.
  int load(const char* fileName);
  // Compiles the source; true when the compiler accepted it.
  bool compile();
  // The compiler's messages, or a bracketed explanation of why there are none.
  const char* getCompilerLog();

  int kind() const { return kind_; }
  GLuint shaderObject() const { return shaderObject_; }
  bool isCompiled() const { return compiled_; }
  const char* source() const { return source_.get(); }

 protected:
  void create(int kind, GLenum glType, bool available);

 private:
  int kind_ = 0;
  GLuint shaderObject_ = 0;
  // The source is always the object's own copy of what load() read.
  std::unique_ptr<char[]> source_;
  std::unique_ptr<char[]> compilerLog_;
  bool compiled_ = false;
};

class aVertexShader : public glShaderObject {
 public:
  aVertexShader();
  ~aVertexShader() override = default;
};

class aFragmentShader : public glShaderObject {
 public:
  aFragmentShader();
  ~aFragmentShader() override = default;
};

// Gets a GL object only where geometry shaders are available.
class aGeometryShader : public glShaderObject {
 public:
  aGeometryShader();
  ~aGeometryShader() override = default;
};

}  // namespace gsx
