#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>

class SaveGameEntry;

// A registry of named entries that serialise themselves; subclasses decide
// where the bytes go. Entries are stored in ascending order of their names.
class SaveGame {
 public:
  SaveGame();
  virtual ~SaveGame();
  SaveGame(const SaveGame&) = delete;
  SaveGame& operator=(const SaveGame&) = delete;

  // Returns true when everything was stored.
  virtual bool save() = 0;
  virtual bool load() = 0;
  virtual void write(const uint8_t* bytes, int count) = 0;
  virtual void read(uint8_t* bytes, int count) = 0;

  // Takes ownership; an entry already under the name is deleted and replaced.
  void addEntry(const std::string& name, SaveGameEntry* entry);
  // The entry under the name, or null (after a report) when none is registered.
  SaveGameEntry* findEntry(const std::string& name) const;
  template <typename E>
  E* findEntryAs(const std::string& name) const {
    return dynamic_cast<E*>(findEntry(name));
  }
  size_t entryCount() const { return entryMap_.size(); }
  // Whether an entry is registered under the name (no report when not).
  bool hasEntry(const std::string& name) const { return entryMap_.count(name) != 0; }

 protected:
  std::map<std::string, std::unique_ptr<SaveGameEntry>> entryMap_;
};
