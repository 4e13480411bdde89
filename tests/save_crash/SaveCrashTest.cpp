// A save killed at any moment leaves the file it replaced or the one it wrote:
// a child saves ever-growing entries in a loop and is killed with SIGKILL at
// random moments; after each kill the file must load whole and consistent.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "FileSaveGame.h"
#include "GameApp.h"
#include "GenericEntry.h"
#include "Profile/Profile.h"
#include "Profile/ProfileLock.h"
#include "Profile/ProfileSideFiles.h"
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

// A save whose entries stand between two generation entries: stored in name
// order, the generation goes before and after whatever a kill can cut short.
struct GenerationFile {
  explicit GenerationFile(const std::string& path) : save(path, GameApp::instance()) {
    first = new GenericEntry<int32_t>(0, 0);
    last = new GenericEntry<int32_t>(0, 0);
    save.addEntry("A_GENERATION", first);
    save.addEntry("Z_GENERATION", last);
  }
  void setGeneration(int32_t generation) {
    first->setValue(generation);
    last->setValue(generation);
  }
  FileSaveGame save;
  GenericEntry<int32_t>* first;  // owned by the save
  GenericEntry<int32_t>* last;   // owned by the save
};

struct SaveFile : GenerationFile {
  explicit SaveFile(const std::string& path) : GenerationFile(path) {
    payload = new GrowingEntry();
    save.addEntry("B_PAYLOAD", payload);
  }
  void set(int32_t generation) {
    setGeneration(generation);
    payload->generation = generation;
  }
  GrowingEntry* payload;  // owned by the save
};

// The child: continues from the file's generation, saves the next ones and
// tells the parent each generation that save() reported stored.
template <class File>
[[noreturn]] void saveForever(const std::string& path, int reportFd) {
  File file(path);
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

// A loaded machine (the sanitizer run beside other tests) saves slower than
// the baseline measured: a kill that found no new save widens the next
// window, up to 0.2 s, and one that did returns it to the measured one.
int nextKillWindowUs(int windowUs, int measuredUs, bool progressed) {
  return progressed ? measuredUs : std::min(2 * windowUs, 200000);
}
int killDelayUs(std::mt19937& random, int windowUs) {
  return std::uniform_int_distribution<int>(0, windowUs)(random);
}

// Saves generations 1..3 through a fresh file object and gives the kill window:
// about three of the longest of those saves, so the kills are spread over a few
// saves of this machine, at least 1 ms and at most capUs.
template <class File>
void timeBaselineSaves(const std::string& path, int capUs, int* windowUs) {
  File baseline(path);
  std::chrono::microseconds longest(0);
  for (int32_t generation = 1; generation <= 3; ++generation) {
    baseline.set(generation);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(baseline.save.save());
    longest = std::max(longest, std::chrono::duration_cast<std::chrono::microseconds>(
                                    std::chrono::steady_clock::now() - start));
  }
  *windowUs = static_cast<int>(std::min<int64_t>(std::max<int64_t>(3 * longest.count(), 1000), capUs));
}

// Forks a child that saves forever, kills it after a random delay within the
// window and reads the last generation it reported (`known` when none).
void killSavingChild(void (*saveLoop)(const std::string&, int), const std::string& path, const int pipeFds[2],
                     std::mt19937& random, int windowUs, int32_t known, int kill, int32_t* reported) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(pipeFds[0]);
    saveLoop(path, pipeFds[1]);
  }
  std::this_thread::sleep_for(std::chrono::microseconds(killDelayUs(random, windowUs)));
  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(child, waitpid(child, &status, 0));
  ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended on its own, kill " << kill;
  *reported = lastReported(pipeFds[0], known);
}

TEST(SaveCrash, EveryKillLeavesThePreviousOrTheNewSave) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string path = dirs.data() + "/Starmoor/Starmoor.sav";
  // Kills are spread over about three saves, however long the disk takes for one.
  int maxDelayUs = 0;
  ASSERT_NO_FATAL_FAILURE(timeBaselineSaves<SaveFile>(path, 20000, &maxDelayUs));
  int pipeFds[2];
  ASSERT_EQ(0, pipe2(pipeFds, O_NONBLOCK));

  std::mt19937 random(20261208u);
  int windowUs = maxDelayUs;  // widened after a kill that found no new save
  int32_t known = 3;  // the generation the file held after the last kill
  int killsMidSave = 0;
  for (int kill = 0; kill < 1000; ++kill) {
    int32_t reported = known;
    ASSERT_NO_FATAL_FAILURE(killSavingChild(saveForever<SaveFile>, path, pipeFds, random, windowUs, known, kill, &reported));

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
    windowUs = nextKillWindowUs(windowUs, maxDelayUs, generation != known);
    known = generation;
  }
  close(pipeFds[0]);
  close(pipeFds[1]);
  // The children really saved, and files of many different lengths were replaced.
  EXPECT_GT(known, 50);
  std::printf("final generation %d; %d kills landed between a save's rename and its report; "
              "kills within %d us\n", known, killsMidSave, maxDelayUs);
}

// The same for the real profile: its record in the save file and its four
// side files, each replaced on its own. After any kill every file reads whole,
// the record matches the generation entries around it, and the side files are
// of that save or of the one that was being written.
struct ProfileFile : GenerationFile {
  explicit ProfileFile(const std::string& path) : GenerationFile(path) {
    profile = new Profile("Commander");
    save.addEntry("PLAYER_PROFILE", profile);
  }
  static int32_t widthFor(int32_t generation) { return 320 + generation % 4000; }
  // Option flags hold small numbers only; a larger one is a damaged file.
  static int32_t flagFor(int32_t generation) { return generation % (sidefiles::kHighestCustomFlag + 1); }
  void set(int32_t generation) {
    setGeneration(generation);
    profile->setHasProgress((generation & 1) != 0);
    profile->setFullscreen((generation & 2) != 0);
    profile->setCustomFlag(0, flagFor(generation));
    profile->setScreenSize(widthFor(generation), 768);
    profile->setMissionWon(generation % 45);
    profile->setBadge(generation % 45, generation % 5, generation % 3);
  }
  Profile* profile;  // owned by the save
};

TEST(SaveCrash, ProfileRecordAndSideFilesSurviveEveryKill) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string folder = dirs.data() + "/Starmoor";
  const std::string path = folder + "/Starmoor.sav";
  // Five files are flushed per save here, so the kills spread over more time.
  int maxDelayUs = 0;
  ASSERT_NO_FATAL_FAILURE(timeBaselineSaves<ProfileFile>(path, 200000, &maxDelayUs));
  int pipeFds[2];
  ASSERT_EQ(0, pipe2(pipeFds, O_NONBLOCK));
  std::mt19937 random(20261209u);
  int windowUs = maxDelayUs;
  int32_t known = 3;
  for (int kill = 0; kill < 300; ++kill) {
    int32_t reported = known;
    ASSERT_NO_FATAL_FAILURE(killSavingChild(saveForever<ProfileFile>, path, pipeFds, random, windowUs, known, kill, &reported));

    ProfileFile loaded(path);
    ASSERT_TRUE(loaded.save.load()) << "kill " << kill << " left a save that does not load";
    const int32_t generation = loaded.first->getValue();
    ASSERT_EQ(generation, loaded.last->getValue()) << "kill " << kill;
    ASSERT_TRUE(generation == reported || generation == reported + 1) << "kill " << kill;
    const Profile* p = loaded.profile;
    ASSERT_EQ(p->hasProgress(), (generation & 1) != 0) << "kill " << kill << ": record of another save";
    ASSERT_EQ(p->isFullscreen(), (generation & 2) != 0) << "kill " << kill;
    // Side files are written before the save is renamed into place.
    const int32_t flags = p->customFlag(0);
    const bool flagsOfThisSave = flags == ProfileFile::flagFor(generation);
    ASSERT_TRUE(flagsOfThisSave || flags == ProfileFile::flagFor(generation + 1))
        << "kill " << kill << ": flags of " << flags;
    const int32_t flagsGeneration = flagsOfThisSave ? generation : generation + 1;
    const int32_t width = p->screenSize().width;
    ASSERT_TRUE(width == ProfileFile::widthFor(flagsGeneration) || width == ProfileFile::widthFor(flagsGeneration + 1))
        << "kill " << kill << ": screen size of another save";
    ASSERT_TRUE(p->isMissionWon(generation % 45)) << "kill " << kill;
    ASSERT_TRUE(p->hasBadge(generation % 45, generation % 5, generation % 3)) << "kill " << kill;
    for (const char* side : {"screensize.dat", "missions.dat", "customflags.dat", "badges.dat"})
      ASSERT_FALSE(std::filesystem::exists(folder + "/" + side + ".bak")) << "kill " << kill << ": " << side;
    windowUs = nextKillWindowUs(windowUs, maxDelayUs, generation != known);
    known = generation;
  }
  close(pipeFds[0]);
  close(pipeFds[1]);
  EXPECT_GT(known, 20);
  std::printf("profile: final generation %d, kills within %d us\n", known, maxDelayUs);
}

// Two copies of the game on one profile: the first holds the profile's lock and
// saves, a second finds it taken and waits; the first is killed mid-save. The
// kernel frees the lock with it, so the next start takes the profile at once
// (while the second still runs) and finds a save that loads whole.
TEST(SaveCrash, AKilledFirstCopyFreesTheProfileForTheNextStart) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string folder = dirs.data() + "/Starmoor";
  const std::string path = folder + "/Starmoor.sav";
  int windowUs = 0;
  ASSERT_NO_FATAL_FAILURE(timeBaselineSaves<ProfileFile>(path, 200000, &windowUs));
  std::mt19937 random(20261210u);
  for (int kill = 0; kill < 40; ++kill) {
    int ready[2], reports[2];
    ASSERT_EQ(0, pipe(ready));
    ASSERT_EQ(0, pipe2(reports, O_NONBLOCK));
    const pid_t first = fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
      static ProfileLock lock;
      const char held = lock.acquire(folder, nullptr) == ProfileLock::Result::Held ? 'H' : 'x';
      if (write(ready[1], &held, 1) != 1 || held != 'H') _exit(4);
      saveForever<ProfileFile>(path, reports[1]);
    }
    char answer = 0;
    ASSERT_EQ(1, read(ready[0], &answer, 1));
    ASSERT_EQ('H', answer) << "kill " << kill << ": the first copy did not get the profile";
    const pid_t second = fork();
    ASSERT_GE(second, 0);
    if (second == 0) {
      ProfileLock lock;
      const char said = lock.acquire(folder, nullptr) == ProfileLock::Result::InUse ? 'U' : 'x';
      if (write(ready[1], &said, 1) != 1) _exit(4);
      for (;;) pause();  // a copy that runs on without the profile
    }
    ASSERT_EQ(1, read(ready[0], &answer, 1));
    EXPECT_EQ('U', answer) << "kill " << kill << ": the second copy did not find the profile in use";
    std::this_thread::sleep_for(std::chrono::microseconds(killDelayUs(random, windowUs)));
    ::kill(first, SIGKILL);
    ASSERT_EQ(first, waitpid(first, nullptr, 0));

    {
      ProfileLock next;
      EXPECT_EQ(ProfileLock::Result::Held, next.acquire(folder, nullptr)) << "kill " << kill;
      ProfileFile loaded(path);
      EXPECT_TRUE(loaded.save.load()) << "kill " << kill << " left a save that does not load";
      EXPECT_EQ(loaded.first->getValue(), loaded.last->getValue()) << "kill " << kill;
    }
    ::kill(second, SIGKILL);
    ASSERT_EQ(second, waitpid(second, nullptr, 0));
    for (int fd : {ready[0], ready[1], reports[0], reports[1]}) close(fd);
    if (HasFailure()) break;
  }
}

}  // namespace
