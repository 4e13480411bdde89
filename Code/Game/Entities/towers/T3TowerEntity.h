#pragma once
#include <memory>

#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "tinyaction/ActionListener.h"

// The pulse beam: burns every frame while charged, then rests as long again; favours
// spacedogs. T7 and T9 are the same weapon tuned for other ships.
class xT3TowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
};

class xT3TowerEntity : public xBaseTowerEntity, public bge::ActionListener {
 public:
  xT3TowerEntity();
  ~xT3TowerEntity() override;

  void update(int dt, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void attack(const std::vector<xSharkEntity*>& targets) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void actionFinished(int tag) override;

  // One half of the pulse, charging or resting, of halfMs; the caller owns it.
  static TinyAction* makePulse(int halfMs, float* charge);

  int halfMs() const { return halfMs_; }
  float charge() const { return charge_; }

 protected:
  // What the kinds of the family change: their hit and their kill-line width.
  virtual const ShotRule& rule() const;
  virtual float killLineWidth() const { return 2.6f; }

 private:
  std::unique_ptr<TinyAction> pulseAction_;
  bool ready_ = true;
  std::vector<xSharkEntity*> shotList_;  // not owned; looked up again before drawing
  bool pulseStarted_ = false;
  float charge_ = 0.0f;
  int halfMs_ = 1;
};
