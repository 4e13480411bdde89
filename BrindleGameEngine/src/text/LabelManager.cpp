#include "LabelManager.h"

#include <tinyxml.h>

#include <cstdio>

#include "Utilities.h"
#include "XmlAttributes.h"

// Here, where TiXmlDocument is complete.
LabelManager::LabelManager() = default;
LabelManager::~LabelManager() = default;

void LabelManager::loadFromXml(const std::string& path) {
  document_.reset();
  labels_.clear();
  missingKeys_.clear();
  path_ = path;

  document_ = std::make_unique<TiXmlDocument>();
  const bge::XmlReader xml(path);
  if (!xml.load(*document_, TIXML_ENCODING_LEGACY)) return;

  TiXmlElement* root = xml.root(*document_, "Strings");
  TiXmlNode* first = root ? root->FirstChild() : nullptr;
  // The table starts at the first child only when that child is an element.
  for (TiXmlElement* e = first ? first->ToElement() : nullptr; e; e = e->NextSiblingElement()) {
    const TiXmlAttribute* attribute = e->FirstAttribute();
    if (!attribute) {
      xml.warn(e, "no label attribute; skipped");
      continue;
    }
    setLabel(attribute->Name(), attribute->Value());
  }
  std::printf("Word count = %d\n", countWords());
}

std::string LabelManager::getLabel(const std::string& id) const {
  auto it = labels_.find(id);
  if (it == labels_.end()) {
    // Asked for again every frame the text is drawn: one message per key.
    if (missingKeys_.insert(id).second)
      std::printf("WARNING: %s: no label %s\n", path_.empty() ? "strings file" : path_.c_str(), id.c_str());
    return "error::label not found! -> " + id;
  }
  return it->second;
}

int LabelManager::countWords() const {
  int words = 0;
  for (const auto& item : labels_) words += ::countWords(item.second);
  return words;
}

void LabelManager::setLabel(const std::string& id, const std::string& text) { labels_[id] = text; }
