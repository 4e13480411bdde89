// The real program: it starts and quits cleanly with and without the store,
// keeps a broken store file aside, and a save it cannot read does not take
// the player's wins in the side files with it.
#include <gtest/gtest.h>
#include <sys/wait.h>

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

struct GameRun {
  int status = -1;
  std::string output;
};

GameRun runGame(const testenv::TempUserDirs& dirs, const std::string& environment, int quitFrame) {
  const std::string script = dirs.root() + "/events.txt";
  std::ofstream(script) << quitFrame << " quit\n";
  const std::string log = dirs.root() + "/out.txt";
  const std::string command = "cd / && SDL_AUDIODRIVER=dummy " + environment + " STARMOOR_EVENT_SCRIPT='" + script +
                              "' timeout 120 '" STARMOOR_EXE "' -windowed > '" + log + "' 2>&1";
  GameRun run;
  run.status = std::system(command.c_str());
  std::ifstream in(log);
  run.output.assign(std::istreambuf_iterator<char>(in), {});
  return run;
}

TEST(GameProgram, WithoutTheStoreStartsAndQuitsCleanly) {
  testenv::TempUserDirs dirs;
  const GameRun run = runGame(dirs, "STARMOOR_STORE=none", 60);
  ASSERT_TRUE(WIFEXITED(run.status)) << run.output;
  EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.output;
  const std::string folder = dirs.data() + "/Starmoor";
  EXPECT_NE(run.output.find("Store platform switched off"), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(folder + "/store.dat"));
  for (const char* side : {"screensize.dat", "missions.dat", "customflags.dat", "badges.dat"})
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + side)) << side;
  EXPECT_EQ(readAll(folder + "/badges.dat").size(), 675u);
}

TEST(GameProgram, BrokenSaveAndStoreFilesLoseNothing) {
  testenv::TempUserDirs dirs;
  const std::string folder = dirs.data() + "/Starmoor";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/Starmoor.sav") << "not a save";
  std::ofstream(folder + "/store.dat") << "STARMOOR-STORE 1\nscore NOWHERE_001 1 5\n";
  std::vector<uint8_t> won(45, 0);
  won[0] = won[1] = 1;
  {
    std::ofstream out(folder + "/missions.dat", std::ios::binary);
    out.write(reinterpret_cast<const char*>(won.data()), 45);
  }
  const GameRun run = runGame(dirs, "", 60);
  ASSERT_TRUE(WIFEXITED(run.status)) << run.output;
  EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.output;
  EXPECT_EQ(readAll(folder + "/Starmoor.sav.bak"), std::vector<uint8_t>({'n', 'o', 't', ' ', 'a', ' ', 's', 'a', 'v', 'e'}));
  EXPECT_EQ(readAll(folder + "/missions.dat"), won) << "the wins in the side file survive the defaults";
  EXPECT_TRUE(std::filesystem::exists(folder + "/store.dat.bak")) << run.output;
  EXPECT_NE(run.output.find("Received stats and achievements"), std::string::npos) << run.output;
}

}  // namespace
#endif
