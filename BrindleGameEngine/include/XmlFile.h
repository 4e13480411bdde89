#pragma once
#include <tinyxml.h>

#include <string>

// TinyXML steps over a multi-byte character whole, so a character cut off at
// the very end of a document makes it read past the end of its buffer. Every
// XML file is therefore read here, into a buffer with spare zero bytes behind
// the text, with line ends made "\n" as TiXmlDocument::LoadFile makes them.
bool loadXmlFile(TiXmlDocument& document, const std::string& path,
                 TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING);
// The same for a document already in memory.
bool parseXml(TiXmlDocument& document, const std::string& text,
              TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING);
