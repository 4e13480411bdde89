#pragma once
// What a tower really does, in the numbers a player decides with: damage per second,
// per hit, rate, reach and what the next upgrade brings. Worked out from the tower's
// description or state and the way its kind deals damage at the game's 16 ms step;
// the build buttons' hover text, the info panel, the encyclopedia and the balance
// document all read it, so they cannot disagree with the game or each other.
#include <string>

class xBaseTowerDesc;
class xBaseTowerEntity;

// How a kind deals its damage.
enum class TowerWeapon {
  None,     // support towers, drone stations, beacons: the tower itself hurts nobody
  Beam,     // hits on every frame it has a target
  Pulse,    // a beam that burns for its delay, then rests as long
  Shot,     // one instant hit per reload cycle
  Missile,  // one homing missile per target per reload cycle
};

// The inputs: everything about a tower that its figures depend on.
struct TowerState {
  TowerWeapon weapon = TowerWeapon::None;
  int missileKind = -1;     // the missile a Missile tower fires
  float damage = 0.0f;      // the tower's damage, before boosts
  float range = 0.0f;       // base reach, before boosts
  int upgradeLevel = 0;
  int reloadDelay = 0;      // ms: the reload cycle, or the burn of a pulse
  int targetCapacity = 1;   // -1: every ship in reach
  bool lockOn = false;      // locking ON: one ship only
  float damageFactor = 1.0f;  // support boosts
  float rangeFactor = 1.0f;
  double price = 0.0;
};

struct TowerFigures {
  bool attacks = false;    // the tower deals damage itself
  float perHit = 0.0f;     // damage of one hit on one ship, fractions kept
  float hitsPerSecond = 0.0f;  // hits on one ship that stays in reach, long run
  float dps = 0.0f;        // damage per second on one ship that stays in reach
  float burstDps = 0.0f;   // while a pulse burns; the same as dps for the others
  int targets = 1;         // ships served at once; -1: every ship in reach
  float range = 0.0f;      // reach in pixels, boosts included
  float cycleSeconds = 0.0f;  // between two shots, or one burn plus one rest; 0: every frame
};

// The state a tower of this description starts in (upgrade level 0, no boosts).
TowerState towerState(const xBaseTowerDesc& desc);
// A standing tower's state: its upgrades and the boosts its panel shows.
TowerState towerState(const xBaseTowerEntity& tower);
// The state after one more upgrade, by the game's upgrade rule.
TowerState upgradedState(const TowerState& state);

// The kind whose entity file this is; weapon None when no attack kind uses the file.
TowerState towerStateOfFile(const std::string& file);

TowerFigures towerFigures(const TowerState& state);

// --- the rules the game itself applies, named once ---

// Damage and reach after the upgrade step to the given level (each step multiplies
// the current values; damage keeps its fractions, which the tower deals over time).
float upgradedDamage(float damage, int level);
float upgradedRange(float range, int level);
// A missile's damage: its file's, a tenth more per upgrade level, times the boost.
int missileDamage(int fileDamage, int upgradeLevel, float damageFactor);
// The damage file of a missile kind, from the level when one runs, else read once
// from the missile files.
int missileFileDamage(int missileKind);
// The missile files the level reads, by kind.
const char* const* missileFiles(int* count);

// Share of a tower's worth paid back when it is sold.
constexpr float kTowerSellRatio = 0.6f;
// What the player pays to upgrade a tower at this level, and gets for selling it.
int towerUpgradePrice(double price, int upgradeLevel);
double towerSellRefund(double price, int upgradeLevel);

// What a drone station's patrol ship deals: its bullets at one ship in its reach.
struct DroneFigures {
  float dps = 0.0f;    // damage per second on one ship that stays in the drone's reach
  float range = 0.0f;  // the drone's own reach in pixels
};
// From the patrol ship's and its bullet's files, read once.
DroneFigures droneFigures();
// Their two lines as the panels write them: "Drone damage: 114/s", "Drone reach: 160m".
std::string droneFiguresText();

// The figure text the displays write: "250/s", "84".
std::string figureText(float value);
