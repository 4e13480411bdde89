#pragma once
// Small level worlds written to a private folder: a grid image, entity files, a
// straight path and a level file made from a template, for the level tests.
#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "LevelRunner.h"

namespace levelfiles {

inline std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The runner opens the application once per test program.
inline levelrunner::Runner& runner() {
  static levelrunner::Runner r;
  return r;
}

class Folder {
 public:
  Folder() {
    char tmpl[] = "/tmp/starmoor-level-XXXXXX";
    const char* made = mkdtemp(tmpl);
    dir_ = made ? made : "/tmp";
    writeGrid(-1, -1);
    write("enemy.xml",
          "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"3DOF\""
          " primitiveType=\"circle\" bodyMass=\"10\" shapeFeaturesX=\"8\" collisionCategory=\"enemy\""
          " material=\"default\" texturePath=\"NONE\" debugRender=\"0\" energy=\"100\" reward=\"10\""
          " class=\"scout\"/>");
    write("exit.xml",
          "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"0\" bodyType=\"3DOF\""
          " primitiveType=\"box\" collisionCategory=\"default\" texturePath=\"NONE\"/>");
    write("bullet.xml",
          "<Entity descriptionName=\"xPhysicsPrimitiveEntityDesc\" dynamic=\"1\" bodyType=\"3DOF\""
          " primitiveType=\"circle\" bodyMass=\"1\" shapeFeaturesX=\"3\" collisionCategory=\"player_bullet\""
          " texturePath=\"NONE\" damage=\"500\"/>");
    // Left to right across the field, with one bend.
    write("path.xml",
          "<Spline n=\"5\" t=\"2\" resolution=\"80\">"
          "<ControlPoint x=\"-40\" y=\"300\"/><ControlPoint x=\"300\" y=\"300\"/>"
          "<ControlPoint x=\"500\" y=\"450\"/><ControlPoint x=\"800\" y=\"450\"/>"
          "<ControlPoint x=\"1100\" y=\"300\"/></Spline>");
  }
  ~Folder() {
    std::error_code ec;
    if (dir_.rfind("/tmp/starmoor-level-", 0) == 0) std::filesystem::remove_all(dir_, ec);
  }

  // A 1024 x 768 image, opaque but for one cell's centre pixel when given.
  void writeGrid(int column, int row) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 1024, 768, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 20, 30, 60, 255));
    if (column >= 0) {
      SDL_Rect hole{column * 32 + 16, row * 32 + 16, 1, 1};
      SDL_FillRect(s, &hole, SDL_MapRGBA(s->format, 0, 0, 0, 0));
    }
    IMG_SavePNG(s, (dir_ + "/grid.png").c_str());
    SDL_FreeSurface(s);
  }

  std::string write(const std::string& name, const std::string& text) {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path) << replaceAll(text, "{dir}", dir_);
    return path;
  }

  // A level of one path with side lanes, an exit zone, and the given attacks.
  std::string level(const std::string& attacks, const std::string& extra = "") {
    return levelOn("<Path id=\"0\" centerLine=\"{dir}/path.xml\" sides=\"BOTH\" distance=\"20\" offsetArrows=\"3\"/>",
                   attacks + extra);
  }
  // The same level on the given Path elements.
  std::string levelOn(const std::string& paths, const std::string& attacks) {
    return write("level.xml",
                 "<Stage><InitialFunds credits=\"500\"/>"
                 "<Grid levelImage=\"{dir}/grid.png\" cellsX=\"32\" cellsY=\"24\" cellWidth=\"32\" cellHeight=\"32\"/>" +
                     paths + "<ExitZone template=\"{dir}/exit.xml\" area=\"Rect(1000, 300, 40, 120)\"/>" + attacks +
                     "</Stage>");
  }

  std::string wave(int count, int delay, const std::string& lane = "", int speed = 4000) const {
    std::string w = "<Wave id=\"0\" pathId=\"0\" count=\"" + std::to_string(count) + "\" spawnDelay=\"" +
                    std::to_string(delay) + "\" speed=\"" + std::to_string(speed) + "\" enemy=\"" + dir_ +
                    "/enemy.xml\"";
    if (!lane.empty()) w += " pathSubId=\"" + lane + "\"";
    return w + "/>";
  }

  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

}  // namespace levelfiles
