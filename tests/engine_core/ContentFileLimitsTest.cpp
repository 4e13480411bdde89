// What a content file may be before any reader parses it: a regular file of
// bounded size whose elements nest to a bounded depth. Everything else is
// refused with a message naming the file, without reading it whole.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "ConfigFile.h"
#include "RegularFile.h"
#include "TestEnv.h"
#include "XmlAttributes.h"
#include "XmlFile.h"

namespace {

namespace fs = std::filesystem;

std::string nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  return text;
}

// Loads the file through the readers' door; answers whether it loaded and what was printed.
bool load(const std::string& path, std::string& out) {
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  testing::internal::CaptureStdout();
  const bool loaded = reader.load(doc);
  out = testing::internal::GetCapturedStdout();
  return loaded;
}

TEST(ContentFileLimits, WhatIsNoContentFileIsRefusedByName) {
  testenv::TempUserDirs dirs;
  const struct {
    const char* name;
    std::function<void(const std::string&)> make;
    const char* reason;
  } cases[] = {
      {"nested 100000 deep, never closed",
       [](const std::string& p) {
         std::string text = "<Strings>";
         for (int i = 0; i < 100000; ++i) text += "<a>";
         std::ofstream(p) << text;
       },
       "nests elements deeper than 128 levels"},
      {"nested 50000 deep, closed", [](const std::string& p) { std::ofstream(p) << nested(50000); },
       "nests elements deeper than 128 levels"},
      // Sparse: refused from its size alone, never read.
      {"a byte over the limit",
       [](const std::string& p) {
         std::ofstream(p) << "<Stage/>";
         fs::resize_file(p, bge::kMaxContentFileBytes + 1);
       },
       "is larger than the 8388608 bytes"},
      {"a link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
       "is not a regular file"},
      {"a FIFO", [](const std::string& p) { ASSERT_EQ(0, mkfifo(p.c_str(), 0600)); }, "is not a regular file"},
      {"a folder", [](const std::string& p) { fs::create_directory(p); }, "is not a regular file"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dirs.root() + "/file" + std::to_string(n++) + ".xml";
    c.make(path);
    std::string out;
    EXPECT_FALSE(load(path, out));
    EXPECT_EQ(0u, out.rfind("WARNING: " + path + ": ", 0)) << out;
    EXPECT_NE(out.find(path + ": " + c.reason), std::string::npos) << out;
    EXPECT_EQ(1, std::count(out.begin(), out.end(), '\n')) << out;
  }
}

TEST(ContentFileLimits, DepthIsCountedAsTheParserNestsElements) {
  // Siblings, self-closed elements, comments and quoted values add no depth.
  auto document = [](int depth) {
    std::string text = "<?xml version=\"1.0\"?><!-- <a><a><a> --><Root a=\"x > y\" b='<c>'>";
    // Root, depth - 2 levels of n, and the empty elements one level below the last.
    for (int i = 2; i < depth; ++i) text += "<n v=\"/>\"><e/><e x='1' /><![CDATA[<a><a>]]>";
    for (int i = 2; i < depth; ++i) text += "</n>";
    return text + "</Root>";
  };
  TiXmlDocument doc;
  std::string why;
  EXPECT_TRUE(parseXml(doc, document(kMaxXmlDepth), TIXML_DEFAULT_ENCODING, &why)) << why;
  EXPECT_FALSE(parseXml(doc, document(kMaxXmlDepth + 1), TIXML_DEFAULT_ENCODING, &why));
  EXPECT_NE(why.find("deeper than"), std::string::npos) << why;
}

TEST(ContentFileLimits, AParameterFileLinkedToADeviceIsRefusedLikeAMissingOne) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.root() + "/GameParameters.cfg";
  fs::create_symlink("/dev/zero", path);
  testing::internal::CaptureStdout();
  EXPECT_THROW(ConfigFile file(path), ConfigFile::file_not_found);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(path + ": is not a regular file"), std::string::npos) << out;
}

}  // namespace
