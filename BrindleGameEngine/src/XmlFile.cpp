#include "XmlFile.h"

#include <cstdio>

namespace {
// More than the longest character TinyXML can step over.
constexpr size_t kSpareZeros = 8;
}  // namespace

bool parseXml(TiXmlDocument& document, const std::string& text, TiXmlEncoding encoding) {
  std::string buffer;
  buffer.reserve(text.size() + kSpareZeros);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      buffer += text[i];
    } else {
      buffer += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  buffer.append(kSpareZeros, '\0');
  document.ClearError();
  document.Parse(buffer.c_str(), nullptr, encoding);
  return !document.Error();
}

bool loadXmlFile(TiXmlDocument& document, const std::string& path, TiXmlEncoding encoding) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    document.SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
    return false;
  }
  std::string text;
  char chunk[4096];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
  const bool readError = std::ferror(file) != 0;
  std::fclose(file);
  if (readError) {
    document.SetError(TiXmlBase::TIXML_ERROR_OPENING_FILE, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
    return false;
  }
  return parseXml(document, text, encoding);
}
