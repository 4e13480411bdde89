#pragma once
#include <tinyxml.h>

#include <string>

// TinyXML steps over a multi-byte character whole, so a character cut off at
// the very end of a document makes it read past the end of its buffer. Every
// XML file is therefore read here, into a buffer with spare zero bytes behind
// the text, with line ends made "\n" as TiXmlDocument::LoadFile makes them.
//
// TinyXML parses (and frees) nested elements by recursion, one stack frame
// pair per level, so a document nested tens of thousands deep overflows the
// stack. Our deepest file nests 5 elements; a document nested deeper than this
// is refused before it is parsed.
constexpr int kMaxXmlDepth = 128;

// Reads the file through bge::readRegularFile (regular files of at most
// bge::kMaxContentFileBytes) and parses it. On failure `why`, when given, says
// what was wrong in words that follow the file's name in a message.
bool loadXmlFile(TiXmlDocument& document, const std::string& path,
                 TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING, std::string* why = nullptr);
// The same for a document already in memory.
bool parseXml(TiXmlDocument& document, const std::string& text,
              TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING, std::string* why = nullptr);
