#include "XmlAttributes.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "XmlFile.h"

namespace bge {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The whole text, give or take surrounding blanks, is one integer that fits a long.
bool parseWholeLong(const char* text, long& out) {
  while (isBlank(*text)) ++text;
  if (!*text) return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE) return false;
  while (isBlank(*end)) ++end;
  if (*end) return false;
  out = value;
  return true;
}

// The whole text is one number; "nan" and "inf" parse here and are refused by the caller.
bool parseWholeDouble(const char* text, double& out) {
  while (isBlank(*text)) ++text;
  if (!*text) return false;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text) return false;
  while (isBlank(*end)) ++end;
  if (*end) return false;
  out = value;
  return true;
}

// The comma-separated parts between "<word>(" and ")", nothing but blanks around them.
bool bracketParts(const char* text, const char* word, std::vector<std::string>& parts) {
  std::string s = text;
  const size_t first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return false;
  s = s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
  const size_t wordLength = std::strlen(word);
  if (s.compare(0, wordLength, word) != 0) return false;
  size_t open = wordLength;
  while (open < s.size() && isBlank(s[open])) ++open;
  if (open >= s.size() || s[open] != '(' || s.back() != ')') return false;
  const std::string inner = s.substr(open + 1, s.size() - open - 2);
  parts.clear();
  size_t start = 0;
  for (;;) {
    const size_t comma = inner.find(',', start);
    parts.push_back(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

std::string describe(const Color& c) {
  char text[64];
  std::snprintf(text, sizeof text, "Color(%d, %d, %d, %d)", c.r, c.g, c.b, c.a);
  return text;
}

std::string describe(const Rect5& r) {
  char text[128];
  std::snprintf(text, sizeof text, "Rect(%g, %g, %g, %g)", static_cast<double>(r.x),
                static_cast<double>(r.y), static_cast<double>(r.width),
                static_cast<double>(r.height));
  return text;
}

std::string describe(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}


}  // namespace

XmlReader::XmlReader(std::string path) : path_(std::move(path)) {}

XmlReader XmlReader::forDocumentOf(const TiXmlElement* e, const char* fallback) {
  const TiXmlDocument* doc = e ? e->GetDocument() : nullptr;
  const char* name = doc ? doc->Value() : nullptr;
  return XmlReader(name && *name ? name : fallback);
}

bool XmlReader::load(TiXmlDocument& doc, TiXmlEncoding encoding) const {
  doc.SetValue(path_);
  std::string why;
  if (loadXmlFile(doc, path_, encoding, &why)) return true;
  say(path_ + ": " + why);
  return false;
}

bool XmlReader::parse(TiXmlDocument& doc, const std::string& text, TiXmlEncoding encoding) const {
  doc.SetValue(path_);
  std::string why;
  if (parseXml(doc, text, encoding, &why)) return true;
  say(path_ + ": " + why);
  return false;
}

TiXmlElement* XmlReader::root(TiXmlDocument& doc, const char* name) const {
  TiXmlElement* element = doc.RootElement();
  if (element && element->ValueStr() == name) return element;
  if (element) {
    say(path_ + ": the root element is <" + element->ValueStr() + "> (line " + std::to_string(element->Row()) +
        "), not <" + name + ">");
  } else {
    say(path_ + ": no root element <" + name + ">");
  }
  return nullptr;
}

bool XmlReader::has(const TiXmlElement* e, const char* attr) const {
  return e && e->Attribute(attr);
}

void XmlReader::warn(const TiXmlElement* e, const std::string& message) const {
  if (e) {
    say(path_ + ": " + e->ValueStr() + " (line " + std::to_string(e->Row()) + "): " + message);
  } else {
    say(path_ + ": " + message);
  }
}

namespace {
std::string& lastProblemText() {
  static std::string text;
  return text;
}
}  // namespace

const std::string& XmlReader::lastProblem() { return lastProblemText(); }

void XmlReader::clearLastProblem() { lastProblemText().clear(); }

void XmlReader::say(const std::string& text) const {
  ++problems_;
  lastProblemText() = text;
  std::printf("WARNING: %s\n", text.c_str());
}

bool XmlReader::missing(const TiXmlElement* e, const char* attr) const {
  if (has(e, attr)) return false;
  warn(e, std::string("attribute ") + attr + " is missing");
  return true;
}

void XmlReader::badValue(const TiXmlElement* e, const char* attr, const char* why,
                         const std::string& used) const {
  warn(e, std::string(attr) + "=\"" + e->Attribute(attr) + "\" " + why + "; " + used + " used");
}

int XmlReader::readInt(const TiXmlElement* e, const char* attr, int def, int lo, int hi) const {
  if (!has(e, attr)) return def;
  long value = 0;
  if (!parseWholeLong(e->Attribute(attr), value)) {
    badValue(e, attr, "is not a whole number", std::to_string(def));
    return def;
  }
  if (value < lo || value > hi) {
    badValue(e, attr,
             ("is outside " + std::to_string(lo) + ".." + std::to_string(hi)).c_str(),
             std::to_string(def));
    return def;
  }
  return static_cast<int>(value);
}

double XmlReader::readDouble(const TiXmlElement* e, const char* attr, double def, double lo,
                             double hi) const {
  if (!has(e, attr)) return def;
  double value = 0.0;
  if (!parseWholeDouble(e->Attribute(attr), value)) {
    badValue(e, attr, "is not a number", describe(def));
    return def;
  }
  if (!std::isfinite(value)) {
    badValue(e, attr, "is not a finite number", describe(def));
    return def;
  }
  if (value < lo || value > hi) {
    badValue(e, attr, ("is outside " + describe(lo) + ".." + describe(hi)).c_str(), describe(def));
    return def;
  }
  return value;
}

float XmlReader::readFloat(const TiXmlElement* e, const char* attr, float def, float lo,
                           float hi) const {
  // The float range bounds the double read, so a value no float holds is refused.
  return static_cast<float>(readDouble(e, attr, static_cast<double>(def),
                                       static_cast<double>(lo), static_cast<double>(hi)));
}

bool XmlReader::readBool(const TiXmlElement* e, const char* attr, bool def) const {
  if (!has(e, attr)) return def;
  const char* text = e->Attribute(attr);
  if (!std::strcmp(text, "true") || !std::strcmp(text, "1") || !std::strcmp(text, "yes")) return true;
  if (!std::strcmp(text, "false") || !std::strcmp(text, "0") || !std::strcmp(text, "no")) return false;
  badValue(e, attr, "is neither true nor false", def ? "true" : "false");
  return def;
}

std::string XmlReader::readString(const TiXmlElement* e, const char* attr,
                                  const std::string& def) const {
  return has(e, attr) ? std::string(e->Attribute(attr)) : def;
}

Color XmlReader::readColor(const TiXmlElement* e, const char* attr, const Color& def) const {
  if (!has(e, attr)) return def;
  std::vector<std::string> parts;
  int channel[4] = {0, 0, 0, 0};
  bool good = bracketParts(e->Attribute(attr), "Color", parts) && parts.size() == 4;
  for (size_t i = 0; good && i < 4; ++i) {
    long value = 0;
    good = parseWholeLong(parts[i].c_str(), value) && value >= 0 && value <= 255;
    channel[i] = static_cast<int>(value);
  }
  if (!good) {
    badValue(e, attr, "is not Color(r, g, b, a) with parts 0..255", describe(def));
    return def;
  }
  return Color(channel[0], channel[1], channel[2], channel[3]);
}

Rect5 XmlReader::readRect(const TiXmlElement* e, const char* attr, const Rect5& def) const {
  if (!has(e, attr)) return def;
  std::vector<std::string> parts;
  double v[4] = {0.0, 0.0, 0.0, 0.0};
  bool good = bracketParts(e->Attribute(attr), "Rect", parts) && parts.size() == 4;
  for (size_t i = 0; good && i < 4; ++i) {
    good = parseWholeDouble(parts[i].c_str(), v[i]) && std::isfinite(v[i]) &&
           std::fabs(v[i]) <= kLargestRectValue;
  }
  if (!good) {
    badValue(e, attr, "is not Rect(x, y, w, h) with finite parts of screen size", describe(def));
    return def;
  }
  return Rect5(static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]),
               static_cast<float>(v[3]));
}

std::vector<int> XmlReader::readIntList(const TiXmlElement* e, const char* attr,
                                        const std::vector<int>& def, int lo, int hi) const {
  if (!has(e, attr)) return def;
  std::vector<int> out;
  const std::string text = e->Attribute(attr);
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string part =
        text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    long value = 0;
    if (parseWholeLong(part.c_str(), value) && value >= lo && value <= hi) {
      out.push_back(static_cast<int>(value));
    } else {
      warn(e, std::string(attr) + "=\"" + text + "\": \"" + part + "\" is not a whole number " +
                  std::to_string(lo) + ".." + std::to_string(hi) + "; left out");
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

int XmlReader::requireInt(const TiXmlElement* e, const char* attr, int def, int lo, int hi) const {
  return missing(e, attr) ? def : readInt(e, attr, def, lo, hi);
}

float XmlReader::requireFloat(const TiXmlElement* e, const char* attr, float def, float lo,
                              float hi) const {
  return missing(e, attr) ? def : readFloat(e, attr, def, lo, hi);
}

double XmlReader::requireDouble(const TiXmlElement* e, const char* attr, double def, double lo,
                                double hi) const {
  return missing(e, attr) ? def : readDouble(e, attr, def, lo, hi);
}

std::string XmlReader::requireString(const TiXmlElement* e, const char* attr,
                                     const std::string& def) const {
  return missing(e, attr) ? def : readString(e, attr, def);
}

}  // namespace bge
