#include "shader/glShader.h"

#include <iostream>
#include <new>

#include "shader/GLSupport.h"
#include "shader/glShaderObject.h"

namespace gsx {

glShader::glShader() {
  initGLExtensions();
  if (isGLSLAvailable()) {
    program_ = glCreateProgram();
    GSX_CHECK_GL();
  } else {
    std::cout << "**ERROR: OpenGL Shading Language is NOT available!" << std::endl;
  }
}

glShader::~glShader() {
  if (!isGLSLAvailable()) return;
  for (size_t i = 0; i < objects_.size(); ++i) {
    glShaderObject* object = objects_[i];
    if (program_ != 0 && object->shaderObject() != 0) {
      glDetachShader(program_, object->shaderObject());
      GSX_CHECK_GL();
    }
    // An owned object goes (and its GL shader with it) before the program does.
    if (ownsObjects_) ownedObjects_[i].reset();
  }
  if (program_ != 0) {
    glDeleteProgram(program_);
    GSX_CHECK_GL();
  }
}

void glShader::addShader(glShaderObject* object) {
  if (!object || !isGLSLAvailable()) return;
  if (!object->isCompiled()) {
    std::cout << "**warning** please compile program before adding object! trying to compile now...\n";
    if (!object->compile()) {
      std::cout << "...compile ERROR!\n";
      return;
    }
    std::cout << "...ok!\n";
  }
  objects_.push_back(object);
  if (ownsObjects_) ownedObjects_.emplace_back(object);
}

void glShader::setOwnsObjects(bool owns) {
  if (owns == ownsObjects_) return;
  ownsObjects_ = owns;
  if (owns) {
    for (glShaderObject* object : objects_) ownedObjects_.emplace_back(object);
    return;
  }
  for (std::unique_ptr<glShaderObject>& object : ownedObjects_) object.release();
  ownedObjects_.clear();
}

void glShader::setGeometryParameters(int inputType, int outputType, int verticesOut) {
  geometryInputType_ = inputType;
  geometryOutputType_ = outputType;
  geometryVerticesOut_ = verticesOut;
}

void glShader::applyGeometryParameters() {
  // Mesa has no GL_EXT_geometry_shader4: the entry point is null there.
  if (!glProgramParameteriEXT) return;
  glProgramParameteriEXT(program_, GL_GEOMETRY_INPUT_TYPE_EXT, geometryInputType_);
  GSX_CHECK_GL();
  glProgramParameteriEXT(program_, GL_GEOMETRY_OUTPUT_TYPE_EXT, geometryOutputType_);
  GSX_CHECK_GL();
  glProgramParameteriEXT(program_, GL_GEOMETRY_VERTICES_OUT_EXT, geometryVerticesOut_);
  GSX_CHECK_GL();
}

bool glShader::link() {
  if (!isGLSLAvailable() || program_ == 0) return false;
  if (useGeometryParameters_) applyGeometryParameters();
  if (linked_) {
    std::cout << "**warning** Object is already linked, trying to link again" << std::endl;
    for (glShaderObject* object : objects_) {
      glDetachShader(program_, object->shaderObject());
      GSX_CHECK_GL();
    }
    linked_ = false;
  }
  for (glShaderObject* object : objects_) {
    glAttachShader(program_, object->shaderObject());
    GSX_CHECK_GL();
  }
  glLinkProgram(program_);
  GSX_CHECK_GL();
  GLint status = 0;
  glGetProgramiv(program_, GL_LINK_STATUS, &status);
  GSX_CHECK_GL();
  if (status != 0) {
    linked_ = true;
    return true;
  }
  std::cout << "**linker error**\n";
  return false;
}

const char* glShader::getLinkerLog() {
  if (!isGLSLAvailable()) return "[e00] GLSL is not available!";
  if (program_ == 0) return "[e02] Not a valid object!";
  GLint length = 0;
  glGetProgramiv(program_, GL_INFO_LOG_LENGTH, &length);
  GSX_CHECK_GL();
  if (length > 1) {
    linkerLog_.reset(new (std::nothrow) char[static_cast<size_t>(length)]);
    if (!linkerLog_) {
      std::cout << "ERROR: Could not allocate compiler_log buffer\n";
      return "[e03] Out of memory!";
    }
    GLsizei written = 0;
    glGetProgramInfoLog(program_, length, &written, linkerLog_.get());
    GSX_CHECK_GL();
    linkerLog_[written < length ? written : length - 1] = '\0';
  }
  return linkerLog_ ? linkerLog_.get() : "[e05] Linker log is not available!";
}

}  // namespace gsx
