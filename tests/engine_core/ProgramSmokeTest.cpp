// Starts the real program on the test display with a scripted F8 and window close.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "TestEnv.h"

#ifdef STARMOOR_EXE
TEST(ProgramSmoke, RunsTakesAnF8ScreenshotAndExitsZeroOnClose) {
  testenv::TempUserDirs dirs;
  const std::string script = dirs.root() + "/events.txt";
  std::ofstream(script) << "# let a few frames draw first\n"
                           "5 key F8\n"
                           "12 quit\n";
  const std::string log = dirs.root() + "/out.txt";
  // Started from another folder: the program must find its content by itself.
  const std::string command = "cd / && SDL_AUDIODRIVER=dummy STARMOOR_EVENT_SCRIPT='" + script +
                              "' timeout 60 '" STARMOOR_EXE "' -windowed > '" + log + "' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream outText(log);
  const std::string output((std::istreambuf_iterator<char>(outText)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(WIFEXITED(status)) << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_NE(output.find("Stencil size: 8"), std::string::npos) << output;

  const std::string shot = dirs.data() + "/Starmoor/ScreenShots/ScrShot1.png";
  std::ifstream png(shot, std::ios::binary);
  ASSERT_TRUE(png.good()) << shot << "\n" << output;
  char signature[8] = {0};
  png.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

TEST(ProgramSmoke, BadEventScriptStopsBeforeStarting) {
  testenv::TempUserDirs dirs;
  const std::string script = dirs.root() + "/events.txt";
  std::ofstream(script) << "five key F8\n";
  const std::string command = "SDL_AUDIODRIVER=dummy STARMOOR_EVENT_SCRIPT='" + script +
                              "' timeout 60 '" STARMOOR_EXE "' -windowed > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}
#endif
