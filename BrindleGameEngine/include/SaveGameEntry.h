#pragma once

class SaveGame;

// One named value of the save game; it writes and reads its own bytes through
// SaveGame::write and SaveGame::read.
class SaveGameEntry {
 public:
  virtual ~SaveGameEntry() = default;
  virtual bool read(SaveGame* saveGame) = 0;
  virtual bool write(SaveGame* saveGame) = 0;
  virtual int getSize() const = 0;
};
