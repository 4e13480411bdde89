// Labels: line placement by alignment, and what the factory refuses.
#include <tinyxml.h>
#include <gtest/gtest.h>

#include "ResourceManager.h"
#include "WidgetTestSupport.h"
#include "widgets/Label.h"

using namespace widgettest;

namespace {

int firstLineY(int vAlign) {
  FixedFont font;
  bge::Label label(-1, "", Rect5(0.0f, 10.0f, 200.0f, 100.0f), &font, Color::white,
                   bge::kAlignLeft, vAlign);
  label.setText("one\ntwo\nsix");
  EXPECT_EQ(3u, label.getLines().size());
  return label.getLines().empty() ? -1 : label.getLines()[0].y;
}

TEST(LabelLayout, VerticalAlignmentPlacesTheBlock) {
  EXPECT_EQ(30, firstLineY(bge::kAlignCenter));
  EXPECT_EQ(50, firstLineY(bge::kAlignBottom));
  EXPECT_EQ(10, firstLineY(bge::kAlignTop));
}

TEST(LabelLayout, HorizontalAlignmentAndBreaking) {
  FixedFont font;
  bge::Label right(-1, "", Rect5(10.0f, 0.0f, 200.0f, 40.0f), &font, Color::white,
                   bge::kAlignRight, bge::kAlignTop);
  right.setText("abc");
  ASSERT_EQ(1u, right.getLines().size());
  EXPECT_EQ(180, right.getLines()[0].x);

  bge::Label centred(-1, "", Rect5(0.0f, 0.0f, 100.0f, 40.0f), &font, Color::white,
                     bge::kAlignCenter, bge::kAlignTop);
  centred.setText("aaaa bbbb cc");
  ASSERT_EQ(2u, centred.getLines().size());
  EXPECT_EQ("aaaa bbbb", centred.getLines()[0].text);
  EXPECT_EQ(5, centred.getLines()[0].x);
  EXPECT_EQ(40, centred.getLines()[1].x);
  EXPECT_EQ(20, centred.getLines()[1].y);

  // With no key and no text there is nothing to show.
  centred.setText("");
  EXPECT_TRUE(centred.getLines().empty());
}

TEST(LabelLayout, DrawsEachLineThenItsOutline) {
  FixedFont font;
  FixedFont outline;
  bge::Label label(-1, "", Rect5(0.0f, 0.0f, 100.0f, 40.0f), &font, Color::cyan,
                   bge::kAlignLeft, bge::kAlignTop);
  label.setOutlineFont(&outline);
  label.setText("hi\nyo");
  RecordingGraphics g;
  label.draw(&g, nullptr);
  ASSERT_EQ(2u, font.drawn.size());
  ASSERT_EQ(2u, outline.drawn.size());
  EXPECT_EQ(Color::cyan, font.drawn[1].color);
  EXPECT_EQ(Color::black, outline.drawn[1].color);
  EXPECT_FLOAT_EQ(20, outline.drawn[1].y);
}

bge::Label* fromXml(ResourceManager* resources, const char* xml) {
  TiXmlDocument doc;
  doc.Parse(xml);
  return bge::createLabelFromXml(doc.RootElement(), resources);
}

TEST(LabelFactory, NeedsTextAndAKnownFont) {
  ResourceManager resources;
  resources.registerFont("F", new FixedFont());
  EXPECT_EQ(nullptr, fromXml(&resources, "<Label font=\"F\"/>"));
  EXPECT_EQ(nullptr, fromXml(&resources, "<Label text=\"K\"/>"));
  EXPECT_EQ(nullptr, fromXml(&resources, "<Label text=\"K\" font=\"NOPE\"/>"));
  EXPECT_EQ(nullptr, fromXml(nullptr, "<Label text=\"K\" font=\"F\"/>"));

  bge::Label* label = fromXml(&resources,
      "<TextLabel id=\"4\" x=\"30\" y=\"40\" text=\"KEY\" font=\"F\" fontOutline=\"NOPE\""
      " rect=\"Rect(0, 0, 300, 50)\" color=\"Color(1, 2, 3, 4)\" horizontalAlignment=\"left\""
      " verticalAlignment=\"BOTTOM\"/>");
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(4, label->getLayoutId());
  EXPECT_EQ(-1, label->getId());
  EXPECT_FLOAT_EQ(30, label->getX());
  EXPECT_EQ(Color(1, 2, 3, 4), label->getColor());
  EXPECT_EQ(bge::kAlignCenter, label->getHAlign());  // only "LEFT" means left
  EXPECT_EQ(bge::kAlignBottom, label->getVAlign());
  EXPECT_EQ(nullptr, label->getOutlineFont());
  EXPECT_FLOAT_EQ(300, label->getTextRect().width);
  delete label;
}

}  // namespace
