// Sound-effect and music catalogues: what the files register, and how keys play.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "DynamicResources/RandomSeeder.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "SDLGameApp.h"
#include "Sound.h"
#include "TestEnv.h"
#include "WidgetTestSupport.h"

namespace {

// Opens the mixer on SDL's dummy driver so that sounds really load.
class AudioCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_AUDIO)) << SDL_GetError();
    ASSERT_EQ(0, Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024)) << Mix_GetError();
    Mix_AllocateChannels(16);
    wav_ = std::string(STARMOOR_SOURCE_DIR) + "/content/sounds/ui/";
  }
  void TearDown() override {
    SfxContainer::destroyInstance();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  testenv::TempUserDirs dirs_;
  std::string wav_;
};

TEST_F(AudioCatalogueTest, VariantsAreNumberedPerNameAcrossElements) {
  const std::string path = widgettest::writeFile(dirs_.root() + "/" + "sfx.xml",
      "<SFX defaultPath=\"" + wav_ + "\">"
      "<RandomSound name=\"SFX_CHIRP\"><Sound path=\"chirp_0.wav\"/><Sound/>"
      "<Sound path=\"chirp_1.wav\"/><Sound path=\"chirp_2.wav\"/></RandomSound>"
      "<Unknown name=\"SFX_X\" path=\"click.wav\"/>"
      "<Sound name=\"SFX_CHIRP\" path=\"click.wav\"/>"
      "<Sound name=\"SFX_HALF\"/>"
      "<RandomSound name=\"SFX_EMPTY\"><Sound/></RandomSound>"
      "</SFX>");
  SfxContainer* sfx = SfxContainer::instance();
  EXPECT_EQ(sfx, SfxContainer::instance());
  sfx->load(path);
  EXPECT_TRUE(sfx->isLoaded());
  const std::vector<std::string>* ids = sfx->findVariants("SFX_CHIRP");
  ASSERT_NE(nullptr, ids);
  EXPECT_EQ((std::vector<std::string>{"SFX_CHIRP_0", "SFX_CHIRP_1", "SFX_CHIRP_2", "SFX_CHIRP_3"}),
            *ids);
  for (const std::string& id : *ids) EXPECT_NE(nullptr, sfx->findVariantSound(id)) << id;
  EXPECT_EQ(nullptr, sfx->findVariants("SFX_X"));
  EXPECT_EQ(nullptr, sfx->findVariants("SFX_HALF"));
  EXPECT_EQ(nullptr, sfx->findVariants("SFX_EMPTY"));
}

TEST_F(AudioCatalogueTest, DefaultPathIsJoinedWithoutSeparator) {
  // Without the final slash the prefix runs straight into the file name.
  const std::string folder = wav_.substr(0, wav_.size() - 1);
  const std::string path = widgettest::writeFile(dirs_.root() + "/" + "sfx.xml",
      "<SFX defaultPath=\"" + folder + "\"><Sound name=\"A\" path=\"/click.wav\"/>"
      "<Sound name=\"B\" path=\"click.wav\"/></SFX>");
  SfxContainer* sfx = SfxContainer::instance();
  sfx->load(path);
  auto* a = dynamic_cast<MixSound*>(sfx->findVariantSound("A_0"));
  auto* b = dynamic_cast<MixSound*>(sfx->findVariantSound("B_0"));
  ASSERT_NE(nullptr, a);
  ASSERT_NE(nullptr, b);
  EXPECT_TRUE(a->isLoaded());
  EXPECT_FALSE(b->isLoaded());  // ".../uiclick.wav" does not exist
}

TEST_F(AudioCatalogueTest, MissingOrMalformedFileLeavesCatalogueEmpty) {
  SfxContainer* sfx = SfxContainer::instance();
  sfx->load(dirs_.root() + "/absent.xml");
  EXPECT_FALSE(sfx->isLoaded());
  sfx->load(widgettest::writeFile(dirs_.root() + "/" + "bad.xml", "<Sounds><Sound name=\"A\" path=\"x\"/></Sounds>"));
  EXPECT_FALSE(sfx->isLoaded());
  EXPECT_EQ(nullptr, sfx->findVariants("A"));
}

TEST_F(AudioCatalogueTest, PlaySoundIsSilentWithoutOpenApplicationAudio) {
  const std::string path = widgettest::writeFile(dirs_.root() + "/" + "sfx.xml",
      "<SFX defaultPath=\"" + wav_ + "\"><Sound name=\"SFX_CLICK\" path=\"click.wav\"/></SFX>");
  SfxContainer* sfx = SfxContainer::instance();
  sfx->load(path);
  auto* click = dynamic_cast<MixSound*>(sfx->findVariantSound("SFX_CLICK_0"));
  ASSERT_NE(nullptr, click);
  ASSERT_TRUE(click->isLoaded());

  // No application has opened audio: keys play nothing, known or not.
  sfx->playSound("SFX_CLICK");
  sfx->playSound("SFX_CLICK", true);
  sfx->playSound("");
  sfx->playSound("SFX_NEVER_LOADED");
  EXPECT_EQ(-1, click->getChannel());
  EXPECT_EQ(0, Mix_Playing(-1));

  // Playing on a chosen channel does not ask the application.
  sfx->playSoundOnChannel("SFX_CLICK", 5);
  EXPECT_EQ(5, click->getChannel());
  sfx->playSoundOnChannel("SFX_NEVER_LOADED", 6);
  EXPECT_EQ(0, Mix_Playing(6));
}

class MusicCatalogueTest : public ::testing::Test {
 protected:
  testenv::TempUserDirs dirs_;
};

TEST_F(MusicCatalogueTest, ScenesShareTracksAndSkipBadEntries) {
  const std::string path = widgettest::writeFile(dirs_.root() + "/" + "music.xml",
      "<SceneMusic path=\"music/\">"
      "<Scene index=\"1,,3\"><Music file=\"a.ogg\" author=\"Ann\" trackName=\"First\"/></Scene>"
      "<Scene><Music file=\"lost.ogg\"/></Scene>"
      "<Scene index=\"2,3\"><Music file=\"b.ogg\" author=\"Bo\"/><Music author=\"Nobody\"/>"
      "<Music file=\"c.ogg\" author=\"Cy\" trackName=\"Third\"/></Scene>"
      "</SceneMusic>");
  SceneMusicContainer music;
  music.load(path);
  EXPECT_EQ("music/", music.getPath());
  ASSERT_NE(nullptr, music.findTracks(1));
  EXPECT_EQ((std::vector<std::string>{"a.ogg"}), *music.findTracks(1));
  // The entry without a file adds nothing, not an empty track.
  EXPECT_EQ((std::vector<std::string>{"b.ogg", "c.ogg"}), *music.findTracks(2));
  EXPECT_EQ((std::vector<std::string>{"a.ogg", "b.ogg", "c.ogg"}), *music.findTracks(3));
  EXPECT_EQ(nullptr, music.findTracks(0));  // the empty piece became no index
  // Author and name are per scene index: the last element read wins.
  EXPECT_EQ("Cy", music.getAuthor(2));
  EXPECT_EQ("Third", music.getTrackName(3));
  EXPECT_EQ("Ann", music.getAuthor(1));
  EXPECT_EQ("", music.getAuthor(7));
  EXPECT_EQ("", music.getTrackName(7));
  EXPECT_EQ("", music.pickTrack(7));
  EXPECT_EQ("music/a.ogg", music.pickTrack(1));
}

TEST_F(MusicCatalogueTest, RandomTracksComeFromTheGeneratorSeededOnce) {
  const std::string path = widgettest::writeFile(dirs_.root() + "/" + "music.xml",
      "<SceneMusic><Scene index=\"4\"><Music file=\"0\"/><Music file=\"1\"/><Music file=\"2\"/>"
      "<Music file=\"3\"/><Music file=\"4\"/></Scene></SceneMusic>");
  SceneMusicContainer music;
  music.load(path);
  randomSeeder();  // whatever ran first has seeded by now
  std::srand(1234);
  std::vector<int> expected;
  for (int i = 0; i < 20; ++i) expected.push_back(std::rand() % 5);
  std::srand(1234);
  std::vector<int> picked;
  std::set<int> seen;
  for (int i = 0; i < 20; ++i) {
    picked.push_back(std::atoi(music.pickTrack(4).c_str()));
    seen.insert(picked.back());
  }
  // Picking must not seed again, or the sequence would restart from the clock.
  EXPECT_EQ(expected, picked);
  EXPECT_GT(seen.size(), 1u);
}

TEST_F(MusicCatalogueTest, MissingFileOrRootLeavesNoTracks) {
  SceneMusicContainer music;
  music.load(dirs_.root() + "/absent.xml");
  music.load(widgettest::writeFile(dirs_.root() + "/" + "m.xml", "<Music><Scene index=\"1\"><Music file=\"a\"/></Scene></Music>"));
  EXPECT_EQ(nullptr, music.findTracks(1));
  EXPECT_EQ("", music.pickTrack(1));
}

TEST(ShippedCatalogues, EveryListedSoundAndTrackExists) {
  const std::string root = STARMOOR_SOURCE_DIR;
  SceneMusicContainer music;
  music.load(root + "/content/config/music.xml");
  const std::vector<std::string>* tracks = music.findTracks(0);
  ASSERT_NE(nullptr, tracks);
  for (const std::string& file : *tracks) {
    SDL_RWops* rw = SDL_RWFromFile((root + "/" + music.getPath() + file).c_str(), "rb");
    EXPECT_NE(nullptr, rw) << file;
    if (rw) SDL_RWclose(rw);
  }
}


// With an application whose audio opened, keys play one of their variants,
// and the catalogue's sounds live in a resource catalogue the application lent.
TEST(SfxWithApplication, PlaysRandomVariantsFromTheApplicationsCatalogue) {
  testenv::TempUserDirs dirs;
  const std::string wav = std::string(STARMOOR_SOURCE_DIR) + "/content/sounds/ui/";
  const std::string path = widgettest::writeFile(dirs.root() + "/sfx.xml",
      "<SFX defaultPath=\"" + wav + "\"><RandomSound name=\"SFX_CHIRP\">"
      "<Sound path=\"chirp_0.wav\"/><Sound path=\"chirp_1.wav\"/><Sound path=\"chirp_2.wav\"/>"
      "</RandomSound></SFX>");
  SDLGameApp app;
  app.initSDL();
  app.initAudio();
  ASSERT_TRUE(app.isAudioOpen());
  SfxContainer* sfx = SfxContainer::instance();
  ASSERT_NE(nullptr, sfx->getResourceManager());
  sfx->load(path);
  std::set<std::string> played;
  for (int i = 0; i < 40; ++i) {
    for (int v = 0; v < 3; ++v) {
      auto* sound = static_cast<MixSound*>(sfx->findVariantSound("SFX_CHIRP_" + std::to_string(v)));
      if (sound->getChannel() >= 0) played.insert("SFX_CHIRP_" + std::to_string(v));
    }
    sfx->playSound("SFX_CHIRP");
    Mix_HaltChannel(-1);
  }
  EXPECT_EQ(3u, played.size());
  bool loop = true;
  sfx->playSound("SFX_CHIRP", loop);
  EXPECT_EQ(1, Mix_Playing(-1));
  Mix_HaltChannel(-1);
  SfxContainer::destroyInstance();
}

}  // namespace

// A process may run one application after another (the test programs do): the
// second must not fill the catalogue the first one lent and freed.
TEST(SfxWithApplication, TheCatalogueGoesWithTheApplicationThatLentItsSounds) {
  testenv::TempUserDirs dirs;
  const std::string wav = std::string(STARMOOR_SOURCE_DIR) + "/content/sounds/ui/";
  const std::string path = widgettest::writeFile(dirs.root() + "/sfx.xml",
      "<SFX defaultPath=\"" + wav + "\"><Sound name=\"SFX_CLICK\" path=\"click.wav\"/></SFX>");
  for (int run = 0; run < 2; ++run) {
    SDLGameApp app;
    app.initSDL();
    app.initAudio();
    SfxContainer* sfx = SfxContainer::instance();
    EXPECT_FALSE(sfx->isLoaded()) << "run " << run << " found the last application's catalogue";
    sfx->load(path);
    const std::vector<std::string>* ids = sfx->findVariants("SFX_CLICK");
    ASSERT_TRUE(ids && ids->size() == 1u) << "run " << run;
    EXPECT_NE(nullptr, sfx->findVariantSound(ids->front()));
    sfx->playSound("SFX_CLICK");
    Mix_HaltChannel(-1);
  }
  SfxContainer::destroyInstance();
}
