#pragma once
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "AssertReport.h"
#include "Color.h"
#include "PointerTable.h"
#include "Foundation/Templates/xArray.h"
#include "Game/Entities/xPhysicsPrimitiveEntity.h"
#include "Rect5.h"

class TinyAction;
class TinyActionSequence;
class xBaseBrain;
class xSimpleEnemy;

// A tower's entity file: the entity description plus what every tower has.
class xBaseTowerDesc : public xPhysicsPrimitiveEntityDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  // Always true: a failure of the base attributes has been reported already.
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;
  // The build button's text: kind, price and description.
  virtual std::string priceText() const;

  float range = 45.0f;
  int damage = 25;
  int targetCapacity = 1;
  int energy = 100;
  int reloadDelay = 0;  // ms
  std::string info;
  std::string actionStrategy = "CONTINUOUS";
  std::string lockingStrategy = "OFF";
  std::string targetSelectionStrategy = "CLOSEST";
  std::string quantificationStrategy = "ALL";
  std::string towerType = "BT";
  std::string textureButton;
  std::string sfxLabel;
  double price = 100.0;
};

// One attack tower kind's instant hit: the class it hurts more and by how much, and
// its sound.
struct ShotRule {
  const char* favouredClass;  // null: no class is favoured
  float favouredFactor;
  const char* sound;
  int channel;
};

// What every tower has: it stands on one grid cell, has energy that enemy shots
// take, a damage and a range that upgrades raise, a range sensor that reports the
// enemies around it, a brain that picks the targets, the boosts support towers
// give it for one frame, a selection state, a price and an info panel.
class xBaseTowerEntity : public xPhysicsPrimitiveEntity {
 public:
  // Highest upgrade level.
  static constexpr int kMaxUpgradeLevel = 3;

  xBaseTowerEntity();
  ~xBaseTowerEntity() override;
  xBaseTowerEntity* asTower() override { return this; }

  // --- widget ---
  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* g, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  void mousePressed(const PointingDeviceEvent& event) override;

  // --- physics ---
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;

  // --- tower ---
  // Writes the tower's figures and description into the info panel's text area.
  virtual void infoText(Graphics* g, const Rect5& area);
  // The panel's energy line: "Energy: 800 / 1,000".
  static std::string energyLine(float energy, float energyMax);
  virtual void takeDamage(int amount);
  virtual void destroy();
  virtual void collectTargets();
  virtual void applyEnergyFactor(float repairAmount);
  virtual void sell(double refund);
  virtual int upgrade();
  virtual void copyTargets(xSharkEntity* contact);
  virtual void attack(const std::vector<xSharkEntity*>& targets);
  virtual void createBrain();
  virtual bool isSupportTower() const { return false; }

  // An attack tower's name, colours and top-upgrade statistic, set when it is made.
  void finishAttackTower(const char* nameLabel, const char* upgradeStat);

  void toggleSelected();
  // Starts the flash of the restore sweep; the tower does nothing else afterwards.
  void startFlash();
  // Index of the grid cell under the tower's widget position.
  int cellIndex() const;
  // Gives the range sensor's circle a new radius (the level does it every frame).
  void setSensorRadius(float radius);

  xBaseBrain* getBrain() const { return brain_.get(); }
  int getUpgradeLevel() const { return upgradeLevel_; }
  float getDamage() const { return damage_; }
  float getRange() const { return range_; }
  float getEffectiveRange() const { return effectiveRange_; }
  float getEffectiveDamage() const { return effectiveDamage_; }
  float getEnergy() const { return energy_; }
  float getEffectiveInterest() const { return effectiveInterest_; }
  double getPrice() const { return price_; }
  float getSellFactor() const { return sellFactor_; }
  // The info key, which also names the tower's kind.
  const std::string& getInfoKey() const { return info_; }
  // Energy before support boosts; a checkpoint records it and puts it back.
  float getBaseEnergy() const { return energyUnscaled_; }
  void setBaseEnergy(float energy) {
    energyUnscaled_ = energy;
    energy_ = energy * energyFactor_;
  }
  int getReloadDelay() const { return reloadDelay_; }
  int getBaseReloadDelay() const { return baseReloadDelay_; }
  void setReloadDelay(int ms) { reloadDelay_ = ms; }
  int getTargetCapacity() const { return targetCapacity_; }
  int getTargetSelection() const { return targetSelection_; }
  void setTargetSelection(int strategy);
  bool isSelected() const { return selected_; }
  void setSelected(bool selected) { selected_ = selected; }
  const std::string& getName() const { return name_; }
  void nameFromLabel(const std::string& name) { name_ = name; }
  void setColours(const Color& fill, const Color& name, const Color& range) {
    fillColour_ = fill;
    nameColour_ = name;
    rangeColour_ = range;
  }

  // Boosts from support towers, valid for the frame they are given in: several
  // support towers in reach add up.
  void boostRange(float extra) { rangeFactor_ += extra; }
  void boostDamage(float extra) { damageFactor_ += extra; }
  void boostEnergy(float extra) { energyFactor_ += extra; }
  void boostInterest(int percent) { interestBonus_ += percent; }
  void addRepair(float amount) { repair_ += amount; }
  // The boosts the last widget update used.
  float getLastDamageFactor() const { return lastDamageFactor_; }
  float getLastRangeFactor() const { return lastRangeFactor_; }
  float getLastEnergyFactor() const { return lastEnergyFactor_; }
  float getLastRepair() const { return lastRepair_; }
  int getLastInterestBonus() const { return lastInterestBonus_; }
  // The share of a kill's reward this tower's shots add.
  float getInterestRate() const { return effectiveInterest_; }

 protected:
  // --- what the attack towers share (TowerShots.cpp) ---
  // Heard when the tower is selected or the player hears every tower.
  void playShot(const char* sound, int channel) const;
  // This attack step's damage in whole points: the effective damage plus what earlier
  // steps left over, so a beam of 4.2 a frame deals 4.2 a frame over time. Taken once
  // per step that hits.
  int takeWholeDamage();
  // One hit's damage on this enemy: the step's whole damage, the favoured-class bonus,
  // then the fast-speed bonus, truncated at each step.
  int shotDamage(int whole, const xSimpleEnemy& enemy, const ShotRule& rule) const;
  // Hands the damage to the enemy; a kill records its point and, when the kind
  // scores, adds upgrade level x damage to the level's score.
  bool landHit(xSimpleEnemy& enemy, int damage, bool scores);
  // The instant-hit step over the brain's targets. Targets that are not enemy ships
  // are skipped; the enemies hit are appended to shotList.
  void instantHits(const std::vector<xSharkEntity*>& targets, const ShotRule& rule,
                   std::vector<xSharkEntity*>& shotList);
  // One missile per target, up to the target count. salvo (may be null) collects the
  // targets; jitter adds 0..15 px to the launch point; catcherBonus multiplies the
  // damage factor on catchers.
  void launchSalvo(const std::vector<xSharkEntity*>& targets, int missileKind, const char* sound, int channel,
                   bool jitter, float catcherBonus, std::vector<xSharkEntity*>* salvo);
  // Counts the kind's statistic for reaching the top level in the classic mode.
  void countTopUpgrade(const char* statKey) const;
  // The body picture of the upgrade level ("t3.png" becomes "t3_2.png"), when the
  // kind has one.
  void showUpgradeArt();
  // A live target's position in the tower's drawing frame, or false when it is gone.
  bool targetPoint(const xSharkEntity* target, QuillonPHX2D::Vec2& out) const;

  float energyUnscaled_ = 100.0f;
  int energyMax_ = 100;
  float energyMaxScaled_ = 100.0f;
  int targetCapacity_ = 1;
  // Upgrades multiply it and it keeps the fractions; damageCarry_ holds the part of a
  // point the last hits have not dealt yet.
  float damage_ = 0.0f;
  float damageCarry_ = 0.0f;
  float range_ = 1.0f;
  float effectiveDamage_ = 0.0f;
  float damageFactor_ = 1.0f;
  float lastDamageFactor_ = 1.0f;
  float energy_ = 100.0f;
  float repair_ = 0.0f;
  float lastRepair_ = 0.0f;
  float energyFactor_ = 1.0f;
  float lastEnergyFactor_ = 1.0f;
  float effectiveInterest_ = 0.0f;
  int interestBonus_ = 0;
  int lastInterestBonus_ = 0;
  float effectiveRange_ = 1.0f;
  float rangeFactor_ = 1.0f;
  float lastRangeFactor_ = 1.0f;
  int upgradeLevel_ = 0;
  std::vector<xSharkEntity*> contacts_;    // not owned; looked up again before use
  PointerMembers contactSet_;              // what contacts_ holds
  // What the sensor's own query found this frame (not owned: the world's shapes); the
  // storage stays for the next frame.
  QuillonPHX2D::xArray<QuillonPHX2D::xShape*> sensed_;
  std::vector<xSharkEntity*> candidates_;  // not owned; live this frame
  std::unique_ptr<QuillonPHX2D::xShape> rangeSensor_;
  bool selected_ = true;
  std::unique_ptr<xBaseBrain> brain_;
  Rect5 bodyRect_{0.0f, 0.0f, 32.0f, 32.0f};
  std::string name_ = "B";
  std::string info_ = "Tower Info uninitialized...";
  std::string sfxLabel_;
  Color fillColour_{0, 0, 255, 255};
  Color nameColour_{255, 255, 255, 255};
  Color rangeColour_{255, 255, 255, 255};
  int targetSelection_ = 0;
  double price_ = 100.0;
  float sellFactor_ = 0.75f;
  int reloadDelay_ = 1000;
  int baseReloadDelay_ = 1000;
  std::vector<QuillonPHX2D::Vec2> shots_;  // kill points of the last attack, for drawing
  float interestBase_ = 0.05f;
  bool flashing_ = false;
  int flashAlpha_ = 0;
  std::unique_ptr<TinyActionSequence> flashSequence_;
  bool dead_ = false;
  std::string texturePath_;
  const char* upgradeStat_ = nullptr;  // counted on reaching the top level; null: none
};

// A stack of lines drawn one after the other: a beam of light.
struct BeamStroke {
  float width;
  Color colour;
};
void drawBeam(Graphics* g, const QuillonPHX2D::Vec2& from, const QuillonPHX2D::Vec2& to,
              const BeamStroke* strokes, int count);

// The slow turn of a tower's roll image: 360 degrees every 12 s, for the tower's life.
class TowerRoll {
 public:
  // kind: "T4", "T6", "T8" or "T10"; the image is the catalogue's "TEX_<kind>_ROLL".
  explicit TowerRoll(const std::string& kind);
  ~TowerRoll();
  TowerRoll(const TowerRoll&) = delete;
  TowerRoll& operator=(const TowerRoll&) = delete;

  void update(int dt);
  // The image turned about the tower's centre, in white.
  void draw(Graphics* g) const;
  float angle() const { return angle_; }

 private:
  std::string key_;
  std::string file_;
  std::unique_ptr<TinyAction> action_;
  float angle_ = 0.0f;
};

// Makes one attack tower of a kind: its name from the label and its statistic key.
template <class Tower>
QuillonPHX2D::xEntity* makeAttackTower(const char* nameLabel, const char* upgradeStat) {
  Tower* tower = new (std::nothrow) Tower();
  if (!BGE_REPORT_MSG(tower, (std::string("no memory for a tower ") + nameLabel).c_str())) return nullptr;
  tower->finishAttackTower(nameLabel, upgradeStat);
  return tower;
}
