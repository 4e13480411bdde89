#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "EventScript.h"

namespace {
// SDL's poll answers "empty" once per pump cycle even when events wait behind that point.
bool nextEvent(SDL_Event& e) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (SDL_PollEvent(&e)) return true;
  }
  return false;
}
}  // namespace

TEST(EventScript, ParsesSortsAndRejectsBadLines) {
  EventScript script;
  ASSERT_TRUE(script.parse("# comment\n\n9 quit\n3 key F8   # shot\n3 key Escape\n"));
  ASSERT_EQ(script.steps().size(), 3u);
  EXPECT_EQ(script.steps()[0].argument, "F8");
  EXPECT_EQ(script.steps()[1].argument, "Escape");  // same frame keeps file order
  EXPECT_EQ(script.steps()[2].command, "quit");
  for (const char* bad : {"x quit\n", "3 jump\n", "3 key\n", "-1 quit\n"}) {
    EXPECT_FALSE(script.parse(bad)) << bad;
    EXPECT_TRUE(script.steps().empty());
  }
  EXPECT_FALSE(script.loadFromFile("/nonexistent/events.txt"));
}

TEST(EventScript, AnEndlessOrOversizedFileIsRefused) {
  EventScript script;
  ASSERT_TRUE(script.parse("1 quit\n"));
  EXPECT_FALSE(script.loadFromFile("/dev/zero"));
  EXPECT_TRUE(script.steps().empty());

  char name[] = "/tmp/starmoor-script-XXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  std::string text = "1 quit\n";
  text.resize(EventScript::kMaxFileBytes, '\n');
  std::ofstream(name, std::ios::binary) << text;
  EXPECT_TRUE(script.loadFromFile(name));
  std::ofstream(name, std::ios::binary | std::ios::app) << "\n";
  EXPECT_FALSE(script.loadFromFile(name));
  std::remove(name);
}

TEST(EventScript, PumpsDueStepsIntoTheEventQueue) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  EventScript script;
  ASSERT_TRUE(script.parse("2 key Return\n4 quit\n"));
  EXPECT_EQ(script.pump(1, 7), 0);
  EXPECT_EQ(script.pump(3, 7), 2);
  SDL_Event e;
  ASSERT_TRUE(nextEvent(e));
  EXPECT_EQ(e.type, SDL_KEYDOWN);
  EXPECT_EQ(e.key.keysym.sym, SDLK_RETURN);
  EXPECT_EQ(e.key.windowID, 7u);
  ASSERT_TRUE(nextEvent(e));
  EXPECT_EQ(e.type, SDL_KEYUP);
  EXPECT_FALSE(script.finished());
  EXPECT_EQ(script.pump(10, 7), 1);
  ASSERT_TRUE(nextEvent(e));
  EXPECT_EQ(e.type, SDL_QUIT);
  EXPECT_TRUE(script.finished());
  SDL_Quit();
}
