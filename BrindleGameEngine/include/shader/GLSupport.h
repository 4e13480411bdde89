#pragma once
// GL extension start-up and the capability flags the shader classes consult.
// Messages go to standard output.

namespace gsx {

// Starts GLEW once; later calls answer true at once. On success prints the GL
// vendor, renderer and version, then the GLSL report. A failure leaves GLEW
// unstarted so the next call tries again.
bool initGLExtensions();

// Whether the OpenGL Shading Language is usable (GL 2.0 shader extensions); prints
// what it finds until it has once answered true.
bool isGLSLAvailable();

// GL_EXT_geometry_shader4 and GL_EXT_gpu_shader4, as recorded by the GLSL report.
bool hasGeometryShaders();
bool hasGpuShader4();

// Prints every pending GL error with the place it was noticed; true when any was.
bool printGLError(const char* file, int line);

}  // namespace gsx

#define GSX_CHECK_GL() ::gsx::printGLError(__FILE__, __LINE__)
