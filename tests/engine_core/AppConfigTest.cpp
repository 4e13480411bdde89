#include <gtest/gtest.h>

#include <fstream>

#include "AppConfig.h"
#include "SDLGameApp.h"
#include "TestEnv.h"

namespace {
class AppConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { AppConfig::destroyInstance(); }
  void TearDown() override { AppConfig::destroyInstance(); }

  AppConfig* load(const std::string& xml) {
    const std::string path = dirs_.data() + "/config.xml";
    std::ofstream(path) << xml;
    AppConfig* config = AppConfig::instance();
    loaded_ = config->loadFromFile(path);
    return config;
  }

  testenv::TempUserDirs dirs_;
  bool loaded_ = false;
};

const char* const kFull = R"(<Config version="%s">
  <Application><ScreenResolution width="1600" height="900" bitDepth="32"/>
    <WindowCaption name="Test Caption"/></Application>
  <Savegame folder="SaveDir" filename="game.sav"/>
  <Credits filename="credits.xml"/>
  <SurveyURL URL="http://example.invalid/"/>
  <Language active="german" labels="de.xml"/>
  <SupportedLanguages startingLanguage="english">
    <Language active="french" labels="fr.xml" flag="fr.png"/>
    <Language active="english" labels="en.xml" flag="en.png"/>
  </SupportedLanguages>
  <LogoScreens><Screen type="IMAGE" folder="logos/" filename="a.xml"/>
    <Screen type="ANIMATION" folder="logos/" filename="b.xml"/></LogoScreens>
  <MouseCursors folder="cursors/"><Cursor id="5" imageFile="arrow.png"/><Cursor id="2" imageFile="hand.png"/></MouseCursors>
  <Volume soundVolume="90" musicVolume="30"/>
  <FullscreenMode mode="windowed"/>
</Config>)";

std::string withVersion(const char* version) {
  char buffer[4096];
  std::snprintf(buffer, sizeof buffer, kFull, version);
  return buffer;
}
}  // namespace

TEST_F(AppConfigTest, Version11ReadsTheLanguageListAndIgnoresTheSingleLanguage) {
  const AppConfig* c = load(withVersion("1.1"));
  ASSERT_TRUE(loaded_);
  EXPECT_EQ(c->getWidth(), 1600);
  EXPECT_EQ(c->getHeight(), 900);
  EXPECT_EQ(c->getBitDepth(), 32);
  EXPECT_EQ(c->getCaption(), "Test Caption");
  EXPECT_EQ(c->getSaveFolder(), "SaveDir");
  EXPECT_EQ(c->getSaveFileName(), "game.sav");
  EXPECT_EQ(c->getCreditsFile(), "credits.xml");
  EXPECT_EQ(c->getSurveyUrl(), "http://example.invalid/");
  ASSERT_EQ(c->getLanguages().size(), 2u);
  EXPECT_EQ(c->getLanguages()[0].flag, "fr.png");
  EXPECT_EQ(c->getStartingLanguage(), "english");
  EXPECT_EQ(c->getActiveLanguage(), "english");
  EXPECT_EQ(c->getLabelsFile(), "en.xml");
  ASSERT_EQ(c->getLogoScreens().size(), 2u);
  EXPECT_EQ(c->getLogoScreens()[1].type, "ANIMATION");
  ASSERT_EQ(c->getCursors().size(), 2u);
  EXPECT_EQ(c->getCursors()[0].id, 5);  // addressed by position, not id
  EXPECT_EQ(c->getCursors()[1].imageFile, "hand.png");
  EXPECT_EQ(c->getCursorFolder(), "cursors/");
  EXPECT_EQ(c->getCurrentCursor(), -1);
  EXPECT_EQ(c->getSoundVolume(), 90);
  EXPECT_EQ(c->getMusicVolume(), 30);
  EXPECT_EQ(c->getFullScreenMode(), AppConfig::ModeWindowed);
}

TEST_F(AppConfigTest, Version10ReadsOnlyTheSingleLanguage) {
  const AppConfig* c = load(withVersion("1.0"));
  EXPECT_TRUE(c->getLanguages().empty());
  EXPECT_EQ(c->getActiveLanguage(), "german");
  EXPECT_EQ(c->getLabelsFile(), "de.xml");
}

TEST_F(AppConfigTest, OtherVersionsReadEverythingButLanguages) {
  for (const char* version : {"2.0", "2", "1.7"}) {
    AppConfig::destroyInstance();
    const AppConfig* c = load(withVersion(version));
    EXPECT_TRUE(c->getLanguages().empty()) << version;
    EXPECT_TRUE(c->getLabelsFile().empty()) << version;
    EXPECT_EQ(c->getWidth(), 1600) << version;
    EXPECT_EQ(c->getCursors().size(), 2u) << version;
  }
  // A version without a point has minor 0.
  EXPECT_EQ(AppConfig::instance()->getVersionMinor(), 7);
  AppConfig::destroyInstance();
  const AppConfig* c = load(withVersion("3"));
  EXPECT_EQ(c->getVersionMajor(), 3);
  EXPECT_EQ(c->getVersionMinor(), 0);
}

TEST_F(AppConfigTest, MissingAttributesKeepTheirDefaults) {
  const AppConfig* c = load(R"(<Config>
    <Application><ScreenResolution width="800"/><WindowCaption/></Application>
    <Savegame folder="Only"/>
    <SupportedLanguages><Language labels="x.xml"/></SupportedLanguages>
    <MouseCursors><Cursor/></MouseCursors>
    <Volume musicVolume="11"/>
    <FullscreenMode/>
  </Config>)");
  ASSERT_TRUE(loaded_);
  EXPECT_EQ(c->getVersionMajor(), 1);
  EXPECT_EQ(c->getVersionMinor(), 0);
  EXPECT_EQ(c->getWidth(), 800);
  EXPECT_EQ(c->getHeight(), -1);
  EXPECT_EQ(c->getCaption(), "BrindleApplication");
  EXPECT_EQ(c->getSaveFolder(), "Only");
  EXPECT_EQ(c->getSaveFileName(), "");
  ASSERT_EQ(c->getCursors().size(), 1u);
  EXPECT_EQ(c->getCursors()[0].imageFile, "");
  EXPECT_EQ(c->getSoundVolume(), 75);
  EXPECT_EQ(c->getMusicVolume(), 11);
  EXPECT_EQ(c->getFullScreenMode(), -1);
}

TEST_F(AppConfigTest, WrongCaseModeAndMissingFileKeepDefaults) {
  AppConfig* c = load(R"(<Config version="1.1"><FullscreenMode mode="Fullscreen"/></Config>)");
  EXPECT_EQ(c->getFullScreenMode(), -1);
  AppConfig::destroyInstance();
  c = AppConfig::instance();
  EXPECT_FALSE(c->loadFromFile(dirs_.data() + "/absent.xml"));
  EXPECT_EQ(c->getWidth(), -1);
  EXPECT_EQ(c->getCaption(), "BrindleApplication");
  EXPECT_EQ(c->getSoundVolume(), 75);
  // Without an application no cursor can be made.
  load(withVersion("1.1"));
  EXPECT_FALSE(AppConfig::instance()->loadCursor(0));
  EXPECT_EQ(AppConfig::instance()->getCurrentCursor(), -1);
}

TEST_F(AppConfigTest, CursorIndexOutsideTheListChangesNothing) {
  SDLGameApp app;
  AppConfig* c = load(withVersion("1.1"));
  EXPECT_FALSE(c->loadCursor(2));  // two cursors: index 2 is one past the end
  EXPECT_FALSE(c->loadCursor(-1));
  EXPECT_EQ(c->getCurrentCursor(), -1);
}

TEST_F(AppConfigTest, ScreenSizesNoWindowCanHaveAreNamedAndLeftAtTheDefault) {
  for (const char* side : {"100", "10000"}) {
    SCOPED_TRACE(side);
    AppConfig::destroyInstance();
    testing::internal::CaptureStdout();
    const AppConfig* c = load(std::string("<Config><Application><ScreenResolution width=\"") + side +
                              "\" height=\"" + side + "\"/></Application></Config>");
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(loaded_);
    EXPECT_EQ(c->getWidth(), -1);
    EXPECT_EQ(c->getHeight(), -1);
    for (const char* attribute : {"width", "height"}) {
      const std::string named = "config.xml: ScreenResolution (line 1): " + std::string(attribute) + "=\"" + side + "\"";
      EXPECT_NE(out.find(named), std::string::npos) << out;
    }
  }
}
