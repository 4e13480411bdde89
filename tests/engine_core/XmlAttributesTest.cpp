#include "XmlAttributes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "TestEnv.h"

namespace {

class XmlReaderTest : public ::testing::Test {
 protected:
  TiXmlElement* element(const std::string& text) {
    EXPECT_TRUE(reader.parse(doc, text));
    return doc.RootElement();
  }
  bge::XmlReader reader{"content/test/sample.xml"};
  TiXmlDocument doc;
};

TEST_F(XmlReaderTest, GoodValuesReadWithoutMessages) {
  TiXmlElement* e = element(
      "<Item n=' 42 ' neg='-7' f='1.5' d='2.25e3' yes='true' no='0' older='yes' s='word'"
      " c='Color(1, 2, 3, 255)' r='Rect(10, 20.5, 300, 40)' list='3, 1,2'/>");
  EXPECT_EQ(reader.readInt(e, "n", 0), 42);
  EXPECT_EQ(reader.readInt(e, "neg", 0, -10, 10), -7);
  EXPECT_FLOAT_EQ(reader.readFloat(e, "f", 0.0f), 1.5f);
  EXPECT_DOUBLE_EQ(reader.readDouble(e, "d", 0.0), 2250.0);
  EXPECT_TRUE(reader.readBool(e, "yes", false));
  EXPECT_FALSE(reader.readBool(e, "no", true));
  EXPECT_TRUE(reader.readBool(e, "older", false));
  EXPECT_EQ(reader.readString(e, "s", ""), "word");
  EXPECT_EQ(reader.readColor(e, "c", Color::white), Color(1, 2, 3, 255));
  const Rect5 r = reader.readRect(e, "r", Rect5());
  EXPECT_FLOAT_EQ(r.y, 20.5f);
  EXPECT_FLOAT_EQ(r.width, 300.0f);
  EXPECT_EQ(reader.readIntList(e, "list", {}), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(reader.requireInt(e, "n", 0), 42);
  EXPECT_EQ(reader.problems(), 0);
}

TEST_F(XmlReaderTest, AbsentGivesDefaultQuietlyUnlessRequired) {
  TiXmlElement* e = element("<Item/>");
  EXPECT_EQ(reader.readInt(e, "n", 5), 5);
  EXPECT_EQ(reader.readString(e, "s", "dflt"), "dflt");
  EXPECT_EQ(reader.readInt(nullptr, "n", 6), 6);
  EXPECT_EQ(reader.problems(), 0);
  testing::internal::CaptureStdout();
  EXPECT_EQ(reader.requireInt(e, "count", 9), 9);
  EXPECT_EQ(reader.requireString(e, "name", "x"), "x");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(reader.problems(), 2);
  EXPECT_NE(out.find("content/test/sample.xml: Item (line 1): attribute count is missing"),
            std::string::npos) << out;
}

// The old configuration reader turned garbage into 0 and let a number past an
// int's range be undefined; each of these must give the default and say so.
TEST_F(XmlReaderTest, MalformedOrOutOfRangeGivesDefaultAndNamesFileElementAttribute) {
  TiXmlElement* e = element(
      "<Config>\n <Res width='abc' height='12px' depth='99999999999999999999' big='500'"
      " nan='nan' inf='-inf' huge='1e300' flag='maybe' c='Color(1,2,3)' c2='Color(1,2,3,256)'"
      " r='Rect(0,0,nan,4)' r2='Rect(0,0,1e9,4)' list='1,x,3' empty=''/>\n</Config>");
  const TiXmlElement* res = e->FirstChildElement("Res");
  testing::internal::CaptureStdout();
  EXPECT_EQ(reader.readInt(res, "width", 800), 800);
  EXPECT_EQ(reader.readInt(res, "height", 600), 600);
  EXPECT_EQ(reader.readInt(res, "depth", 32), 32);
  EXPECT_EQ(reader.readInt(res, "big", 1, 0, 100), 1);
  EXPECT_EQ(reader.readInt(res, "empty", 3), 3);
  EXPECT_FLOAT_EQ(reader.readFloat(res, "nan", 0.5f), 0.5f);
  EXPECT_FLOAT_EQ(reader.readFloat(res, "inf", 0.5f), 0.5f);
  EXPECT_FLOAT_EQ(reader.readFloat(res, "huge", 0.5f), 0.5f);  // no float holds it
  EXPECT_DOUBLE_EQ(reader.readDouble(res, "huge", 2.0, 0.0, 10.0), 2.0);
  EXPECT_TRUE(reader.readBool(res, "flag", true));
  EXPECT_EQ(reader.readColor(res, "c", Color::cyan), Color::cyan);
  EXPECT_EQ(reader.readColor(res, "c2", Color::cyan), Color::cyan);
  EXPECT_FLOAT_EQ(reader.readRect(res, "r", Rect5(1, 2, 3, 4)).width, 3.0f);
  EXPECT_FLOAT_EQ(reader.readRect(res, "r2", Rect5(1, 2, 3, 4)).width, 3.0f);
  EXPECT_EQ(reader.readIntList(res, "list", {7}), (std::vector<int>{1, 3}));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(reader.problems(), 15);
  EXPECT_NE(out.find("WARNING: content/test/sample.xml: Res (line 2): width=\"abc\""),
            std::string::npos) << out;
  EXPECT_NE(out.find("big=\"500\" is outside 0..100; 1 used"), std::string::npos) << out;
}

// Colours and rectangles used to fall back to white and zero, whatever the
// caller's default, and wrapped bytes: now any malformed text keeps the default.
TEST_F(XmlReaderTest, ColorAndRectSyntax) {
  const char* badColors[] = {"", "Color(1,2,3)", "Colour(1,2,3,4)", "Color)1,2,3,4(",
                             "Color(1,2,3,4", "(1,2,3,4)", "Color(1,2,3,4,5)", "Color(5,,7,8)",
                             "Color(256,0,0,255)", "tint=Color(1,2,3,4)"};
  const char* badRects[] = {"", "Rect(1,2,3,4,5)", "Rect(1,2,3)", "Color(1,2,3,4)", "Rect)1,2,3,4(",
                            "Rect(1,2,inf,4)"};
  testing::internal::CaptureStdout();
  for (const char* text : badColors) {
    TiXmlElement e("Item");
    e.SetAttribute("c", text);
    EXPECT_EQ(reader.readColor(&e, "c", Color::cyan), Color::cyan) << text;
  }
  for (const char* text : badRects) {
    TiXmlElement e("Item");
    e.SetAttribute("r", text);
    EXPECT_FLOAT_EQ(reader.readRect(&e, "r", Rect5(1, 2, 3, 4)).height, 4.0f) << text;
  }
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(reader.problems(), 16);
  TiXmlElement e("Item");
  e.SetAttribute("c", " Color ( 10, 20, 30, 40 ) ");
  e.SetAttribute("r", "Rect(1.5, 2, 30, 40.25)");
  EXPECT_EQ(reader.readColor(&e, "c", Color::white), Color(10, 20, 30, 40));
  const Rect5 r = reader.readRect(&e, "r", Rect5());
  EXPECT_FLOAT_EQ(r.x, 1.5f);
  EXPECT_FLOAT_EQ(r.z, 0.0f);
  EXPECT_FLOAT_EQ(r.height, 40.25f);
  EXPECT_EQ(reader.problems(), 16);
}

TEST_F(XmlReaderTest, FileLevelFailuresNameTheFile) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.root() + "/broken.xml";
  std::ofstream(path) << "<Root><Open></Root>";
  bge::XmlReader broken(path);
  TiXmlDocument doc1;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(broken.load(doc1));
  bge::XmlReader absent(dirs.root() + "/absent.xml");
  TiXmlDocument doc2;
  EXPECT_FALSE(absent.load(doc2));
  std::ofstream(dirs.root() + "/other.xml") << "<Other/>";
  bge::XmlReader other(dirs.root() + "/other.xml");
  TiXmlDocument doc3;
  EXPECT_TRUE(other.load(doc3));
  EXPECT_EQ(other.root(doc3, "Config"), nullptr);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(broken.problems(), 1);
  EXPECT_EQ(absent.problems(), 1);
  EXPECT_EQ(other.problems(), 1);
  EXPECT_NE(out.find(path), std::string::npos) << out;
  EXPECT_NE(out.find("absent.xml: cannot be opened"), std::string::npos) << out;
  EXPECT_NE(out.find("<Other>"), std::string::npos) << out;
}

}  // namespace
