#pragma once
// The states a level goes through, the game modes it is played in and the ways it
// is won or lost besides its waves and lives.

// Level states.
enum LevelState { kLevelBooting = 0, kLevelWaiting = 1, kLevelBattle = 3, kLevelRestorePending = 5, kLevelOver = 7 };

// Game modes; their names are also the label keys of the mode names.
enum GameMode {
  MODE_CLASSIC = 0,
  MODE_ALLTOWERS = 1,
  MODE_REVERSAL = 2,
  MODE_MAXCREDITS = 3,
  MODE_LIMITEDTOWERS = 4,
  MODE_ENDLESS = 5
};

// Towers standing at which the limited-towers mode places no more.
constexpr int kLimitedTowers = 10;

// How a level is won or lost besides its waves and lives.
enum GameplayType { kGameplayClassic = 0, kGameplayStationStatic = 1, kGameplayStationMoving = 2, kGameplayTimer = 3 };
