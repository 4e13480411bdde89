// The strings file: what is loaded, what is skipped, and what a miss shows.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "LabelManager.h"
#include "TestEnv.h"

namespace {

std::string writeStrings(const testenv::TempUserDirs& dirs, const std::string& name,
                         const std::string& body) {
  const std::string path = dirs.data() + "/" + name;
  std::ofstream(path) << "<?xml version=\"1.0\" ?>\n" << body;
  return path;
}

TEST(LabelManager, LoadsFirstAttributesAndLaterDuplicatesWin) {
  testenv::TempUserDirs dirs;
  LabelManager labels;
  labels.loadFromXml(writeStrings(dirs, "a.xml",
      "<Strings>\n"
      "  <L LABEL_OK=\"Ok\"/>\n"
      "  <L LABEL_START=\"Start mission\" LABEL_IGNORED=\"x\"/>\n"
      "  <Bare/>\n"
      "  <L LABEL_OK=\"Fine\"/>\n"
      "</Strings>\n"));
  EXPECT_EQ(labels.getLabel("LABEL_OK"), "Fine");
  EXPECT_EQ(labels.getLabel("LABEL_START"), "Start mission");
  EXPECT_EQ(labels.getLabel("LABEL_IGNORED"), "error::label not found! -> LABEL_IGNORED");
  // The element without an attribute is skipped, and the ones after it still load.
  EXPECT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels.countWords(), 3);

  // A second file replaces everything.
  labels.loadFromXml(writeStrings(dirs, "b.xml", "<Strings><L MODE_X=\"Skirmish\"/></Strings>"));
  EXPECT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels.getLabel("LABEL_OK"), "error::label not found! -> LABEL_OK");
  EXPECT_EQ(labels.getLabel("MODE_X"), "Skirmish");
}

TEST(LabelManager, UnreadableOrOddFilesLeaveAnEmptyTable) {
  testenv::TempUserDirs dirs;
  LabelManager labels;
  labels.setLabel("KEEP", "gone after load");
  labels.loadFromXml(dirs.data() + "/missing.xml");
  EXPECT_EQ(labels.size(), 0u);
  EXPECT_EQ(labels.getLabel("NOPE"), "error::label not found! -> NOPE");

  labels.loadFromXml(writeStrings(dirs, "comment.xml",
                                  "<Strings><!-- first --><L A=\"b\"/></Strings>"));
  EXPECT_EQ(labels.size(), 0u);
  labels.loadFromXml(writeStrings(dirs, "noroot.xml", "<Other><L A=\"b\"/></Other>"));
  EXPECT_EQ(labels.size(), 0u);
  labels.loadFromXml(writeStrings(dirs, "broken.xml", "<Strings><L A=\"b\"></Strings>"));
  EXPECT_EQ(labels.size(), 0u);
}

TEST(LabelManager, AMissingKeyIsReportedOncePerKeyNamingTheFile) {
  // The panels ask for their texts every frame: one line per key, not per frame.
  testenv::TempUserDirs dirs;
  LabelManager labels;
  const std::string path = writeStrings(dirs, "s.xml", "<Strings><L LABEL_OK=\"Ok\"/></Strings>");
  labels.loadFromXml(path);
  testing::internal::CaptureStdout();
  for (int frame = 0; frame < 3; ++frame) {
    labels.getLabel("LABEL_OK");
    labels.getLabel("LABEL_GONE");
    labels.getLabel("LABEL_LOST");
  }
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, "WARNING: " + path + ": no label LABEL_GONE\nWARNING: " + path + ": no label LABEL_LOST\n");
  EXPECT_EQ(labels.missingKeys(), (std::set<std::string>{"LABEL_GONE", "LABEL_LOST"}));
}

TEST(LabelManager, ShippedStringsLoad) {
  LabelManager labels;
  labels.loadFromXml(STARMOOR_SOURCE_DIR "/content/strings/english.xml");
  EXPECT_GT(labels.size(), 0u);
  EXPECT_EQ(labels.getLabel("LABEL_CONTINUE"), "Continue");
}

}  // namespace
