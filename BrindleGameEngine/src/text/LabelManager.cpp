#include "LabelManager.h"

#include <tinyxml.h>

#include <cstdio>

#include "Utilities.h"
#include "XmlFile.h"

LabelManager::~LabelManager() { delete document_; }

void LabelManager::loadFromXml(const std::string& path) {
  delete document_;
  document_ = nullptr;
  labels_.clear();

  document_ = new TiXmlDocument();
  if (!loadXmlFile(*document_, path, TIXML_ENCODING_LEGACY)) {
    std::printf("ERROR: the strings file %s %s; texts show their labels instead\n", path.c_str(),
                xmlLoadProblem(*document_, path).c_str());
    return;
  }

  TiXmlElement* root = document_->FirstChildElement("Strings");
  if (!root) std::printf("ERROR: the strings file %s has no <Strings> element\n", path.c_str());
  TiXmlNode* first = root ? root->FirstChild() : nullptr;
  // The table starts at the first child only when that child is an element.
  for (TiXmlElement* e = first ? first->ToElement() : nullptr; e; e = e->NextSiblingElement()) {
    const TiXmlAttribute* attribute = e->FirstAttribute();
    if (!attribute) {
      std::printf("%s: element <%s> has no label attribute; skipped\n", path.c_str(), e->Value());
      continue;
    }
    setLabel(attribute->Name(), attribute->Value());
  }
  std::printf("Word count = %d\n", countWords());
}

std::string LabelManager::getLabel(const std::string& id) const {
  auto it = labels_.find(id);
  if (it == labels_.end()) return "error::label not found! -> " + id;
  return it->second;
}

int LabelManager::countWords() const {
  int words = 0;
  for (const auto& item : labels_) words += ::countWords(item.second);
  return words;
}

void LabelManager::setLabel(const std::string& id, const std::string& text) { labels_[id] = text; }
