// Layout elements turned into widgets: shared textures, depths and layers,
// defaults, and what each factory refuses.
#include <tinyxml.h>
#include <gtest/gtest.h>

#include <memory>

#include "GLTexture.h"
#include "ResourceManager.h"
#include "WidgetManager.h"
#include "WidgetTestSupport.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ImageWidget.h"
#include "widgets/ColorWall.h"
#include "widgets/Label.h"
#include "widgets/LayoutWidgetFactory.h"
#include "widgets/RadioButtonList.h"
#include "widgets/RadioButtonListListener.h"
#include "widgets/Slider.h"

using namespace widgettest;

namespace {

class LayoutFactoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(openGL()) << SDL_GetError();
    path_ = dirs_.root() + "/";
    writeSolid(path_ + "a.png", 30, 20);
    writeSolid(path_ + "b.png", 10, 10);
    resources_.registerFont("F", new FixedFont());
  }
  // Parses one layout and returns the children of its root.
  TiXmlElement* parse(const std::string& xml) {
    doc_.Clear();
    doc_.Parse(("<Screen>" + xml + "</Screen>").c_str());
    return doc_.RootElement()->FirstChildElement();
  }

  testenv::TempUserDirs dirs_;
  std::string path_;
  ResourceManager resources_;
  TiXmlDocument doc_;
};

TEST_F(LayoutFactoryTest, ImageWidgetsShareTexturesAndTakeLayerAsDepth) {
  TiXmlElement* first = parse(
      "<ImageWidget textureFilename=\"a.png\" x=\"5\" y=\"6\" width=\"30\" height=\"20\" id=\"9\""
      " layer=\"3\" angle=\"12.5\"/>"
      "<ImageWidget textureFilename=\"a.png\" mode=\"GL_NEAREST\" minimalSize=\"yes\"/>"
      "<ImageWidget textureFilename=\"b.png\" mode=\"GL_NEAREST\"/>"
      "<ImageWidget mode=\"GL_NEAREST\"/>"
      "<ImageWidget textureFilename=\"missing.png\"/>");
  std::unique_ptr<ImageWidget> a(createImageWidgetFromXml(first, &resources_, path_, nullptr));
  TiXmlElement* second = first->NextSiblingElement();
  std::unique_ptr<ImageWidget> b(createImageWidgetFromXml(second, &resources_, path_, nullptr));
  TiXmlElement* third = second->NextSiblingElement();
  ImageWidget* c = createImageWidgetFromXml(third, &resources_, path_, nullptr);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->getTexture(), b->getTexture());
  EXPECT_EQ(GLTexture::kLinear, static_cast<GLTexture*>(a->getTexture())->getGLFilter());
  EXPECT_EQ(GLTexture::kNearest, static_cast<GLTexture*>(c->getTexture())->getGLFilter());
  EXPECT_EQ(2, resources_.getTextureCount());
  EXPECT_EQ(resources_.findTexture(path_ + "a.png"), a->getTexture());
  EXPECT_FLOAT_EQ(3.0f, a->getZ());
  EXPECT_EQ(9, a->getLayoutId());
  EXPECT_EQ(-1, a->getId());
  EXPECT_FLOAT_EQ(12.5f, a->getAngle());
  EXPECT_FLOAT_EQ(0.0f, b->getWidth());
  EXPECT_FALSE(b->hitTest(0, 0));
  // Without a file name, or with a file that is not there, no widget.
  EXPECT_EQ(nullptr, createImageWidgetFromXml(third->NextSiblingElement(), &resources_, path_, nullptr));
  EXPECT_EQ(nullptr, createImageWidgetFromXml(third->NextSiblingElement()->NextSiblingElement(),
                                              &resources_, path_, nullptr));
  EXPECT_EQ(nullptr, createImageWidgetFromXml(first, nullptr, path_, nullptr));

  // Without a layer the screen gives the next free depth.
  BareScreen screen;
  screen.addWidget(a.release());
  screen.addWidget(c);
  EXPECT_FLOAT_EQ(4.0f, c->getZ());
}

TEST_F(LayoutFactoryTest, ImageWidgetTurnsOnlyAboveTheThreshold) {
  AlphaTexture texture(40, 20);
  ImageWidget image(&texture, 100, 50, 40, 20, -1);
  RecordingGraphics flat;
  image.setAngle(5e-7f);
  image.setScale(2.0f, 2.0f);
  image.draw(&flat, nullptr);
  EXPECT_TRUE(turnsAndScalesOf(flat).empty());
  ASSERT_EQ(1u, imagesOf(flat).size());
  EXPECT_FLOAT_EQ(0, imagesOf(flat)[0].x);

  RecordingGraphics turned;
  image.setAngle(90.0f);
  image.setScale(1.0f, 1.0f);
  image.draw(&turned, nullptr);
  EXPECT_EQ((std::vector<std::string>{"scale 1.000000 1.000000", "rotate 90"}),
            turnsAndScalesOf(turned));
  // Centred on the widget's own (x, y), measured from its corner.
  EXPECT_FLOAT_EQ(100 - 20, imagesOf(turned)[0].x);
  EXPECT_FLOAT_EQ(50 - 10, imagesOf(turned)[0].y);

  RecordingGraphics centred;
  image.setCenterRotation(true);
  image.draw(&centred, nullptr);
  EXPECT_FLOAT_EQ(0, imagesOf(centred)[0].x);
  EXPECT_EQ(0, centred.depth());
}

TEST_F(LayoutFactoryTest, ButtonsReadTexturesCaptionsAndTimings) {
  TiXmlElement* e = parse(
      "<Button id=\"4\" layer=\"2\" x=\"10\" y=\"20\" entryFadeDuration=\"300\""
      " overTextureFadeDuration=\"50\"><Texture normal=\"a.png\" over=\"a.png\" pressEffect=\"true\"/>"
      "<Label name=\"KEY\" fontName=\"F\" rect=\"Rect(1, 2, 28, 16)\" horizontalAlign=\"0\""
      " colorOver=\"Color(9, 9, 9, 9)\"/></Button>"
      "<Button><Texture normal=\"a.png\" over=\"b.png\"/><Label name=\"KEY\"/></Button>"
      "<Button id=\"5\"/>");
  std::unique_ptr<bge::Button> captioned(bge::createButtonFromXml(nullptr, e, &resources_, path_));
  ASSERT_TRUE(captioned);
  EXPECT_EQ(4, captioned->getButtonId());
  EXPECT_EQ(2, captioned->getLayer());
  EXPECT_FLOAT_EQ(0.0f, captioned->getZ());  // the layer is not the depth
  EXPECT_FLOAT_EQ(10, captioned->getX());
  EXPECT_FLOAT_EQ(30, captioned->getWidth());
  EXPECT_EQ(captioned->getNormalTexture(), captioned->getHoverTexture());
  EXPECT_EQ("KEY", captioned->getCaption());  // no text table: the key itself
  EXPECT_EQ("KEY", captioned->getCaptionKey());
  EXPECT_NE(nullptr, captioned->getFont());
  EXPECT_FLOAT_EQ(28, captioned->getCaptionRect().width);
  EXPECT_EQ(300, captioned->getEntryFadeDuration());
  EXPECT_EQ(50, captioned->getHoverFadeDuration());
  EXPECT_TRUE(captioned->hasPressEffect());

  std::unique_ptr<bge::Button> plain(
      bge::createButtonFromXml(nullptr, e->NextSiblingElement(), &resources_, path_));
  ASSERT_TRUE(plain);
  EXPECT_NE(plain->getNormalTexture(), plain->getHoverTexture());
  EXPECT_TRUE(plain->getCaption().empty());  // a label without a font gives no caption
  EXPECT_EQ(nullptr, plain->getFont());
  EXPECT_FLOAT_EQ(20, plain->getCaptionRect().height);  // defaults to the texture
  EXPECT_EQ(2, plain->getEntryFadeDuration());

  EXPECT_EQ(nullptr, bge::createButtonFromXml(
                         nullptr, e->NextSiblingElement()->NextSiblingElement(), &resources_, path_));
}

TEST_F(LayoutFactoryTest, CheckBoxesAndSlidersFromElements) {
  TiXmlElement* e = parse(
      "<Checkbox id=\"2\" layer=\"1\" x=\"3\" y=\"4\"><Texture normal=\"a.png\" checked=\"b.png\"/></Checkbox>"
      "<Slider id=\"6\" x=\"7\" y=\"8\" thumbPosition=\"15\" thumbMaxPosition=\"60\""
      " entryFadeDuration=\"100\"><Texture normal=\"a.png\" fill=\"a.png\" thumb=\"b.png\"/></Slider>"
      "<Checkbox id=\"3\"/>");
  std::unique_ptr<bge::CheckBox> box(bge::createCheckBoxFromXml(nullptr, e, &resources_, path_));
  ASSERT_TRUE(box);
  EXPECT_EQ(2, box->getCheckBoxId());
  EXPECT_EQ(1, box->getLayer());
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(500, box->getEntryFadeDuration());
  EXPECT_FLOAT_EQ(30, box->getWidth());
  std::unique_ptr<bge::Slider> slider(
      bge::createSliderFromXml(nullptr, e->NextSiblingElement(), &resources_, path_));
  ASSERT_TRUE(slider);
  EXPECT_FLOAT_EQ(0.25f, slider->getValue());
  EXPECT_EQ(100, slider->getEntryFadeDuration());
  EXPECT_FLOAT_EQ(7, slider->getX());
  EXPECT_EQ(nullptr, bge::createCheckBoxFromXml(nullptr, e->NextSiblingElement()->NextSiblingElement(),
                                                &resources_, path_));
}

struct Selections : bge::RadioButtonListListener {
  std::vector<std::vector<int>> events;
  void onSelectionChanged(int list, int row, int initial) override {
    events.push_back({list, row, initial});
  }
};

TEST_F(LayoutFactoryTest, RadioListsReportTheFileSelectionWhileBeingMade) {
  TiXmlElement* e = parse(
      "<RadioButtonList id=\"7\" x=\"100\" y=\"50\" width=\"200\" height=\"90\" selectedRowId=\"2\">"
      "<Row id=\"1\" width=\"200\" height=\"30\"><Checkbox><Texture normal=\"b.png\" checked=\"b.png\"/>"
      "</Checkbox><Label text=\"ONE\" font=\"F\"/></Row>"
      "<Row id=\"9\" y=\"30\" width=\"200\" height=\"30\"><Label text=\"LOST\" font=\"F\"/></Row>"
      "<Row id=\"2\" y=\"60\" width=\"200\" height=\"30\"><Checkbox y=\"60\"><Texture normal=\"b.png\""
      " checked=\"b.png\"/></Checkbox></Row></RadioButtonList>");
  Selections log;
  std::unique_ptr<bge::RadioButtonList> list(
      bge::createRadioButtonListFromXml(&log, e, &resources_, path_));
  ASSERT_TRUE(list);
  EXPECT_EQ((std::vector<std::vector<int>>{{7, 2, 1}}), log.events);
  ASSERT_EQ(2u, list->getRows().size());  // the row without a check box is left out
  EXPECT_EQ(nullptr, list->findRow(9));
  EXPECT_TRUE(list->findRow(2)->isChecked());
  EXPECT_NE(nullptr, list->findRow(1)->getLabel());
  EXPECT_EQ(nullptr, list->findRow(2)->getLabel());
  EXPECT_FLOAT_EQ(200, list->getWidth());

  // Without a listener nothing is selected or reported.
  std::unique_ptr<bge::RadioButtonList> quiet(
      bge::createRadioButtonListFromXml(nullptr, e, &resources_, path_));
  EXPECT_EQ(-1, quiet->getSelectedRowId());
  EXPECT_EQ(nullptr, bge::createRadioButtonListFromXml(&log, e, nullptr, path_));
}

// Every screen and the layout fuzzer build through one dispatch: each widget
// kind comes out as its class, with its listener; anything else is refused.
TEST_F(LayoutFactoryTest, OneDispatchBuildsEveryWidgetKind) {
  TiXmlElement* e = parse(
      "<ImageWidget textureFilename=\"a.png\"/><Label text=\"T\" font=\"F\"/>"
      "<TextLabel text=\"T\" font=\"F\"/>"
      "<Button id=\"4\"><Texture normal=\"a.png\" over=\"b.png\"/></Button>"
      "<Checkbox id=\"2\"><Texture normal=\"a.png\" checked=\"b.png\"/></Checkbox>"
      "<Slider id=\"6\"><Texture normal=\"a.png\" fill=\"a.png\" thumb=\"b.png\"/></Slider>"
      "<RadioButtonList id=\"7\"/><ColorWall rect=\"Rect(0, 0, 10, 10)\"/>"
      "<Animation file=\"x.xml\"/><Mystery/>");
  Selections log;
  bge::LayoutContext context;
  context.resources = &resources_;
  context.path = path_;
  context.lists = &log;
  std::vector<std::unique_ptr<Widget>> built;
  testing::internal::CaptureStdout();
  for (TiXmlElement* element = e; element; element = element->NextSiblingElement()) {
    built.emplace_back(bge::createLayoutWidget(context, element));
  }
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(10u, built.size());
  EXPECT_NE(nullptr, dynamic_cast<ImageWidget*>(built[0].get()));
  EXPECT_NE(nullptr, dynamic_cast<bge::Label*>(built[1].get()));
  EXPECT_NE(nullptr, dynamic_cast<bge::Label*>(built[2].get()));
  ASSERT_NE(nullptr, dynamic_cast<bge::Button*>(built[3].get()));
  EXPECT_EQ(4, static_cast<bge::Button*>(built[3].get())->getButtonId());
  EXPECT_NE(nullptr, dynamic_cast<bge::CheckBox*>(built[4].get()));
  EXPECT_NE(nullptr, dynamic_cast<bge::Slider*>(built[5].get()));
  EXPECT_NE(nullptr, dynamic_cast<bge::RadioButtonList*>(built[6].get()));
  EXPECT_NE(nullptr, dynamic_cast<bge::ColorWall*>(built[7].get()));
  EXPECT_EQ(nullptr, built[8]);  // a screen's own element, not a widget
  EXPECT_EQ(nullptr, built[9]);
  EXPECT_NE(out.find("Mystery (line 1): is no widget kind"), std::string::npos) << out;
}

}  // namespace
