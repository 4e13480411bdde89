#pragma once
#include "Color.h"
#include "Foundation/Templates/xArray.h"
#include "Rect5.h"

class xRenderable;

// Draws the optional 3D mode: a list of renderables, each placed by a position,
// a rotation quaternion and a scale, with optional debug axes and grids.
class xRenderingContext {
 public:
  xRenderingContext() = default;
  // Empties the list; the objects belong to their owner.
  virtual ~xRenderingContext();
  xRenderingContext(const xRenderingContext&) = delete;
  xRenderingContext& operator=(const xRenderingContext&) = delete;

  // Takes the clear colour (made opaque) for the 3D frames; lighting, smooth
  // shading, texturing and depth test. Runs again on every new GL context.
  virtual void init();
  // One 3D frame: clears, draws the debug aids and every visible object.
  void render();

  // Not owned. An object shows in one context at a time: adding it here takes it
  // out of the one it was in. Adding it twice changes nothing.
  void addObject(xRenderable* object);
  void removeObject(xRenderable* object);
  int getObjectListSize() const { return objects_.size(); }

  // Counts of the last drawn frame.
  int getObjectCount() const { return objectCount_; }
  int getPrimitiveCount() const { return primitiveCount_; }

  const Color& getClearColor() const { return clearColor_; }
  void setClearColor(const Color& color) { clearColor_ = color; }
  bool isDebugDrawing() const { return debugDrawing_; }
  void setDebugDrawing(bool on) { debugDrawing_ = on; }
  bool isScissorEnabled() const { return scissor_; }
  void setScissorEnabled(bool on) { scissor_ = on; }
  const Rect5& getViewport() const { return viewport_; }
  // x, y, width and height in design coordinates; used with the scissor flag.
  void setViewport(const Rect5& viewport) { viewport_ = viewport; }

  // The viewport as a window scissor box, converted like the 2D renderer's scissor.
  static void scissorBox(const Rect5& viewport, float sx, float sy, int out[4]);
  // The glRotate angle in degrees for a pose's quaternion; w outside [-1, 1]
  // (rounding) is clamped first. Returns false when no rotation is needed.
  static bool rotationOf(const float quaternion[4], float& angleDegrees);

 private:
  void drawObjects();
  void drawDebugAids();

  QuillonPHX2D::xArray<xRenderable*> objects_;
  int objectCount_ = 0;
  int primitiveCount_ = 0;
  Color clearColor_ = Color(255, 0, 0, 32);
  // What init took from clearColor_: until then the default, opaque.
  float frameClear_[4] = {1.0f, 0.0f, 0.0f, 1.0f};
  bool debugDrawing_ = false;
  bool scissor_ = false;
  Rect5 viewport_;
};
