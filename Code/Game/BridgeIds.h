#pragma once
// The numbers the command bridge's layout and the game share: the ids of its strips,
// buttons and commands, and where the parts both sides draw stand on the screen.
// tools/gen_bridge.py reads this file to write the layout, so a number changed here
// reaches the layout on the next run of the generator and is written nowhere else.
// Keep every number a plain "kName = number" the generator's pattern can read.
#include "Game/Entities/towers/xBaseBrain.h"

namespace bridgeids {

// The bridge's numbered strips, the panels the level writes on.
enum StripId : int {
  kStatsStrip = 2,    // credits, lives, score and the waves to come
  kTowerBay = 3,      // the tower build buttons
  kInfoStrip = 4,     // the figures of the chosen, hovered or selected tower
  kCommandStrip = 5,  // the selected tower's commands
};

// The bridge buttons along the top strip.
enum BridgeButtonId : int {
  kPause = 1,        // opens the pause screen
  kHelp = 2,         // opens the help screen
  kPathsShow = 3,    // draws the enemy paths over the field
  kPathsHide = 4,    // takes them off again
  kSpeedFast = 5,    // fast forward
  kSpeedNormal = 6,  // back to the normal game speed
  kSendWave = 7,     // sends the next wave now; it stands only between waves
  kGrid = 8,         // shows or hides the placement grid
};

// The auto-send check box: waves follow each other without the send-wave button.
constexpr int kAutoWaveBox = 1;

// The tower build buttons: one per tower kind of the level, numbered in its order.
constexpr int kTowerButtonBase = 100;
constexpr int kTowerButtonLast = 599;

// The tower commands; the command panel takes every button of this range.
enum CommandId : int {
  kFirstCommand = 601,
  kAimClosest = 601,      // targeting: the nearest ship in reach
  kAimFarthest = 602,     // the farthest one
  kAimLast = 603,         // the one furthest behind along its path
  kAimFirst = 604,        // the one furthest ahead
  kAimWeakest = 605,      // the one with the least energy
  kAimStrongest = 606,    // the one with the most
  kAimSlowest = 607,      // the slowest, a snare's slow-down counted
  kAimFastest = 608,      // the fastest
  kSell = 610,            // sells the shown tower; its caption carries the price
  kShowStrategies = 611,  // back from the trade page to the targeting page ("Keep")
  kShowTrade = 612,       // opens the trade page with the sell command
  kUpgrade = 615,         // buys the shown tower's next upgrade
  kLastCommand = 620,
};

// The brain's strategy each targeting command picks.
struct Targeting {
  int command;
  int strategy;
};
inline constexpr Targeting kTargeting[] = {
    {kAimClosest, kTargetClosest}, {kAimFarthest, kTargetDistant}, {kAimLast, kTargetLast},
    {kAimFirst, kTargetFirst},     {kAimWeakest, kTargetWeakest},  {kAimStrongest, kTargetStrongest},
    {kAimSlowest, kTargetSlowest}, {kAimFastest, kTargetFastest},
};

// The strategy a targeting command picks, or -1 for any other id.
constexpr int strategyOfCommand(int id) {
  for (const Targeting& t : kTargeting)
    if (t.command == id) return t.strategy;
  return -1;
}

// The targeting command that picks a strategy, or 0 when none does.
constexpr int commandOfStrategy(int strategy) {
  for (const Targeting& t : kTargeting)
    if (t.strategy == strategy) return t.command;
  return 0;
}

// Where the bridge's parts stand on the screen.
constexpr int kBridgeX = 1038;  // every strip, right of the 1024-pixel field and its margin
// The tower build buttons, row by row from the top left.
constexpr int kTowerGridX = 1054;
constexpr int kTowerGridY = 174;
constexpr int kTowerPitch = 50;    // between build buttons, across and down
constexpr int kTowerColumns = 6;
constexpr int kTowerRows = 4;      // room for 24 kinds; the bridge offers no more
// The command panel: its captions and buttons start at kCommandX and span kCommandWidth.
constexpr int kCommandX = 1044;
constexpr int kCommandWidth = 306;
constexpr int kStrategyCaptionY = 546;  // "Targeting", below the command strip's title band
constexpr int kTargetingY = 566;        // the first row of targeting buttons
constexpr int kUpgradeCaptionY = 622;
constexpr int kUpgradeY = 640;          // the upgrade command and the marks of bought levels
constexpr int kUpgradeMarksX = 1260;    // the first mark, right of the upgrade command
constexpr int kUpgradeMarkPitch = 32;
constexpr int kTradeCaptionY = 667;     // the placement hints end above it
constexpr int kTradeY = 690;            // the trade page's buttons and the switch to it

}  // namespace bridgeids
