#pragma once
// Engine-neutral description of the benchmark scenes. Everything is in pixels and seconds,
// y pointing down; each backend converts to its own units.
#include <string>
#include <vector>

namespace bench {

// Our engine runs each scene twice: with its configurator's defaults and with the level settings.
enum class Settings { Default, Game };

enum class BodyKind { Circle, Box };
enum class Role { Solid, Mover, Bullet };

struct BodyDef {
  BodyKind kind = BodyKind::Circle;
  Role role = Role::Solid;
  float x = 0, y = 0;       // centre, px
  float radius = 0;         // circles
  float w = 0, h = 0;       // boxes, full extents
  float vx = 0, vy = 0;     // initial velocity, px/s
  float angVel = 0;         // rad/s
  // Movers follow a circle path: centre, radius, angular speed.
  float pathX = 0, pathY = 0, pathR = 0, pathW = 0, pathPhase = 0;
};

struct SegmentDef { float x1, y1, x2, y2; };
struct SensorDef { float x, y, radius; };

struct Scene {
  std::string name;
  float gravityY = 0;       // px/s^2, downwards
  int steps = 600;
  float fieldW = 1366, fieldH = 768;  // bullets wrap around this field
  std::vector<BodyDef> bodies;
  std::vector<SegmentDef> segments;  // static solid geometry
  std::vector<SensorDef> sensors;    // static, notify only
};

// Scene ids 0..3: pyramid, rain, game-like, free flight.
constexpr int kSceneCount = 4;
Scene makeScene(int id);

// The velocity a mover should have at time t (seconds), px/s.
void moverVelocity(BodyDef const &b, float t, float &vx, float &vy);

constexpr float kPixelsPerMetre = 32.0f;
constexpr float kFrameSeconds = 1.0f / 60.0f;
// The game hands the world 1.33 per frame: one engine time unit is 1/(60*1.33) s.
constexpr float kGameStep = 1.33f;
constexpr float kSecondsPerUnit = kFrameSeconds / kGameStep;

}  // namespace bench
