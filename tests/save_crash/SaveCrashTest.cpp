// A save killed at any moment leaves the file it replaced or the one it wrote:
// a child saves ever-growing entries in a loop and is killed with SIGKILL at
// random moments; after each kill the file must load whole and consistent.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "FileSaveGame.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "TestEnv.h"

namespace {

class SaveApp : public GameApp {
 public:
  std::string getSaveIdentifier() const override { return "VTQA_PL762"; }
};

uint8_t patternByte(int32_t generation, int32_t i) {
  return static_cast<uint8_t>((generation * 131 + i * 7) ^ (i >> 3));
}

// A record whose length grows with its generation and whose bytes all depend
// on it, so a file mixing two saves cannot pass for either.
class GrowingEntry : public SaveGameEntry {
 public:
  static constexpr int32_t kMaxLength = 1 << 16;

  int32_t generation = 0;
  bool valid = true;

  static int32_t lengthFor(int32_t generation) { return 32 + (generation % 1024) * 48; }

  bool write(SaveGame* save) override {
    const int32_t length = lengthFor(generation);
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    for (int32_t i = 0; i < length; ++i) bytes[static_cast<size_t>(i)] = patternByte(generation, i);
    save->write(reinterpret_cast<const uint8_t*>(&generation), 4);
    save->write(reinterpret_cast<const uint8_t*>(&length), 4);
    save->write(bytes.data(), length);
    return true;
  }
  bool read(SaveGame* save) override {
    int32_t length = 0;
    save->read(reinterpret_cast<uint8_t*>(&generation), 4);
    save->read(reinterpret_cast<uint8_t*>(&length), 4);
    valid = length == lengthFor(generation) && length <= kMaxLength;
    if (!valid) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    save->read(bytes.data(), length);
    for (int32_t i = 0; i < length && valid; ++i) valid = bytes[static_cast<size_t>(i)] == patternByte(generation, i);
    return valid;
  }
  int getSize() const override { return 0; }
};

struct SaveFile {
  explicit SaveFile(const std::string& path) : save(path, GameApp::instance()) {
    first = new GenericEntry<int32_t>(0, 0);
    last = new GenericEntry<int32_t>(0, 0);
    payload = new GrowingEntry();
    // Stored in name order: the generation before and after the payload.
    save.addEntry("A_GENERATION", first);
    save.addEntry("B_PAYLOAD", payload);
    save.addEntry("Z_GENERATION", last);
  }
  void set(int32_t generation) {
    first->setValue(generation);
    payload->generation = generation;
    last->setValue(generation);
  }
  FileSaveGame save;
  GenericEntry<int32_t>* first;
  GenericEntry<int32_t>* last;
  GrowingEntry* payload;
};

// The child: continues from the file's generation, saves the next ones and
// tells the parent each generation that save() reported stored.
[[noreturn]] void saveForever(const std::string& path, int reportFd) {
  SaveFile file(path);
  int32_t generation = file.save.load() ? file.first->getValue() : 0;
  for (int n = 0; n < 1000000; ++n) {
    file.set(++generation);
    if (file.save.save()) {
      if (write(reportFd, &generation, sizeof generation) != sizeof generation) _exit(3);
    }
  }
  _exit(0);
}

// The last generation the child reported, or fallback when it reported none.
int32_t lastReported(int fd, int32_t fallback) {
  int32_t value = 0;
  int32_t last = fallback;
  while (read(fd, &value, sizeof value) == static_cast<ssize_t>(sizeof value)) last = value;
  return last;
}

TEST(SaveCrash, EveryKillLeavesThePreviousOrTheNewSave) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string path = dirs.data() + "/Starmoor/Starmoor.sav";
  // Kills are spread over about three saves, however long the disk takes for one.
  std::chrono::microseconds saveTime(0);
  {
    SaveFile baseline(path);
    for (int32_t generation = 1; generation <= 3; ++generation) {
      baseline.set(generation);
      const auto start = std::chrono::steady_clock::now();
      ASSERT_TRUE(baseline.save.save());
      saveTime = std::max(saveTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::steady_clock::now() - start));
    }
  }
  const int maxDelayUs = static_cast<int>(std::min<int64_t>(std::max<int64_t>(3 * saveTime.count(), 1000), 20000));
  int pipeFds[2];
  ASSERT_EQ(0, pipe2(pipeFds, O_NONBLOCK));

  std::mt19937 random(20261208u);
  std::uniform_int_distribution<int> delayUs(0, maxDelayUs);
  int32_t known = 3;  // the generation the file held after the last kill
  int killsMidSave = 0;
  for (int kill = 0; kill < 1000; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      saveForever(path, pipeFds[1]);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended on its own, kill " << kill;
    const int32_t reported = lastReported(pipeFds[0], known);

    SaveFile loaded(path);
    ASSERT_TRUE(loaded.save.load()) << "kill " << kill << " left a file that does not load";
    const int32_t generation = loaded.first->getValue();
    ASSERT_TRUE(loaded.payload->valid) << "kill " << kill << ": payload of another save";
    ASSERT_EQ(generation, loaded.payload->generation) << "kill " << kill;
    ASSERT_EQ(generation, loaded.last->getValue()) << "kill " << kill;
    // Stored and reported, or stored while the child was killed before it could tell.
    ASSERT_TRUE(generation == reported || generation == reported + 1)
        << "kill " << kill << ": file holds " << generation << ", last reported " << reported;
    if (generation == reported + 1) ++killsMidSave;
    EXPECT_TRUE(loaded.save.backupPath().empty());
    known = generation;
  }
  close(pipeFds[0]);
  close(pipeFds[1]);
  // The children really saved, and files of many different lengths were replaced.
  EXPECT_GT(known, 50);
  std::printf("final generation %d; %d kills landed between a save's rename and its report; "
              "kills within %d us\n", known, killsMidSave, maxDelayUs);
}

}  // namespace
