#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>

#include "ReferenceCountable.h"

class TiXmlDocument;

// Every text the player reads, looked up by label id from the strings file.
class LabelManager : public ReferenceCountable {
 public:
  LabelManager();
  virtual ~LabelManager();
  LabelManager(const LabelManager&) = delete;
  LabelManager& operator=(const LabelManager&) = delete;

  // Replaces the whole table with the file's texts; a file that cannot be read
  // leaves the table empty.
  void loadFromXml(const std::string& path);
  // The text, or "error::label not found! -> " and the id; a missing id is
  // reported once, naming the strings file.
  std::string getLabel(const std::string& id) const;
  // Whether the id names a label; asks quietly, for fields that may hold a text of their own.
  bool hasLabel(const std::string& id) const { return labels_.count(id) != 0; }
  int countWords() const;
  void setLabel(const std::string& id, const std::string& text);

  size_t size() const { return labels_.size(); }
  // The ids asked for and not found since the last load.
  const std::set<std::string>& missingKeys() const { return missingKeys_; }

 private:
  std::unique_ptr<TiXmlDocument> document_;
  std::map<std::string, std::string> labels_;
  std::string path_;
  mutable std::set<std::string> missingKeys_;
};
