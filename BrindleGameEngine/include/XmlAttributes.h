#pragma once
#include <tinyxml.h>

#include <cfloat>
#include <climits>
#include <string>
#include <vector>

#include "Color.h"
#include "Rect5.h"

namespace bge {

// The one door content comes in through. Every reader of an XML file owns one
// of these for the file it reads: typed reads with a default, range checks,
// and a message that names the file, the element (with its line) and the
// attribute whenever a value is malformed, not finite or out of range.
// An absent attribute quietly gives the default; the require* reads also
// report it.
class XmlReader {
 public:
  explicit XmlReader(std::string path);
  // A reader named after the file the element's document was loaded from
  // (load and parse name the document), else after `fallback`: for readers
  // that are handed an element of a file someone else opened.
  static XmlReader forDocumentOf(const TiXmlElement* e, const char* fallback);

  // Reads the file of path() (through loadXmlFile); on failure prints a
  // message naming the file and the reason and answers false.
  bool load(TiXmlDocument& doc, TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING) const;
  // Parses text already in memory; messages still name path().
  bool parse(TiXmlDocument& doc, const std::string& text,
             TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING) const;
  // The root element when it is named `name`, else null and a message.
  TiXmlElement* root(TiXmlDocument& doc, const char* name) const;

  bool has(const TiXmlElement* e, const char* attr) const;

  int readInt(const TiXmlElement* e, const char* attr, int def, int lo = INT_MIN,
              int hi = INT_MAX) const;
  float readFloat(const TiXmlElement* e, const char* attr, float def, float lo = -FLT_MAX,
                  float hi = FLT_MAX) const;
  double readDouble(const TiXmlElement* e, const char* attr, double def, double lo = -DBL_MAX,
                    double hi = DBL_MAX) const;
  // true/false/1/0 (and yes/no, which older layouts use).
  bool readBool(const TiXmlElement* e, const char* attr, bool def) const;
  std::string readString(const TiXmlElement* e, const char* attr, const std::string& def) const;
  // "Color(r, g, b, a)", each part 0..255.
  Color readColor(const TiXmlElement* e, const char* attr, const Color& def) const;
  // "Rect(x, y, w, h)", each part finite and within kLargestRectValue.
  Rect5 readRect(const TiXmlElement* e, const char* attr, const Rect5& def) const;
  // "1,2,3": the parts that are integers in [lo, hi]; any other part is left
  // out with a message. Absent gives def.
  std::vector<int> readIntList(const TiXmlElement* e, const char* attr,
                               const std::vector<int>& def, int lo = INT_MIN,
                               int hi = INT_MAX) const;

  int requireInt(const TiXmlElement* e, const char* attr, int def, int lo = INT_MIN,
                 int hi = INT_MAX) const;
  float requireFloat(const TiXmlElement* e, const char* attr, float def, float lo = -FLT_MAX,
                     float hi = FLT_MAX) const;
  double requireDouble(const TiXmlElement* e, const char* attr, double def,
                       double lo = -DBL_MAX, double hi = DBL_MAX) const;
  std::string requireString(const TiXmlElement* e, const char* attr,
                            const std::string& def) const;

  // "WARNING: <file>: <element> (line n): <message>"; e may be null (file level).
  void warn(const TiXmlElement* e, const std::string& message) const;
  // Messages printed so far.
  int problems() const { return problems_; }
  const std::string& path() const { return path_; }
  // The last message any reader printed, "<file>: <what>" without the WARNING: mark:
  // a screen that gives up on a file can tell the player why. Cleared before the
  // reading in question.
  static const std::string& lastProblem();
  static void clearLastProblem();

  // Rectangle parts beyond this could not be turned into whole pixels.
  static constexpr double kLargestRectValue = 1.0e7;

 private:
  // Counts, keeps and prints one message about the file.
  void say(const std::string& text) const;
  bool missing(const TiXmlElement* e, const char* attr) const;
  void badValue(const TiXmlElement* e, const char* attr, const char* why,
                const std::string& used) const;

  std::string path_;
  mutable int problems_ = 0;
};

}  // namespace bge
