#include <gtest/gtest.h>

#include "FakeResources.h"
#include "ResourceManager.h"

namespace {

class ResourceManagerTest : public ::testing::Test {
 protected:
  void TearDown() override { ResourceManager::setAudioClosed(false); }
  DeleteLog log;
};

TEST_F(ResourceManagerTest, SecondTextureUnderOneNameKeepsOneSlotAndHandsTheOldOneBack) {
  ResourceManager rm;
  auto* first = new FakeTexture(8, 8, 8, 8, &log);
  auto* second = new FakeTexture(8, 8, 8, 8, &log);
  EXPECT_TRUE(rm.registerTexture("ship.png", first));
  Texture* replaced = nullptr;
  EXPECT_TRUE(rm.registerTexture("ship.png", second, &replaced));
  EXPECT_EQ(rm.getTextureCount(), 1);
  EXPECT_EQ(rm.findTexture("ship.png"), second);
  EXPECT_EQ(replaced, first);  // not deleted: still the caller's to free
  EXPECT_EQ(log.textures, 0);
  delete replaced;
  EXPECT_EQ(rm.findTexture("other.png"), nullptr);
  EXPECT_EQ(rm.getTextureUnchecked("other.png"), nullptr);
}

TEST_F(ResourceManagerTest, RegisteringTheSameObjectAgainNeitherDeletesNorDuplicates) {
  DeleteLog log2;
  {
    ResourceManager rm;
    auto* texture = new FakeTexture(8, 8, 8, 8, &log2);
    auto* font = new FakeFont(&log2);
    auto* sound = new FakeSound(&log2);
    auto* music = new FakeMusic(&log2);
    ASSERT_TRUE(rm.registerTexture("a.png", texture));
    Texture* replaced = texture;
    EXPECT_TRUE(rm.registerTexture("a.png", texture, &replaced));
    EXPECT_EQ(replaced, nullptr);
    ASSERT_TRUE(rm.registerFont("F", font));
    EXPECT_TRUE(rm.registerFont("F", font));
    ASSERT_TRUE(rm.registerSound("S", sound));
    EXPECT_TRUE(rm.registerSound("S", sound));
    ASSERT_TRUE(rm.registerMusic("M", music));
    EXPECT_TRUE(rm.registerMusic("M", music));
    // Still alive and usable (ASan reports a use after free otherwise).
    EXPECT_EQ(rm.findFont("F")->getLineHeight(), 0);
    EXPECT_FALSE(rm.findSound("S")->isPlaying());
    EXPECT_EQ(log2.fonts + log2.sounds + log2.music + log2.textures, 0);
  }
  EXPECT_EQ(log2.textures, 1);
  EXPECT_EQ(log2.fonts, 1);
  EXPECT_EQ(log2.sounds, 1);
  EXPECT_EQ(log2.music, 1);
}

TEST_F(ResourceManagerTest, FontsAndSoundsReplaceWhileMusicKeepsTheFirst) {
  ResourceManager rm;
  auto* oldFont = new FakeFont(&log);
  auto* newFont = new FakeFont(&log);
  rm.registerFont("FONT", oldFont);
  EXPECT_TRUE(rm.registerFont("FONT", newFont));
  EXPECT_EQ(log.fonts, 1);
  EXPECT_EQ(rm.findFont("FONT"), newFont);

  auto* oldSound = new FakeSound(&log);
  auto* newSound = new FakeSound(&log);
  rm.registerSound("SFX", oldSound);
  EXPECT_TRUE(rm.registerSound("SFX", newSound));
  EXPECT_EQ(log.sounds, 1);
  EXPECT_EQ(rm.findSound("SFX"), newSound);

  auto* firstMusic = new FakeMusic(&log);
  auto* secondMusic = new FakeMusic(&log);
  EXPECT_TRUE(rm.registerMusic("TRACK", firstMusic));
  EXPECT_FALSE(rm.registerMusic("TRACK", secondMusic));  // caller keeps it
  EXPECT_EQ(rm.findMusic("TRACK"), firstMusic);
  EXPECT_EQ(log.music, 0);
  delete secondMusic;
  EXPECT_EQ(rm.findSound("missing"), nullptr);
  EXPECT_EQ(rm.findMusic("missing"), nullptr);
  EXPECT_FALSE(rm.registerFont("NULL", nullptr));
  EXPECT_EQ(rm.findFont("NULL"), nullptr);
}

TEST_F(ResourceManagerTest, OneObjectUnderTwoKeysIsDeletedOnce) {
  {
    ResourceManager rm;
    auto* texture = new FakeTexture(8, 8, 8, 8, &log);
    auto* font = new FakeFont(&log);
    rm.registerTexture("a.png", texture);
    rm.registerTexture("b.png", texture);
    rm.registerFont("A", font);
    rm.registerFont("B", font);
    // Replacing one key must not free the object still held by the other.
    auto* other = new FakeFont(&log);
    rm.registerFont("A", other);
    EXPECT_EQ(log.fonts, 0);
    EXPECT_EQ(rm.findFont("B"), font);
  }
  EXPECT_EQ(log.textures, 1);
  EXPECT_EQ(log.fonts, 2);
}

TEST_F(ResourceManagerTest, UnloadAndReloadFollowTheFlags) {
  ResourceManager rm;
  rm.registerTexture("a.png", new FakeTexture(8, 8, 8, 8, &log));
  rm.registerTexture("b.png", new FakeTexture(8, 8, 8, 8, &log));
  rm.registerFont("F", new FakeFont(&log));

  rm.unloadAll(ResourceManager::Fonts);
  EXPECT_EQ(log.textureUnloads, 0);
  EXPECT_EQ(log.fontUnloads, 1);
  rm.unloadAll(ResourceManager::Textures);
  EXPECT_EQ(log.textureUnloads, 2);
  EXPECT_EQ(log.fontUnloads, 1);
  rm.reloadAll(ResourceManager::TexturesAndFonts);
  EXPECT_EQ(log.textureReloads, 2);
  EXPECT_EQ(log.fontReloads, 1);
}

TEST_F(ResourceManagerTest, ReleaseLeavesAudioAloneOnceTheMixerIsClosed) {
  auto* music = new FakeMusic(&log);
  auto* sound = new FakeSound(&log);
  {
    ResourceManager rm;
    rm.registerTexture("a.png", new FakeTexture(8, 8, 8, 8, &log));
    rm.registerFont("F", new FakeFont(&log));
    rm.registerMusic("M", music);
    rm.registerSound("S", sound);
    ResourceManager::setAudioClosed(true);
    rm.releaseAll();
    EXPECT_EQ(log.textures, 1);
    EXPECT_EQ(log.fonts, 1);
    EXPECT_EQ(log.music, 0);
    EXPECT_EQ(log.sounds, 0);
    EXPECT_EQ(rm.findTexture("a.png"), nullptr);
    EXPECT_EQ(rm.findFont("F"), nullptr);
  }
  // The catalogue let go of them; with the mixer gone they are simply dropped.
  EXPECT_EQ(log.music, 0);
  delete music;
  delete sound;
}

}  // namespace
