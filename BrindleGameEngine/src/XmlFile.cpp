#include "XmlFile.h"

#include <cstring>

#include "RegularFile.h"

namespace {
// More than the longest character TinyXML can step over.
constexpr size_t kSpareZeros = 8;

// Line ends become "\n", in place: the text only ever gets shorter.
void normaliseLineEnds(std::string& text) {
  size_t out = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    if (text[i] != '\r') {
      text[out++] = text[i];
    } else {
      text[out++] = '\n';
      if (i + 1 < n && text[i + 1] == '\n') ++i;
    }
  }
  text.resize(out);
}

// Skips to just past `end` (or to the end of the text).
size_t skipPast(const std::string& text, size_t from, const char* end) {
  const size_t at = text.find(end, from);
  return at == std::string::npos ? text.size() : at + std::strlen(end);
}

// Whether elements nest deeper than `limit`, counted the way TinyXML recurses:
// every "<" that opens an element goes one level down until its "/>" or its
// "</...>". Comments, CDATA, declarations and quoted attribute values hold no
// elements. A malformed text may count deeper than TinyXML would go, never
// shallower before the point where TinyXML stops with an error.
bool nestsDeeperThan(const std::string& text, int limit) {
  int depth = 0;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    i = text.find('<', i);
    if (i == std::string::npos) break;
    if (text.compare(i, 4, "<!--") == 0) {
      i = skipPast(text, i + 4, "-->");
    } else if (text.compare(i, 9, "<![CDATA[") == 0) {
      i = skipPast(text, i + 9, "]]>");
    } else if (i + 1 < n && (text[i + 1] == '!' || text[i + 1] == '?')) {
      i = skipPast(text, i + 2, ">");
    } else if (i + 1 < n && text[i + 1] == '/') {
      if (depth > 0) --depth;
      i = skipPast(text, i + 2, ">");
    } else {
      if (++depth > limit) return true;
      // To the end of the tag; a quoted value may hold '>' or '/'.
      char last = 0;
      for (++i; i < n && text[i] != '>'; ++i) {
        const char c = text[i];
        if (c == '"' || c == '\'') {
          const size_t close = text.find(c, i + 1);
          i = close == std::string::npos ? n - 1 : close;
          last = c;
        } else if (c != ' ' && c != '\t' && c != '\n') {
          last = c;
        }
      }
      if (last == '/') --depth;
      ++i;
    }
  }
  return false;
}

// The text is in `buffer`, which this function owns from here on.
bool parseBuffer(TiXmlDocument& document, std::string& buffer, TiXmlEncoding encoding, std::string* why) {
  normaliseLineEnds(buffer);
  document.ClearError();
  if (nestsDeeperThan(buffer, kMaxXmlDepth)) {
    document.SetError(TiXmlBase::TIXML_ERROR_PARSING_ELEMENT, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
    if (why) *why = "nests elements deeper than " + std::to_string(kMaxXmlDepth) + " levels; refused";
    return false;
  }
  buffer.append(kSpareZeros, '\0');
  document.Parse(buffer.c_str(), nullptr, encoding);
  if (document.Error() && why) {
    const char* reason = document.ErrorDesc();
    *why = std::string(reason && *reason ? reason : "is not well-formed XML") + " (line " +
           std::to_string(document.ErrorRow()) + ")";
  }
  return !document.Error();
}

}  // namespace

bool parseXml(TiXmlDocument& document, const std::string& text, TiXmlEncoding encoding, std::string* why) {
  if (text.size() > bge::kMaxContentFileBytes) {
    document.SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
    if (why) *why = bge::describeFileRead(bge::FileReadResult::TooBig, bge::kMaxContentFileBytes);
    return false;
  }
  std::string buffer;
  buffer.reserve(text.size() + kSpareZeros);
  buffer = text;
  return parseBuffer(document, buffer, encoding, why);
}

bool loadXmlFile(TiXmlDocument& document, const std::string& path, TiXmlEncoding encoding, std::string* why) {
  std::string buffer;
  const bge::FileReadResult read = bge::readRegularFile(path, bge::kMaxContentFileBytes, buffer, kSpareZeros);
  if (read != bge::FileReadResult::Read) {
    document.SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
    if (why) *why = bge::describeFileRead(read, bge::kMaxContentFileBytes);
    return false;
  }
  return parseBuffer(document, buffer, encoding, why);
}
