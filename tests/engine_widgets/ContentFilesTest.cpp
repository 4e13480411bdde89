// The shipped layouts, dialog, animations and sound catalogue name only files
// that exist, and every animation loads.
#include <tinyxml.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "WidgetTestSupport.h"
#include "animation/AnimationPlayer.h"

namespace {

const std::string kRoot = std::string(STARMOOR_SOURCE_DIR) + "/";

bool exists(const std::string& relative) { return std::filesystem::exists(kRoot + relative); }

// Every value of the named attributes anywhere below the element.
void collect(const TiXmlElement* e, const std::vector<std::string>& names,
             std::vector<std::string>& out) {
  for (; e; e = e->NextSiblingElement()) {
    for (const std::string& name : names)
      if (const char* v = e->Attribute(name.c_str())) out.push_back(v);
    collect(e->FirstChildElement(), names, out);
  }
}

TEST(ShippedContent, LayoutAndDialogNameExistingFiles) {
  TiXmlDocument screen((kRoot + "content/images/menus/demo/Screen.xml").c_str());
  ASSERT_TRUE(screen.LoadFile());
  const std::string path = screen.RootElement()->Attribute("path");
  std::vector<std::string> textures, animations;
  collect(screen.RootElement()->FirstChildElement(),
          {"textureFilename", "normal", "over", "checked", "fill", "thumb"}, textures);
  collect(screen.RootElement()->FirstChildElement(), {"file"}, animations);
  EXPECT_GE(textures.size(), 8u);
  for (const std::string& t : textures) EXPECT_TRUE(exists(path + t)) << t;
  for (const std::string& a : animations) EXPECT_TRUE(exists(a)) << a;

  TiXmlDocument dialog((kRoot + "content/images/menus/demo/Dialog.xml").c_str());
  ASSERT_TRUE(dialog.LoadFile());
  std::vector<std::string> files;
  collect(dialog.RootElement()->FirstChildElement(), {"normal", "over", "checked", "open", "close"},
          files);
  EXPECT_EQ(8u, files.size());
  for (const std::string& f : files) EXPECT_TRUE(exists(f)) << f;
}

TEST(ShippedContent, EverySoundEffectFileExists) {
  TiXmlDocument sfx((kRoot + "content/config/sfx.xml").c_str());
  ASSERT_TRUE(sfx.LoadFile());
  const std::string prefix = sfx.RootElement()->Attribute("defaultPath");
  std::vector<std::string> paths;
  collect(sfx.RootElement()->FirstChildElement(), {"path"}, paths);
  EXPECT_EQ(45u, paths.size());
  for (const std::string& p : paths) EXPECT_TRUE(exists(prefix + p)) << p;
}

TEST(ShippedContent, EveryAnimationLoads) {
  ASSERT_TRUE(widgettest::openGL()) << SDL_GetError();
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(kRoot);
  {
    AnimationPlayer player(nullptr);
    int id = 0;
    for (const char* name : {"pulse", "dialog_open", "dialog_close"}) {
      const std::string file = std::string("content/images/menus/demo/anim/") + name + ".xml";
      EXPECT_TRUE(player.loadAnimation(id++, file)) << file;
    }
  }
  std::filesystem::current_path(previous);
}

}  // namespace
