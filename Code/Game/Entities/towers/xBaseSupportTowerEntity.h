#pragma once
#include <string>
#include <vector>

#include "Game/Entities/towers/xBaseTowerEntity.h"

// A tower that does not fight: its range sensor gathers the other towers around it,
// and the level drives its boost through two calls around each frame's widget
// update (applySupport before, resetFactors after).
class xBaseSupportTowerEntity : public xBaseTowerEntity {
 public:
  // The label of the panel line that tells the boost (none: no such line) and the
  // statistic a top-level upgrade counts in the classic mode (none: not counted).
  xBaseSupportTowerEntity(const char* boostLabel = nullptr, const char* upgradeStatistic = nullptr)
      : boostLabel_(boostLabel), upgradeStatistic_(upgradeStatistic) {}
  xBaseSupportTowerEntity* asSupportTower() override { return this; }

  void update(int dt, ScreenBase* screen) override;
  void collectTargets() override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  bool isSupportTower() const override { return true; }
  int upgrade() override;
  void infoText(Graphics* g, const Rect5& area) override;
  // The figure of the boost line, as this tower gives it now.
  virtual std::string infoValue() const { return std::string(); }

  // Saves this tower's own factors as last frame's and makes them neutral; each kind
  // adds its boost to the towers in range first.
  virtual void applySupport();
  // Range, damage and energy factors back to 1, repair to 0; interest stays.
  virtual void resetFactors();

  // The live towers in range after collectTargets, this one left out.
  std::vector<xBaseTowerEntity*> towersInRange() const;

 protected:
  // Upgrade level plus one: how many times the factor counts.
  float levelWeight() const { return static_cast<float>(upgradeLevel_ + 1); }
  void saveAndResetOwnFactors();

 private:
  const char* boostLabel_;        // not owned: a literal
  const char* upgradeStatistic_;  // not owned: a literal
};

// The name, colours and creation statistic of a freshly made support-like tower.
QuillonPHX2D::xEntity* nameNewTower(xBaseTowerEntity* tower, const char* nameLabel, const char* statistic,
                                    const Color& fill, const Color& name, const Color& range);
// The panel of a tower that does not fight: its name, the lines of what it gives
// (none, or one per line of the text), its energy and its info label, wrapped.
void drawPlainTowerInfo(Graphics* g, const Rect5& area, const std::string& name, const std::string& boostLine,
                        float energy, float energyMax, const std::string& infoKey);
// A label's text from the application's message table (the key without one).
std::string towerLabel(const char* key);
