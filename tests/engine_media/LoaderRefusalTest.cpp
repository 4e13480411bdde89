// Every loader of a content file (pictures, sounds, music, shader sources, the
// event script) takes it through the one door: a pipe, a folder or a file over
// its kind's limit in its place is refused by name at once, never read.
#include <GL/glew.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "EventScript.h"
#include "GLTexture.h"
#include "MediaTestSupport.h"
#include "Music.h"
#include "RegularFile.h"
#include "Sound.h"
#include "shader/glShaderObject.h"

namespace {

namespace fs = std::filesystem;

// Opens the pipe for writing once a few seconds have passed, and again until
// stopped: a loader that waits on the pipe is let go, and the test fails on
// its time and message instead of hanging.
class LateWriter {
 public:
  explicit LateWriter(const std::string& fifo)
      : thread_([this, fifo] {
          for (int tick = 0; !done_; ++tick) {
            if (tick >= 60) {
              const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0) ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
          }
        }) {}
  ~LateWriter() {
    done_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

class LoaderRefusal : public media::GLSuite {
 protected:
  static void SetUpTestSuite() {
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    audioOpened_ = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024) == 0;
  }
  static void TearDownTestSuite() {
    if (audioOpened_) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  static bool audioOpened_;
};
bool LoaderRefusal::audioOpened_ = false;

TEST_F(LoaderRefusal, APipeAFolderOrAnOversizedFileIsRefusedByNameWithoutWaiting) {
  ASSERT_TRUE(audioOpened_) << Mix_GetError();
  gsx::aVertexShader first;  // GL's start-up report is printed once, here
  using Load = std::function<bool(const std::string&)>;
  const struct {
    const char* kind;
    const char* extension;
    size_t limit;
    std::function<std::string(const std::string&)> named;  // the start of the message for the path
    Load load;                                              // whether it loaded
  } loaders[] = {
      {"image", ".png", bge::kMaxImageFileBytes,
       [](const std::string& p) { return "ERROR: image file [" + p + "] "; },
       [](const std::string& p) { return GLTexture(p).isLoaded(); }},
      {"sound", ".wav", bge::kMaxSoundFileBytes, [](const std::string& p) { return "Mix_LoadWAV: [" + p + "] "; },
       [](const std::string& p) { return MixSound(p).isLoaded(); }},
      {"music", ".ogg", bge::kMaxMusicFileBytes,
       [](const std::string& p) { return "ERROR: music file " + p + " "; },
       [](const std::string& p) { return MixMusic(p).isLoaded(); }},
      {"shader", ".vert", bge::kMaxContentFileBytes,
       [](const std::string& p) { return "ERROR: shader file " + p + " "; },
       [](const std::string& p) { return gsx::aVertexShader().load(p.c_str()) == 0; }},
      {"event script", ".txt", EventScript::kMaxFileBytes,
       [](const std::string& p) { return "ERROR: event script [" + p + "] "; },
       [](const std::string& p) { return EventScript().loadFromFile(p); }},
  };
  const char* const kInTheWay[] = {"a pipe", "a folder", "a byte over the limit"};
  int n = 0;
  for (const auto& loader : loaders) {
    for (const char* way : kInTheWay) {
      SCOPED_TRACE(std::string(loader.kind) + ", " + way);
      const std::string path = dirs.root() + "/file" + std::to_string(n++) + loader.extension;
      std::string reason = "is not a regular file";
      if (way == kInTheWay[0]) {
        ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
      } else if (way == kInTheWay[1]) {
        fs::create_directory(path);
      } else {
        // Sparse: refused from its size, never read.
        std::ofstream(path, std::ios::binary) << "RIFF";
        fs::resize_file(path, loader.limit + 1);
        reason = "is larger than the " + std::to_string(loader.limit) + " bytes";
      }
      const auto start = std::chrono::steady_clock::now();
      testing::internal::CaptureStdout();
      bool loaded = false;
      {
        LateWriter writer(path);
        loaded = loader.load(path);
      }
      const std::string out = testing::internal::GetCapturedStdout();
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      EXPECT_FALSE(loaded);
      EXPECT_EQ(out.rfind(loader.named(path) + reason, 0), 0u) << out;
      EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
      EXPECT_LT(seconds, 2.0) << "the loader waited on the file";
    }
  }
}

}  // namespace
