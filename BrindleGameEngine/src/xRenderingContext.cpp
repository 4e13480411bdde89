#include "xRenderingContext.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

#include "AssertReport.h"
#include "DesignSize.h"
#include "GLGraphics.h"
#include "GameApp.h"
#include "xRenderable.h"

namespace {

constexpr float kRadiansToDegrees = 57.29577951308232f;
constexpr float kAxisLength = 100.0f;
constexpr int kGridCells = 10;
constexpr float kGridCellSize = 100.0f;

void glColor(const Color& c) { glColor4ub(c.r, c.g, c.b, c.a); }

void drawAxes() {
  glLineWidth(6.0f);
  glBegin(GL_LINES);
  glColor(Color(0, 255, 255, 255));
  glVertex3f(0.0f, 0.0f, 0.0f);
  glVertex3f(kAxisLength, 0.0f, 0.0f);
  glColor(Color(255, 0, 255, 255));
  glVertex3f(0.0f, 0.0f, 0.0f);
  glVertex3f(0.0f, kAxisLength, 0.0f);
  glColor(Color(255, 255, 0, 255));
  glVertex3f(0.0f, 0.0f, 0.0f);
  glVertex3f(0.0f, 0.0f, kAxisLength);
  glEnd();
}

// One grid of square cells in the plane spanned by axes a and b (0 x, 1 y, 2 z).
void drawGrid(int a, int b) {
  glBegin(GL_QUADS);
  for (int i = 0; i < kGridCells; ++i) {
    for (int j = 0; j < kGridCells; ++j) {
      const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
      for (const auto& corner : corners) {
        float v[3] = {0.0f, 0.0f, 0.0f};
        v[a] = (static_cast<float>(i) + corner[0]) * kGridCellSize;
        v[b] = (static_cast<float>(j) + corner[1]) * kGridCellSize;
        glVertex3f(v[0], v[1], v[2]);
      }
    }
  }
  glEnd();
}

void drawGrids() {
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glColor(Color(15, 215, 17, 255));
  drawGrid(0, 2);  // x-z
  drawGrid(0, 1);  // x-y
  drawGrid(1, 2);  // y-z
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

}  // namespace

xRenderable::~xRenderable() {
  if (context_) context_->removeObject(this);
}

xRenderingContext::~xRenderingContext() {
  for (int i = 0; i < objects_.size(); ++i) {
    if (objects_[i]) objects_[i]->context_ = nullptr;
  }
  objects_.clear();
}

void xRenderingContext::init() {
  // The colour is taken now and used by the 3D frames only: left in GL's clear
  // state it would also become the background of the 2D screens.
  const float k = 1.0f / 255.0f;
  frameClear_[0] = clearColor_.r * k;
  frameClear_[1] = clearColor_.g * k;
  frameClear_[2] = clearColor_.b * k;
  frameClear_[3] = 1.0f;
  glEnable(GL_LIGHTING);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
}

void xRenderingContext::addObject(xRenderable* object) {
  if (!BGE_REPORT_MSG(object != nullptr, "ERROR: xRenderingContext::addObject with no object")) return;
  if (object->context_ == this) return;
  if (object->context_) object->context_->removeObject(object);
  objects_.append(object);
  object->context_ = this;
}

void xRenderingContext::removeObject(xRenderable* object) {
  if (!object || object->context_ != this) return;
  objects_.remove(object);
  object->context_ = nullptr;
}

void xRenderingContext::scissorBox(const Rect5& viewport, float sx, float sy, int out[4]) {
  const float designHeight = static_cast<float>(bge::kDesignHeight);
  out[0] = static_cast<int>(viewport.x * sx);
  out[1] = static_cast<int>((designHeight - (viewport.y + viewport.height)) * sy);
  out[2] = static_cast<int>(viewport.width * sx);
  out[3] = static_cast<int>(viewport.height * sy);
}

bool xRenderingContext::rotationOf(const float quaternion[4], float& angleDegrees) {
  // A normalised quaternion's w can round to just beyond 1; acos would give NaN.
  const float w = std::clamp(quaternion[3], -1.0f, 1.0f);
  angleDegrees = 2.0f * std::acos(w) * kRadiansToDegrees;
  const bool hasAxis = quaternion[0] != 0.0f || quaternion[1] != 0.0f || quaternion[2] != 0.0f;
  // No axis means no rotation (w is +-1); glRotate would normalise a zero vector.
  return angleDegrees != 0.0f && hasAxis && std::isfinite(angleDegrees);
}

void xRenderingContext::render() {
  if (scissor_) {
    float sx = 1.0f;
    float sy = 1.0f;
    if (const GameApp* app = GameApp::instance()) {
      sx = app->getScaleFactorX();
      sy = app->getScaleFactorY();
    }
    int box[4];
    scissorBox(viewport_, sx, sy, box);
    glEnable(GL_SCISSOR_TEST);
    glScissor(box[0], box[1], box[2], box[3]);
  }
  glPushAttrib(GL_COLOR_BUFFER_BIT);
  glClearColor(frameClear_[0], frameClear_[1], frameClear_[2], frameClear_[3]);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPopAttrib();
  if (debugDrawing_) drawDebugAids();
  drawObjects();
  if (scissor_) glDisable(GL_SCISSOR_TEST);
  objectCount_ = objects_.size();
}

void xRenderingContext::drawDebugAids() {
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_LINE_SMOOTH);
  drawAxes();
  glLineWidth(0.01f);
  drawGrids();
  glEnable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glEnable(GL_CULL_FACE);
  glEnable(GL_TEXTURE_2D);
}

void xRenderingContext::drawObjects() {
  primitiveCount_ = 0;
  // By index: an object may leave the list while it draws.
  for (int i = 0; i < objects_.size(); ++i) {
    xRenderable* object = objects_[i];
    if (!object || !object->isVisible()) continue;
    xRenderPose pose;
    object->getPose(pose);
    glPushMatrix();
    glTranslatef(pose.x, pose.y, pose.z);
    const float quaternion[4] = {pose.qx, pose.qy, pose.qz, pose.qw};
    float angle = 0.0f;
    // The axis goes to glRotate as it is; OpenGL normalises it.
    if (rotationOf(quaternion, angle)) glRotatef(angle, pose.qx, pose.qy, pose.qz);
    glScalef(object->getScaleX(), object->getScaleY(), object->getScaleZ());
    object->drawLocal();
    primitiveCount_ += object->getPrimitiveCount();
    glPopMatrix();
  }
}
