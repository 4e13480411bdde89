#include "shader/GLSupport.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <iostream>

namespace gsx {

namespace {
bool g_glewReady = false;
bool g_glslReady = false;
bool g_geometryShaders = false;
bool g_gpuShader4 = false;

const char* glText(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text ? reinterpret_cast<const char*>(text) : "";
}

const char* versionLine() {
  if (GLEW_VERSION_2_0) return "OpenGL 2.0 (or higher) is available!";
  if (GLEW_VERSION_1_5) return "OpenGL 1.5 core functions are available";
  if (GLEW_VERSION_1_4) return "OpenGL 1.4 core functions are available";
  if (GLEW_VERSION_1_3) return "OpenGL 1.3 core functions are available";
  if (GLEW_VERSION_1_2) return "OpenGL 1.2 core functions are available";
  return nullptr;
}
}  // namespace

bool initGLExtensions() {
  if (g_glewReady) return true;
  const GLenum result = glewInit();
  // An EGL-only display answers "no GLX display" with every entry point loaded.
  if (result != GLEW_OK && result != GLEW_ERROR_NO_GLX_DISPLAY) {
    std::cout << "Error:" << glewGetErrorString(result) << std::endl;
    return false;
  }
  g_glewReady = true;
  std::cout << "OpenGL Vendor: " << glText(GL_VENDOR) << "\n";
  std::cout << "OpenGL Renderer: " << glText(GL_RENDERER) << "\n";
  std::cout << "OpenGL Version: " << glText(GL_VERSION) << "\n\n";
  isGLSLAvailable();
  return true;
}

bool isGLSLAvailable() {
  if (g_glslReady) return true;
  // Starting GLEW runs this report on its way; nothing more to say then.
  if (!g_glewReady) return initGLExtensions() && g_glslReady;
  g_geometryShaders = GLEW_EXT_geometry_shader4 != 0;
  g_gpuShader4 = GLEW_EXT_gpu_shader4 != 0;
  bool usable = true;
  if (const char* line = versionLine()) std::cout << line << "\n";
  const struct {
    const char* name;
    bool present;
  } required[] = {{"GL_ARB_fragment_shader", GLEW_ARB_fragment_shader != 0},
                  {"GL_ARB_vertex_shader", GLEW_ARB_vertex_shader != 0},
                  {"GL_ARB_shader_objects", GLEW_ARB_shader_objects != 0}};
  for (const auto& ext : required) {
    if (ext.present) continue;
    std::cout << "[WARNING] " << ext.name << " extension is not available!\n";
    usable = false;
  }
  // The shader classes call the GL 2.0 entry points, so those must be there too.
  if (!GLEW_VERSION_2_0) usable = false;
  std::cout << (usable ? "[OK] OpenGL Shading Language is available!\n\n"
                       : "[FAILED] OpenGL Shading Language is not available...\n\n");
  std::cout.flush();
  g_glslReady = usable;
  return usable;
}

bool hasGeometryShaders() { return g_geometryShaders; }
bool hasGpuShader4() { return g_gpuShader4; }

bool printGLError(const char* file, int line) {
  bool any = false;
  // Bounded: without a context glGetError may keep answering an error.
  for (int i = 0; i < 32; ++i) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    any = true;
    const GLubyte* text = gluErrorString(error);
    std::cout << "GL Error #" << error << "(";
    if (text) std::cout << reinterpret_cast<const char*>(text) << ") ";
    else std::cout << " (no message available)";
    std::cout << " in File " << file << " at line: " << line << std::endl;
  }
  return any;
}

}  // namespace gsx
