#pragma once

// A camera the application core may hold for the 3D mode: when present it sets
// the projection instead of the default perspective.
class AppCamera {
 public:
  virtual ~AppCamera() = default;
  // Loads the projection matrix for a viewport of width x height pixels.
  virtual void setProjection(int width, int height) = 0;
};
