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
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  int upgrade() override;
  void infoText(Graphics* g) override;
  float factor() const { return factor_; }

 private:
  float factor_ = 1.0f;
};

// Repair: every tower in range is repaired by (L + 1) x f a frame. Its own factors
// are left for resetFactors.
class xS2SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  void infoText(Graphics* g) override;
  float factor() const { return factor_; }

 private:
  float factor_ = 0.0f;
};

// Energy: every tower in range gets (f - 1) x (L + 1) more energy factor.
class xS3SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  int upgrade() override;
  void infoText(Graphics* g) override;
  float factor() const { return factor_; }

 private:
  float factor_ = 1.0f;
};

// Range: every tower in range gets (f - 1) x (L + 1) more range factor.
class xS4SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  int upgrade() override;
  void infoText(Graphics* g) override;
  float factor() const { return factor_; }

 private:
  float factor_ = 1.0f;
};

// Interest: every tower in range gets (L + 1) x f more interest percent on its kills.
class xS5SupportTowerEntity : public xBaseSupportTowerEntity {
 public:
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;
  void applySupport() override;
  int upgrade() override;
  void infoText(Graphics* g) override;
  int factor() const { return factor_; }

 private:
  int factor_ = 0;
};
