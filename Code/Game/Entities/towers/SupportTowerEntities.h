#pragma once
#include "Game/Entities/towers/xBaseSupportTowerEntity.h"

// The five support kinds. Each raises one quality of every other tower in its range
// for the frame: S1 damage, S2 repair, S3 energy, S4 range, S5 kill interest. The
// boost counts the kind's factor once per upgrade level reached plus one.

class xS1SupportTowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;
  float damageUpgradeFactor = 1.0f;
};

class xS2SupportTowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;
  float energyUpgradeHealer = 0.0f;
};

class xS3SupportTowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;
  float energyUpgradeFactor = 1.0f;
};

class xS4SupportTowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;
  float rangeUpgradeFactor = 1.0f;
};

class xS5SupportTowerDesc : public xBaseTowerDesc {
 public:
  QuillonPHX2D::xEntity* createEntity() override;
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;
  int interestUpgradeFactor = 0;
};

// Damage: every tower in range gets (L + 1) x (f - 1) more damage factor.
class xS1SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  xS1SupportTowerEntity() : xBaseSupportTowerEntity("DAMAGE_INCREASE", "STAT_S1_UPGRADE") {}
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  std::string infoValue() const override;
  float factor() const { return factor_; }

 private:
  float factor_ = 1.0f;
};

// Repair: every tower in range is repaired by (L + 1) x f a frame. Its own factors
// are left for resetFactors.
class xS2SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  xS2SupportTowerEntity() : xBaseSupportTowerEntity("REPAIR_ENERGY_FACTOR", nullptr) {}
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  std::string infoValue() const override;
  float factor() const { return factor_; }

 private:
  float factor_ = 0.0f;
};

// Energy: every tower in range gets (f - 1) x (L + 1) more energy factor.
class xS3SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  xS3SupportTowerEntity() : xBaseSupportTowerEntity("ENERGY_INCREASE", "STAT_S3_UPGRADE") {}
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  std::string infoValue() const override;
  float factor() const { return factor_; }

 private:
  float factor_ = 1.0f;
};

// Range: every tower in range gets (f - 1) x (L + 1) more range factor.
class xS4SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  xS4SupportTowerEntity() : xBaseSupportTowerEntity("RANGE_INCREASE", "STAT_S4_UPGRADE") {}
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  std::string infoValue() const override;
  float factor() const { return factor_; }

 private:
  float factor_ = 1.0f;
};

// Interest: every tower in range gets (L + 1) x f more interest percent on its kills.
class xS5SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  xS5SupportTowerEntity() : xBaseSupportTowerEntity("INTEREST_INCREASE", "STAT_S5_UPGRADE") {}
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  std::string infoValue() const override;
  int factor() const { return factor_; }

 private:
  int factor_ = 0;
};
