#pragma once
#include <memory>
#include <string>

#include "SaveGame.h"

class Buffer;
class GameApp;

// Keeps every entry in one binary file behind the application's save identifier:
// a 4-byte little-endian length, the identifier's bytes, then the entries.
class FileSaveGame : public SaveGame {
 public:
  FileSaveGame(const std::string& path, GameApp* app);
  ~FileSaveGame() override;

  // Writes a temporary file beside the save and renames it over the save, so a
  // failed write never leaves a half-written file behind. A save that is a link
  // is written through to its target; a link to nothing or a read-only save is
  // left as it is. A failure is said once, with the system's reason.
  bool save() override;
  // False when the file is missing, foreign, short, longer than its entries,
  // holds a value an entry refuses, or is unreadable. A file that
  // exists but fails is first copied aside (see backupPath) so nothing is lost
  // when the caller then writes defaults; the entries keep their values.
  // Only a regular file of at most kMaxSaveBytes is read: a folder or an
  // oversized file at the path is renamed aside instead. A file that cannot be
  // opened (no permission) or set aside is left alone, and save() then refuses
  // to write over it. Every such case is said on standard output.
  bool load() override;
  void write(const uint8_t* bytes, int count) override;
  void read(uint8_t* bytes, int count) override;

  // The game's saves are bytes long; a few megabytes leaves room for any of ours.
  static constexpr long long kMaxSaveBytes = 4 * 1024 * 1024;

  const std::string& getPath() const { return path_; }
  // True while load() runs: entries that keep files of their own leave them
  // alone when load() asks them for a snapshot of their current values.
  bool isLoading() const { return loading_; }
  // True while a failed load puts the entries' own values back: entries that
  // read files of their own do not read them a second time.
  bool isRestoring() const { return restoring_; }
  // True after a load found a file it could neither read nor set aside.
  bool isLeftAlone() const { return leftAlone_; }
  // From now on save() writes nothing (another copy of the game owns the
  // folder); the caller says why.
  void stopSaving() { savingStopped_ = true; }
  // Where the last failed load kept its copy of the file (empty if none).
  const std::string& backupPath() const { return backupPath_; }

 private:
  enum class ReadResult { Read, Missing, MovedAside, LeftAlone };
  ReadResult readFile(std::string& contents);
  // Renames the file at the path to the next backup name; what says what it is.
  bool moveAside(const char* what);
  bool readHeader();
  // False when some entry refused what it read.
  bool readEntries();
  bool keepBackup();
  void sayWriteFailure(const std::string& why);

  std::string path_;
  // The bytes of the save or load under way.
  std::unique_ptr<Buffer> fileBuffer_;
  // Not owned: what the entries write to and read from, fileBuffer_ or the
  // snapshot a load keeps of their values.
  Buffer* buffer_ = nullptr;
  GameApp* app_;  // not owned: the application whose save this is
  std::string backupPath_;
  bool loading_ = false;
  bool restoring_ = false;
  bool leftAlone_ = false;
  bool savingStopped_ = false;
  bool failureSaid_ = false;
};
