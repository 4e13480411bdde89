#include "Game/Entities/towers/TowerCatalogue.h"

#include "Game/Entities/towers/DeploymentTowerEntity.h"
#include "Game/Entities/towers/SupportTowerEntities.h"
#include "Game/Entities/towers/T10TowerEntity.h"
#include "Game/Entities/towers/T1TowerEntity.h"
#include "Game/Entities/towers/T2TowerEntity.h"
#include "Game/Entities/towers/T3TowerEntity.h"
#include "Game/Entities/towers/T4TowerEntity.h"
#include "Game/Entities/towers/T5TowerEntity.h"
#include "Game/Entities/towers/T6TowerEntity.h"
#include "Game/Entities/towers/T7TowerEntity.h"
#include "Game/Entities/towers/T8TowerEntity.h"
#include "Game/Entities/towers/T9TowerEntity.h"
#include "Game/Entities/towers/WavePointTowerEntity.h"

const std::vector<TowerKindFile>& towerKindFiles() {
  static const std::vector<TowerKindFile> kinds = {
      {0, "content/config/Entities/towers/base-001.xml"},
      {1, "content/config/Entities/towers/base-002.xml"},
      {2, "content/config/Entities/towers/base-003.xml"},
      {3, "content/config/Entities/towers/base-004.xml"},
      {4, "content/config/Entities/towers/base-005.xml"},
      {5, "content/config/Entities/towers/base-006.xml"},
      {6, "content/config/Entities/towers/base-007.xml"},
      {7, "content/config/Entities/towers/base-008.xml"},
      {8, "content/config/Entities/towers/base-009.xml"},
      {9, "content/config/Entities/towers/base-010.xml"},
      {10, "content/config/Entities/towers/supportbase-101.xml"},
      {13, "content/config/Entities/towers/supportbase-104.xml"},
      {14, "content/config/Entities/towers/supportbase-105.xml"},
      {15, "content/config/Entities/towers/deploymentbase-000.xml"},
      {16, "content/config/Entities/towers/wavepointbase-000.xml"},
  };
  return kinds;
}

const char* towerKindFile(int typeId) {
  for (const TowerKindFile& kind : towerKindFiles())
    if (kind.typeId == typeId) return kind.file;
  return nullptr;
}

std::unique_ptr<xBaseTowerDesc> makeTowerDescription(int typeId) {
  switch (typeId) {
    case 0:
      return std::make_unique<xT1TowerDesc>();
    case 1:
      return std::make_unique<xT2TowerDesc>();
    case 2:
      return std::make_unique<xT3TowerDesc>();
    case 3:
      return std::make_unique<xT4TowerDesc>();
    case 4:
      return std::make_unique<xT5TowerDesc>();
    case 5:
      return std::make_unique<xT6TowerDesc>();
    case 6:
      return std::make_unique<xT7TowerDesc>();
    case 7:
      return std::make_unique<xT8TowerDesc>();
    case 8:
      return std::make_unique<xT9TowerDesc>();
    case 9:
      return std::make_unique<xT10TowerDesc>();
    case 10:
      return std::make_unique<xS1SupportTowerDesc>();
    case 13:
      return std::make_unique<xS4SupportTowerDesc>();
    case 14:
      return std::make_unique<xS5SupportTowerDesc>();
    case 15:
      return std::make_unique<xDeploymentTowerDesc>();
    case 16:
      return std::make_unique<xWavePointTowerDesc>();
    default:
      return nullptr;
  }
}
