#pragma once
#include <tinyxml.h>

#include <cfloat>
#include <climits>
#include <string>

#include "Color.h"
#include "Rect5.h"

namespace bge {

// The one door content comes in through: typed attribute reads with defaults, and a
// message naming the file, the element (with its line) and the attribute for anything
// absent where it is required, malformed, not finite or out of range.
class XmlReader {
 public:
  explicit XmlReader(std::string path);

  bool load(TiXmlDocument& doc);
  bool parse(TiXmlDocument& doc, const std::string& text);
  TiXmlElement* root(TiXmlDocument& doc, const char* name) const;

  bool has(const TiXmlElement* e, const char* attr) const;
  int readInt(const TiXmlElement* e, const char* attr, int def, int lo = INT_MIN, int hi = INT_MAX) const;
  float readFloat(const TiXmlElement* e, const char* attr, float def, float lo = -FLT_MAX, float hi = FLT_MAX) const;
  double readDouble(const TiXmlElement* e, const char* attr, double def, double lo = -DBL_MAX,
                    double hi = DBL_MAX) const;
  bool readBool(const TiXmlElement* e, const char* attr, bool def) const;
  std::string readString(const TiXmlElement* e, const char* attr, const std::string& def) const;
  Color readColor(const TiXmlElement* e, const char* attr, const Color& def) const;
  Rect5 readRect(const TiXmlElement* e, const char* attr, const Rect5& def) const;
  int requireInt(const TiXmlElement* e, const char* attr, int def, int lo = INT_MIN, int hi = INT_MAX) const;
  float requireFloat(const TiXmlElement* e, const char* attr, float def, float lo = -FLT_MAX,
                     float hi = FLT_MAX) const;
  std::string requireString(const TiXmlElement* e, const char* attr, const std::string& def) const;

  void warn(const TiXmlElement* e, const std::string& message) const;
  int problems() const { return problems_; }
  const std::string& path() const { return path_; }

 private:
  bool readNumber(const TiXmlElement* e, const char* attr, double lo, double hi, bool integral,
                  double& out) const;

  std::string path_;
  mutable int problems_ = 0;
};

}  // namespace bge
