#include "Game/Entities/towers/SupportTowerEntities.h"

#include <cmath>
#include <new>
#include <sstream>

#include "System/DisplayText.h"
#include "XmlAttributes.h"

using namespace QuillonPHX2D;

namespace {

// Support towers wear the player's colours: a pale fill, white names, cyan reach.
const Color kFill(0, 200, 255, 200);
const Color kName(255, 255, 255, 255);
const Color kRange(0, 255, 255, 255);

template <typename Entity>
xEntity* makeSupport(const char* nameLabel, const char* statistic) {
  return nameNewTower(new (std::nothrow) Entity(), nameLabel, statistic, kFill, kName, kRange);
}

std::string printed(float value) {
  std::ostringstream s;
  s << value;
  return s.str();
}

// The boost a station gives, (f - 1) x (L + 1), in percent. Rounded: a factor
// of 1.15 is a hair below it as a float, and truncated it read 14%.
std::string percentOver(float factor, float weight) {
  return percentText(static_cast<int>(std::lround((factor - 1.0f) * weight * 100.0f)));
}

}  // namespace

// --- descriptions ---

xEntity* xS1SupportTowerDesc::createEntity() {
  return makeSupport<xS1SupportTowerEntity>("TOWER_NAME_S1", "STAT_ARSENAL_STATION");
}
xEntity* xS2SupportTowerDesc::createEntity() { return makeSupport<xS2SupportTowerEntity>("TOWER_NAME_S2", nullptr); }
xEntity* xS3SupportTowerDesc::createEntity() {
  return makeSupport<xS3SupportTowerEntity>("TOWER_NAME_S3", "STAT_POWER_STATION");
}
xEntity* xS4SupportTowerDesc::createEntity() {
  return makeSupport<xS4SupportTowerEntity>("TOWER_NAME_S4", "STAT_RADAR_STATION");
}
xEntity* xS5SupportTowerDesc::createEntity() {
  return makeSupport<xS5SupportTowerEntity>("TOWER_NAME_S5", "STAT_BANK_UNIT");
}

bool xS1SupportTowerDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xBaseTowerDesc::readXml(e, reader);
  if (e) damageUpgradeFactor = reader.readFloat(e, "damageUpgradeFactor", damageUpgradeFactor, 0.0f, 100.0f);
  return true;
}
bool xS2SupportTowerDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xBaseTowerDesc::readXml(e, reader);
  if (e) energyUpgradeHealer = reader.readFloat(e, "energyUpgradeHealer", energyUpgradeHealer, 0.0f, 100000.0f);
  return true;
}
bool xS3SupportTowerDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xBaseTowerDesc::readXml(e, reader);
  if (e) energyUpgradeFactor = reader.readFloat(e, "energyUpgradeFactor", energyUpgradeFactor, 0.0f, 100.0f);
  return true;
}
bool xS4SupportTowerDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xBaseTowerDesc::readXml(e, reader);
  if (e) rangeUpgradeFactor = reader.readFloat(e, "rangeUpgradeFactor", rangeUpgradeFactor, 0.0f, 100.0f);
  return true;
}
bool xS5SupportTowerDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  xBaseTowerDesc::readXml(e, reader);
  if (e) interestUpgradeFactor = reader.readInt(e, "interestUpgradeFactor", interestUpgradeFactor, 0, 1000);
  return true;
}

// --- S1 damage ---

void xS1SupportTowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseSupportTowerEntity::notifyCreated(desc);
  if (auto* d = dynamic_cast<xS1SupportTowerDesc*>(desc)) factor_ = d->damageUpgradeFactor;
  effectiveDamage_ = static_cast<float>(damage_);
}

void xS1SupportTowerEntity::applySupport() {
  collectTargets();
  for (xBaseTowerEntity* t : towersInRange()) t->boostDamage(levelWeight() * (factor_ - 1.0f));
  saveAndResetOwnFactors();
}

std::string xS1SupportTowerEntity::infoValue() const { return percentOver(factor_, levelWeight()); }

// --- S2 repair ---

void xS2SupportTowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseSupportTowerEntity::notifyCreated(desc);
  if (auto* d = dynamic_cast<xS2SupportTowerDesc*>(desc)) factor_ = d->energyUpgradeHealer;
  energy_ = energyUnscaled_;
}

void xS2SupportTowerEntity::applySupport() {
  collectTargets();
  for (xBaseTowerEntity* t : towersInRange()) t->addRepair(levelWeight() * factor_);
}

std::string xS2SupportTowerEntity::infoValue() const { return printed(levelWeight() * factor_); }

// --- S3 energy ---

void xS3SupportTowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseSupportTowerEntity::notifyCreated(desc);
  if (auto* d = dynamic_cast<xS3SupportTowerDesc*>(desc)) factor_ = d->energyUpgradeFactor;
  energy_ = energyUnscaled_;
}

void xS3SupportTowerEntity::applySupport() {
  collectTargets();
  for (xBaseTowerEntity* t : towersInRange()) t->boostEnergy((factor_ - 1.0f) * levelWeight());
}

std::string xS3SupportTowerEntity::infoValue() const { return percentOver(factor_, levelWeight()); }

// --- S4 range ---

void xS4SupportTowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseSupportTowerEntity::notifyCreated(desc);
  if (auto* d = dynamic_cast<xS4SupportTowerDesc*>(desc)) factor_ = d->rangeUpgradeFactor;
  effectiveDamage_ = static_cast<float>(damage_);
}

void xS4SupportTowerEntity::applySupport() {
  collectTargets();
  for (xBaseTowerEntity* t : towersInRange()) t->boostRange((factor_ - 1.0f) * levelWeight());
  saveAndResetOwnFactors();
}

std::string xS4SupportTowerEntity::infoValue() const { return percentOver(factor_, levelWeight()); }

// --- S5 interest ---

void xS5SupportTowerEntity::notifyCreated(xEntityDesc* desc) {
  xBaseSupportTowerEntity::notifyCreated(desc);
  if (auto* d = dynamic_cast<xS5SupportTowerDesc*>(desc)) factor_ = d->interestUpgradeFactor;
  effectiveDamage_ = static_cast<float>(damage_);
}

void xS5SupportTowerEntity::applySupport() {
  collectTargets();
  for (xBaseTowerEntity* t : towersInRange()) t->boostInterest((upgradeLevel_ + 1) * factor_);
  saveAndResetOwnFactors();
}

std::string xS5SupportTowerEntity::infoValue() const {
  return percentText((upgradeLevel_ + 1) * factor_);
}
