// tower_figures: the tower table of docs/balance.md, made by the game's own rules
// (Code/Game/Entities/towers/TowerFigures), so the document says what the game does.
//
//   tower_figures                 prints the table
//   tower_figures --write FILE    puts it into FILE between the markers
//   tower_figures --check FILE    exits 1 when FILE's table is not the current one
//
// Run from the repository root: the content is read from content/.
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "Game/Entities/towers/TowerCatalogue.h"
#include "Game/Entities/towers/TowerFigures.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "LabelManager.h"
#include "System/CollisionSetup.h"
#include "Utilities.h"

namespace {

const char* const kBegin = "<!-- tower figures: written by scripts/balance_figures.sh from the game's rules -->";
const char* const kEnd = "<!-- end of tower figures -->";

std::string seconds(float s) { return formatString("%.2f s", static_cast<double>(s)); }

std::string levels(const float* values) {
  std::string out;
  for (int i = 0; i <= xBaseTowerEntity::kMaxUpgradeLevel; ++i)
    out += (i ? " / " : "") + figureText(values[i]);
  return out;
}

std::string rate(TowerWeapon weapon, const TowerFigures& f) {
  switch (weapon) {
    case TowerWeapon::Beam: return "every frame";
    case TowerWeapon::Pulse: return "every frame for " + seconds(f.cycleSeconds / 2) + ", then rests as long";
    case TowerWeapon::Shot: return "every " + seconds(f.cycleSeconds);
    case TowerWeapon::Missile: return "a missile at each ship every " + seconds(f.cycleSeconds);
    case TowerWeapon::None: break;
  }
  return "-";
}

std::string targets(int count) {
  if (count < 0) return "every ship in reach";
  return std::to_string(count);
}

std::string table() {
  LabelManager labels;
  labels.loadFromXml("content/strings/english.xml");
  std::ostringstream out;
  out << kBegin << "\n\n";
  out << "| kind | price | ships | damage a hit | fires | damage per second on one ship, level 0 / 1 / 2 / 3 "
         "| reach, level 0 / 1 / 2 / 3 | upgrade to 1 / 2 / 3 | sale at level 0 / 1 / 2 / 3 |\n";
  out << "|---|---|---|---|---|---|---|---|---|\n";
  for (const TowerKindFile& kind : towerKindFiles()) {
    std::unique_ptr<xBaseTowerDesc> desc = makeTowerDescription(kind.typeId);
    if (!desc || !desc->loadFromFile(kind.file)) {
      std::fprintf(stderr, "tower_figures: cannot read %s\n", kind.file);
      continue;
    }
    TowerState state = towerState(*desc);
    if (state.weapon == TowerWeapon::None) continue;
    const TowerFigures first = towerFigures(state);
    float dps[xBaseTowerEntity::kMaxUpgradeLevel + 1], reach[xBaseTowerEntity::kMaxUpgradeLevel + 1];
    std::string upgrades, sales;
    for (int level = 0; level <= xBaseTowerEntity::kMaxUpgradeLevel; ++level) {
      if (level > 0) state = upgradedState(state);
      const TowerFigures f = towerFigures(state);
      dps[level] = f.dps;
      reach[level] = f.range;
      if (level < xBaseTowerEntity::kMaxUpgradeLevel)
        upgrades += (level ? " / " : "") + std::to_string(towerUpgradePrice(desc->price, level));
      sales += (level ? " / " : "") + formatString("%d", static_cast<int>(towerSellRefund(desc->price, level)));
    }
    const std::string name = desc->towerType.substr(desc->towerType.rfind('_') + 1);
    std::string hit = figureText(first.perHit);
    if (state.weapon == TowerWeapon::Missile) hit += " (missile)";
    out << "| " << name << " " << labels.getLabel(desc->towerType) << " | " << static_cast<int>(desc->price) << " | "
        << targets(first.targets) << " | " << hit << " | " << rate(state.weapon, first) << " | " << levels(dps)
        << " | " << levels(reach) << " | " << upgrades << " | " << sales << " |\n";
  }
  const double refund = towerSellRefund(100.0, 0);
  out << "\nA sale pays back " << formatString("%d", static_cast<int>(kTowerSellRatio * 100.0f + 0.5f))
      << " % of the tower's worth, its price and a third of it per level reached plus one: "
      << formatString("%d", static_cast<int>(refund + 0.5)) << " % of the price for a tower never upgraded.\n\n"
      << kEnd << "\n";
  return out.str();
}

bool readFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  return true;
}

// The file with its block replaced; false when the markers are missing.
bool withTable(const std::string& text, const std::string& block, std::string& out) {
  const size_t begin = text.find(kBegin);
  const size_t end = begin == std::string::npos ? std::string::npos : text.find(kEnd, begin);
  if (end == std::string::npos) return false;
  size_t after = end + std::string(kEnd).size();
  if (after < text.size() && text[after] == '\n') ++after;
  out = text.substr(0, begin) + block + text.substr(after);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // The entity files name collision categories and materials; without them no file reads.
  loadCollisionCategoriesFile("content/config/CollisionCategories.xml");
  loadMaterialsFile("content/config/Materials.xml");
  const std::string block = table();
  if (argc == 1) {
    std::fputs(block.c_str(), stdout);
    return 0;
  }
  const std::string mode = argv[1];
  if (argc != 3 || (mode != "--write" && mode != "--check")) {
    std::fprintf(stderr, "usage: tower_figures [--write FILE | --check FILE]\n");
    return 2;
  }
  std::string text, updated;
  if (!readFile(argv[2], text)) {
    std::fprintf(stderr, "tower_figures: cannot read %s\n", argv[2]);
    return 2;
  }
  if (!withTable(text, block, updated)) {
    std::fprintf(stderr, "tower_figures: %s has no tower figures markers\n", argv[2]);
    return 2;
  }
  if (mode == "--check") {
    if (updated == text) return 0;
    std::fprintf(stderr, "tower_figures: the tower table of %s is not the game's; run scripts/balance_figures.sh\n",
                 argv[2]);
    return 1;
  }
  std::ofstream(argv[2], std::ios::binary) << updated;
  return 0;
}
