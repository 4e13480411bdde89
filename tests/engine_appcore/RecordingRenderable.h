#pragma once
// A renderable that remembers the model-view matrix and GL state it was drawn with.
#include <GL/gl.h>

#include <array>

#include "xRenderable.h"

class RecordingRenderable : public xRenderable {
 public:
  explicit RecordingRenderable(const xRenderPose& pose = xRenderPose()) : pose_(pose) {}

  void getPose(xRenderPose& pose) const override { pose = pose_; }
  void drawLocal() override {
    ++draws;
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    glGetIntegerv(GL_SCISSOR_BOX, scissorBox.data());
    scissorOn = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
    lightingOn = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    polygonMode = modes[0];
  }

  void setPose(const xRenderPose& pose) { pose_ = pose; }

  int draws = 0;
  std::array<float, 16> modelView{};
  std::array<GLint, 4> scissorBox{};
  bool scissorOn = false;
  bool lightingOn = false;
  GLint polygonMode = 0;

 private:
  xRenderPose pose_;
};
