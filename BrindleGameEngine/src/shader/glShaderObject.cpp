#include "shader/glShaderObject.h"

#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <utility>

#include "RegularFile.h"
#include "shader/GLSupport.h"

namespace gsx {

glShaderObject::glShaderObject() { initGLExtensions(); }

glShaderObject::~glShaderObject() {
  // A created object is deleted whether or not it ever compiled; GL would keep it.
  if (shaderObject_ != 0 && isGLSLAvailable()) {
    glDeleteShader(shaderObject_);
    GSX_CHECK_GL();
  }
}

void glShaderObject::create(int kind, GLenum glType, bool available) {
  kind_ = kind;
  if (!isGLSLAvailable() || !available) return;
  shaderObject_ = glCreateShader(glType);
  GSX_CHECK_GL();
}

int glShaderObject::load(const char* fileName) {
  if (fileName == nullptr) return -1;
  std::string text;
  // Room for the terminating zero GL is handed.
  const bge::FileReadResult read = bge::readRegularFile(fileName, bge::kMaxContentFileBytes, text, 1);
  if (read != bge::FileReadResult::Read) {
    std::cout << "ERROR: shader file " << fileName << " "
              << bge::describeFileRead(read, bge::kMaxContentFileBytes) << "\n";
    return -1;
  }
  if (text.empty()) return -2;
  std::unique_ptr<char[]> source(new (std::nothrow) char[text.size() + 1]);
  if (!source) return -3;
  std::memcpy(source.get(), text.c_str(), text.size() + 1);
  source_ = std::move(source);
  return 0;
}

bool glShaderObject::compile() {
  compiled_ = false;
  if (!source_ || shaderObject_ == 0 || !isGLSLAvailable()) return false;
  const GLchar* text = source_.get();
  glShaderSource(shaderObject_, 1, &text, nullptr);
  GSX_CHECK_GL();
  glCompileShader(shaderObject_);
  GSX_CHECK_GL();
  GLint status = 0;
  glGetShaderiv(shaderObject_, GL_COMPILE_STATUS, &status);
  GSX_CHECK_GL();
  compiled_ = status != 0;
  return compiled_;
}

const char* glShaderObject::getCompilerLog() {
  if (!isGLSLAvailable()) return "[e00] GLSL is not available!";
  if (shaderObject_ == 0) return "[e01] Not a valid program object!";
  GLint length = 0;
  glGetShaderiv(shaderObject_, GL_INFO_LOG_LENGTH, &length);
  GSX_CHECK_GL();
  if (length > 1) {
    compilerLog_.reset(new (std::nothrow) char[static_cast<size_t>(length)]);
    if (!compilerLog_) {
      std::cout << "ERROR: Could not allocate compiler_log buffer\n";
      return "[e03] Out of memory!";
    }
    GLsizei written = 0;
    glGetShaderInfoLog(shaderObject_, length, &written, compilerLog_.get());
    GSX_CHECK_GL();
    compilerLog_[written < length ? written : length - 1] = '\0';
  }
  return compilerLog_ ? compilerLog_.get() : "[e06] Compiler log is not available!";
}

aVertexShader::aVertexShader() { create(kVertex, GL_VERTEX_SHADER, true); }

aFragmentShader::aFragmentShader() { create(kFragment, GL_FRAGMENT_SHADER, true); }

aGeometryShader::aGeometryShader() {
  create(kGeometry, GL_GEOMETRY_SHADER_EXT, hasGeometryShaders());
}

}  // namespace gsx
