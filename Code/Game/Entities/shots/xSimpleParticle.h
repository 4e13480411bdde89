#pragma once
#include <memory>

#include "Game/Entities/xPhysicsPrimitiveEntity.h"
#include "tinyaction/ActionListener.h"

class TinyAction;

// A particle kind: the primitive entity's file plus how the particle changes size.
class xSimpleParticleEntityDesc : public xPhysicsPrimitiveEntityDesc {
 public:
  enum { kPlain = 0, kScaling = 1 };

  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;

  int type = kPlain;
  float startScale = 1.0f;
  float endScale = 1.0f;
};

// A short-lived sparkle thrown out at hits and explosions: it slows down, bounces
// back from the edges of the design area, fades over its life and then removes
// itself. A scaling particle also grows or shrinks over its first 256 ms.
class xSimpleParticle : public xPhysicsPrimitiveEntity, public bge::ActionListener {
 public:
  // Fraction of its velocity a particle keeps from one frame to the next.
  static constexpr float kDrag = 0.961f;
  static constexpr int kScaleMs = 256;
  static constexpr int kDefaultLifeMs = 200;

  xSimpleParticle();
  ~xSimpleParticle() override;

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* g, ScreenBase* screen) override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void actionFinished(int id) override;

  void setColor(const Color& color) { imageColor_ = color; }
  const Color& color() const { return imageColor_; }
  int type() const { return type_; }
  int alpha() const { return alpha_; }
  float scale() const { return scale_; }
  // How long this particle fades, in ms: its life at the game speed it was made at.
  int fadeMs() const { return fadeMs_; }

  // The particle life the game parameters set ("Gameplay.particleLife"), in ms.
  static int lifeSetting();

  // Particles alive in the process now.
  static int live() { return live_; }

 private:
  int type_ = xSimpleParticleEntityDesc::kPlain;
  int alpha_ = 255;
  float scale_ = 1.0f;
  int fadeMs_ = 0;
  std::unique_ptr<TinyAction> fade_;
  std::unique_ptr<TinyAction> scaling_;  // scaling particles only
  static int live_;
};
