#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <fstream>

#include "DisplayConfigurations.h"
#include "TestEnv.h"

TEST(DisplayMode, AspectAndZeroHeight) {
  EXPECT_FLOAT_EQ(DisplayMode(1920, 1080).aspect, 1920.0f / 1080.0f);
  const DisplayMode flat(1366, 0);
  EXPECT_FALSE(std::isnan(flat.aspect));
  EXPECT_FALSE(std::isinf(flat.aspect));
  EXPECT_EQ(flat.aspect, 0.0f);
}

TEST(DisplayConfigurations, ModesAreDistinctAndSortedLargestFirst) {
  SDL_Quit();  // no video subsystem: the display query finds nothing
  DisplayConfigurations dc("");
  ASSERT_TRUE(dc.getDisplayModes().empty());
  dc.addMode(1280, 1024);
  dc.addMode(1920, 1080);
  dc.addMode(1280, 720);
  dc.addMode(1920, 1080);  // same size at another refresh rate
  dc.sortModes();
  ASSERT_EQ(dc.getDisplayModes().size(), 3u);
  EXPECT_EQ(dc.getDisplayModes()[0]->width, 1920);
  EXPECT_EQ(dc.getDisplayModes()[1]->height, 1024);
  EXPECT_EQ(dc.getDisplayModes()[2]->height, 720);
  EXPECT_FLOAT_EQ(dc.getLargestAspect(), 1920.0f / 1080.0f);
}

TEST(DisplayConfigurations, NamedConfigurationsStartAtDefault) {
  testenv::TempUserDirs dirs;
  const std::string path = dirs.data() + "/SystemInfo.xml";
  std::ofstream(path) << R"(<SystemInfo><Configurations>
      <Before alias="skipped" width="1" height="1"/>
      <Default alias="default" width="1366" height="768"/>
      <Other alias="hd" width="1920" height="1080"/>
      <Other alias="hd" width="1280" height="720"/>
      <Other width="5"/>
    </Configurations></SystemInfo>)";
  DisplayConfigurations dc(path);
  const auto& named = dc.getConfigurations();
  EXPECT_EQ(named.count("skipped"), 0u);
  ASSERT_EQ(named.size(), 3u);
  EXPECT_EQ(named.at("default")->width, 1366);
  EXPECT_EQ(named.at("hd")->width, 1280);  // a repeated alias replaces the entry
  EXPECT_EQ(named.at("")->width, 5);
  EXPECT_EQ(named.at("")->height, 0);

  std::ofstream(path) << "<SystemInfo><Configurations><Other alias=\"x\"/></Configurations></SystemInfo>";
  DisplayConfigurations noDefault(path);
  EXPECT_TRUE(noDefault.getConfigurations().empty());
  DisplayConfigurations missing(dirs.data() + "/absent.xml");
  EXPECT_TRUE(missing.getConfigurations().empty());
}

TEST(DisplayConfigurations, SetResolutionsOwnsEachRecordOnce) {
  DisplayConfigurations dc("");
  DisplayMode* current = new DisplayMode(1600, 900);
  DisplayMode* artwork = new DisplayMode(1366, 768);
  dc.setResolutions(current, artwork);
  // Handing back records it already owns must neither free nor leak them (ASan checks).
  dc.setResolutions(current, artwork);
  EXPECT_EQ(dc.getCurrentResolution(), current);
  EXPECT_EQ(dc.getArtworkResolution()->width, 1366);
  dc.setResolutions(artwork, current);  // swapped
  EXPECT_EQ(dc.getCurrentResolution()->width, 1366);
  // One record for both: the artwork becomes a copy so it is not freed twice.
  DisplayMode* both = new DisplayMode(800, 600);
  dc.setResolutions(both, both);
  EXPECT_EQ(dc.getCurrentResolution(), both);
  EXPECT_NE(dc.getArtworkResolution(), both);
  EXPECT_EQ(dc.getArtworkResolution()->width, 800);
  dc.setResolutions(nullptr, nullptr);
  EXPECT_EQ(dc.getCurrentResolution(), nullptr);
}
