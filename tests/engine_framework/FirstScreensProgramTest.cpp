// The real program: the welcome screen hands over to the docking screen on
// Enter, and the save file is written at quit (an unreadable one kept aside).
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestEnv.h"

#ifdef STARMOOR_EXE
namespace {

std::vector<uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// How many pixels down the column x, from y0 to y1, are clearly cyan.
int cyanRun(const std::string& png, int x, int y0, int y1) {
  SDL_Surface* loaded = IMG_Load(png.c_str());
  if (!loaded) return -1;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  if (!rgba) return -1;
  int count = 0;
  for (int y = y0; y < y1 && y < rgba->h; ++y) {
    const uint8_t* p = static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch + x * 4;
    if (p[1] > 80 && p[1] > 2 * p[0] && p[2] > 2 * p[0]) ++count;
  }
  SDL_FreeSurface(rgba);
  return count;
}

TEST(FirstScreens, EnterLeadsToTheDockingScreenAndQuitWritesTheSave) {
  testenv::TempUserDirs dirs;
  const std::string saveFolder = dirs.data() + "/Starmoor";
  std::filesystem::create_directories(saveFolder);
  const std::vector<uint8_t> foreign = {4, 0, 0, 0, 'X', 'Y', 'Z', 'W', 1, 2, 3};
  {
    std::ofstream out(saveFolder + "/Starmoor.sav", std::ios::binary);
    out.write(reinterpret_cast<const char*>(foreign.data()), static_cast<std::streamsize>(foreign.size()));
  }
  const std::string script = dirs.root() + "/events.txt";
  // The start-up logos run for about 5.5 s (some 350 frames at 16 ms), then the
  // welcome screen fades in for about 32 frames. An Enter during the logos
  // changes nothing.
  std::ofstream(script) << "200 key Return\n"
                           "440 key F8\n"
                           "470 key Return\n"
                           "600 key F8\n"
                           "620 quit\n";
  const std::string log = dirs.root() + "/out.txt";
  const std::string command = "cd / && SDL_AUDIODRIVER=dummy STARMOOR_EVENT_SCRIPT='" + script +
                              "' timeout 180 '" STARMOOR_EXE "' -windowed > '" + log + "' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream outText(log);
  const std::string output((std::istreambuf_iterator<char>(outText)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(WIFEXITED(status)) << output;
  ASSERT_EQ(WEXITSTATUS(status), 0) << output;

  // The docking screen's banner has its left border at x 433 from y 250 to 340;
  // on the welcome screen that stretch is open space.
  const std::string shots = saveFolder + "/ScreenShots/";
  EXPECT_LT(cyanRun(shots + "ScrShot1.png", 433, 255, 295), 5);
  EXPECT_GT(cyanRun(shots + "ScrShot2.png", 433, 255, 295), 30);

  // The foreign file was kept, and the defaults were written behind our header.
  EXPECT_EQ(readAll(saveFolder + "/Starmoor.sav.bak"), foreign);
  const std::vector<uint8_t> expected = {10, 0, 0, 0, 'V', 'T', 'Q', 'A', '_', 'P', 'L', '7', '6', '2',
                                         1,  0, 0, 0, 50,  0,   0,   0,   50,  0,   0,   0};
  EXPECT_EQ(readAll(saveFolder + "/Starmoor.sav"), expected);
  EXPECT_FALSE(std::filesystem::exists(saveFolder + "/Starmoor.sav.tmp"));
}

}  // namespace
#endif
