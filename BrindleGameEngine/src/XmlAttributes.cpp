#include "XmlAttributes.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "LayoutValues.h"
#include "XmlFile.h"

namespace bge {

XmlReader::XmlReader(std::string path) : path_(std::move(path)) {}

bool XmlReader::load(TiXmlDocument& doc) {
  if (loadXmlFile(doc, path_)) return true;
  ++problems_;
  std::printf("WARNING: %s: cannot be read: %s\n", path_.c_str(), doc.ErrorDesc() ? doc.ErrorDesc() : "no file");
  return false;
}

bool XmlReader::parse(TiXmlDocument& doc, const std::string& text) {
  if (parseXml(doc, text)) return true;
  ++problems_;
  std::printf("WARNING: %s: cannot be read: %s\n", path_.c_str(), doc.ErrorDesc() ? doc.ErrorDesc() : "");
  return false;
}

TiXmlElement* XmlReader::root(TiXmlDocument& doc, const char* name) const {
  TiXmlElement* e = doc.RootElement();
  if (e && e->ValueStr() == name) return e;
  ++problems_;
  std::printf("WARNING: %s: the root element %s is missing\n", path_.c_str(), name);
  return nullptr;
}

void XmlReader::warn(const TiXmlElement* e, const std::string& message) const {
  ++problems_;
  if (e) std::printf("WARNING: %s: %s (line %d): %s\n", path_.c_str(), e->Value(), e->Row(), message.c_str());
  else std::printf("WARNING: %s: %s\n", path_.c_str(), message.c_str());
}

bool XmlReader::has(const TiXmlElement* e, const char* attr) const { return e && e->Attribute(attr) != nullptr; }

bool XmlReader::readNumber(const TiXmlElement* e, const char* attr, double lo, double hi, bool integral,
                           double& out) const {
  const char* text = e ? e->Attribute(attr) : nullptr;
  if (!text) return false;
  errno = 0;
  char* end = nullptr;
  const double v = integral ? static_cast<double>(std::strtoll(text, &end, 10)) : std::strtod(text, &end);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end == text || !end || *end != '\0' || errno == ERANGE || !std::isfinite(v)) {
    warn(e, std::string("attribute ") + attr + " \"" + text + "\" is not a number; the default is used");
    return false;
  }
  if (v < lo || v > hi) {
    warn(e, std::string("attribute ") + attr + " " + text + " is out of range; the default is used");
    return false;
  }
  out = v;
  return true;
}

int XmlReader::readInt(const TiXmlElement* e, const char* attr, int def, int lo, int hi) const {
  double v;
  return readNumber(e, attr, lo, hi, true, v) ? static_cast<int>(v) : def;
}

float XmlReader::readFloat(const TiXmlElement* e, const char* attr, float def, float lo, float hi) const {
  double v;
  return readNumber(e, attr, lo, hi, false, v) ? static_cast<float>(v) : def;
}

double XmlReader::readDouble(const TiXmlElement* e, const char* attr, double def, double lo, double hi) const {
  double v;
  return readNumber(e, attr, lo, hi, false, v) ? v : def;
}

bool XmlReader::readBool(const TiXmlElement* e, const char* attr, bool def) const {
  const char* text = e ? e->Attribute(attr) : nullptr;
  if (!text) return def;
  const std::string s = text;
  if (s == "true" || s == "1") return true;
  if (s == "false" || s == "0") return false;
  warn(e, std::string("attribute ") + attr + " \"" + s + "\" is not true or false; the default is used");
  return def;
}

std::string XmlReader::readString(const TiXmlElement* e, const char* attr, const std::string& def) const {
  const char* text = e ? e->Attribute(attr) : nullptr;
  return text ? std::string(text) : def;
}

Color XmlReader::readColor(const TiXmlElement* e, const char* attr, const Color& def) const {
  const char* text = e ? e->Attribute(attr) : nullptr;
  if (!text) return def;
  const std::string s = text;
  if (s.rfind("Color", 0) != 0) {
    warn(e, std::string("attribute ") + attr + " is not a Color(r, g, b, a); the default is used");
    return def;
  }
  return parseColor(s);
}

Rect5 XmlReader::readRect(const TiXmlElement* e, const char* attr, const Rect5& def) const {
  const char* text = e ? e->Attribute(attr) : nullptr;
  if (!text) return def;
  return parseRect(text);
}

int XmlReader::requireInt(const TiXmlElement* e, const char* attr, int def, int lo, int hi) const {
  if (!has(e, attr)) warn(e, std::string("attribute ") + attr + " is missing");
  return readInt(e, attr, def, lo, hi);
}

float XmlReader::requireFloat(const TiXmlElement* e, const char* attr, float def, float lo, float hi) const {
  if (!has(e, attr)) warn(e, std::string("attribute ") + attr + " is missing");
  return readFloat(e, attr, def, lo, hi);
}

std::string XmlReader::requireString(const TiXmlElement* e, const char* attr, const std::string& def) const {
  if (!has(e, attr)) warn(e, std::string("attribute ") + attr + " is missing");
  return readString(e, attr, def);
}

}  // namespace bge
