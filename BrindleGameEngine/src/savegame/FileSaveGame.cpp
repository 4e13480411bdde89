#include "FileSaveGame.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "BackupFile.h"
#include "GameApp.h"
#include "Buffer.h"
#include "GameApp.h"
#include "ReplaceFile.h"
#include "SaveGameEntry.h"

namespace {

const char* reason(int error) { return error != 0 ? std::strerror(error) : "unknown reason"; }

// Closes the descriptor on every way out of the load.
struct FileCloser {
  int fd;
  ~FileCloser() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

FileSaveGame::FileSaveGame(const std::string& path, GameApp* app) : path_(path), app_(app) {}

FileSaveGame::~FileSaveGame() = default;

bool FileSaveGame::save() {
  if (path_.empty()) return false;
  if (buffer_) {
    // Only an entry that saves from inside a save or load gets here.
    fileBuffer_.reset();
    buffer_ = nullptr;
    return false;
  }
  // Whoever stopped the saving, or the load that left the file alone, has said so.
  if (leftAlone_ || savingStopped_) return false;
  // Checked before the entries write: those with files of their own write them
  // then, and a save that cannot be stored must not leave them a save ahead.
  std::string target;
  const std::string refused = replacefile::whyNotWritable(path_, &target);
  if (!refused.empty()) {
    sayWriteFailure(refused);
    return false;
  }
  fileBuffer_ = std::make_unique<Buffer>();
  buffer_ = fileBuffer_.get();
  buffer_->clear();
  buffer_->resetReadPosition();
  if (app_) {
    const std::string id = app_->getSaveIdentifier();
    buffer_->writeInt(static_cast<int32_t>(id.size()));
    write(reinterpret_cast<const uint8_t*>(id.data()), static_cast<int>(id.size()));
  }
  bool ok = true;
  for (auto& item : entryMap_) ok = item.second->write(this) && ok;
  const std::unique_ptr<Buffer> done = std::move(fileBuffer_);
  buffer_ = nullptr;
  if (!ok) return false;

  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path_).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  std::string why;
  const bool written = replacefile::write(path_, done->bytes(), static_cast<size_t>(done->byteCount()), &why);
  if (written) {
    failureSaid_ = false;
    return true;
  }
  // The folder is what usually fails: name it when it could not be made.
  sayWriteFailure(ec ? ec.message() : why);
  return false;
}

void FileSaveGame::sayWriteFailure(const std::string& why) {
  // Every save of a session fails the same way: once is enough.
  if (failureSaid_) return;
  failureSaid_ = true;
  std::printf("ERROR: could not write the save file %s (%s); the game is not saved\n", path_.c_str(),
              why.c_str());
  std::fflush(stdout);
  if (app_) app_->tellPlayer("The game is not saved: could not write " + path_ + " (" + why + ")");
}

bool FileSaveGame::moveAside(const char* what) {
  // Only the name changes: a huge file or a folder is never copied.
  std::string why;
  const std::string target = backupfile::moveAside(path_, &why);
  if (!target.empty()) {
    std::printf("The save file %s is %s, not a save; it was moved aside to %s\n", path_.c_str(),
                what, target.c_str());
    std::fflush(stdout);
    backupPath_ = target;
    return true;
  }
  std::printf("ERROR: the save file %s is %s, not a save, and could not be moved aside (%s); it is "
              "left as it is and the game runs on defaults without saving\n",
              path_.c_str(), what, why.c_str());
  std::fflush(stdout);
  leftAlone_ = true;
  return false;
}

FileSaveGame::ReadResult FileSaveGame::readFile(std::string& contents) {
  // Non-blocking, so a pipe or device at the save path cannot stall the start.
  FileCloser file{open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (file.fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
    const int error = errno;
    std::printf("ERROR: the save file %s cannot be read (%s); it is left as it is and the game "
                "runs on defaults without saving\n",
                path_.c_str(), reason(error));
    std::fflush(stdout);
    leftAlone_ = true;
    return ReadResult::LeftAlone;
  }
  struct stat st {};
  if (fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(file.fd);
    file.fd = -1;
    return moveAside(S_ISDIR(st.st_mode) ? "a folder" : "not a regular file") ? ReadResult::MovedAside
                                                                             : ReadResult::LeftAlone;
  }
  if (st.st_size > kMaxSaveBytes) {
    close(file.fd);
    file.fd = -1;
    const std::string what = std::to_string(st.st_size) + " bytes long";
    return moveAside(what.c_str()) ? ReadResult::MovedAside : ReadResult::LeftAlone;
  }
  // Read to the end but never past the limit, whatever the size said.
  contents.clear();
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(file.fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      std::printf("ERROR: the save file %s cannot be read (%s); it is left as it is and the game "
                  "runs on defaults without saving\n",
                  path_.c_str(), reason(error));
      std::fflush(stdout);
      leftAlone_ = true;
      return ReadResult::LeftAlone;
    }
    if (n == 0) break;
    contents.append(chunk, static_cast<size_t>(n));
    if (contents.size() > static_cast<size_t>(kMaxSaveBytes)) {
      contents.clear();
      return moveAside("still growing past any save's size") ? ReadResult::MovedAside
                                                            : ReadResult::LeftAlone;
    }
  }
  return ReadResult::Read;
}

bool FileSaveGame::readHeader() {
  if (!app_) return true;
  const std::string id = app_->getSaveIdentifier();
  const int32_t length = buffer_->readInt();
  if (buffer_->readPastEnd()) return false;
  // Check the stored length before trusting it with anything.
  const int remaining = buffer_->byteCount() - buffer_->readPosition() / 8;
  if (length < 0 || length > remaining || length != static_cast<int32_t>(id.size())) return false;
  std::string stored(static_cast<size_t>(length), '\0');
  for (int32_t i = 0; i < length; ++i) stored[static_cast<size_t>(i)] = static_cast<char>(buffer_->readByte());
  return !buffer_->readPastEnd() && stored == id;
}

bool FileSaveGame::readEntries() {
  bool ok = true;
  for (auto& item : entryMap_) ok = item.second->read(this) && ok;
  return ok;
}

bool FileSaveGame::load() {
  if (path_.empty()) return false;
  if (buffer_) {
    fileBuffer_.reset();
    buffer_ = nullptr;
    return false;
  }
  backupPath_.clear();
  std::string contents;
  switch (readFile(contents)) {
    case ReadResult::Read: break;
    case ReadResult::Missing:
    case ReadResult::MovedAside:
    case ReadResult::LeftAlone:
      return false;
  }
  leftAlone_ = false;
  fileBuffer_ = std::make_unique<Buffer>();
  buffer_ = fileBuffer_.get();
  buffer_->clear();
  buffer_->resetReadPosition();
  buffer_->setBytes(reinterpret_cast<const uint8_t*>(contents.data()),
                    static_cast<int>(contents.size()));
  contents.clear();

  bool ok = readHeader();
  loading_ = true;
  if (ok) {
    // Keep the current values so a file that ends early leaves them as they were.
    Buffer snapshot;
    buffer_ = &snapshot;
    for (auto& item : entryMap_) item.second->write(this);
    buffer_ = fileBuffer_.get();
    // A value no entry could have written, a file that ends early or one with
    // bytes past the last entry is not one of our saves.
    const bool valid = readEntries();
    const bool whole = !buffer_->readPastEnd() && buffer_->readPosition() == buffer_->byteCount() * 8;
    if (!valid || !whole) {
      ok = false;
      snapshot.resetReadPosition();
      buffer_ = &snapshot;
      restoring_ = true;
      readEntries();
      restoring_ = false;
      buffer_ = fileBuffer_.get();
    }
  }
  loading_ = false;
  fileBuffer_.reset();
  buffer_ = nullptr;
  if (!ok) keepBackup();
  return ok;
}

bool FileSaveGame::keepBackup() {
  std::string why;
  const std::string target = backupfile::copy(path_, &why);
  if (target.empty()) {
    // Without a copy the defaults must not go over it.
    std::printf("ERROR: the save file %s could not be read and no copy of it could be kept (%s); "
                "it is left as it is and the game runs on defaults without saving\n",
                path_.c_str(), why.c_str());
    std::fflush(stdout);
    backupPath_.clear();
    leftAlone_ = true;
    return false;
  }
  std::printf("The save file %s could not be read; it was kept as %s\n", path_.c_str(), target.c_str());
  std::fflush(stdout);
  backupPath_ = target;
  return true;
}

void FileSaveGame::write(const uint8_t* bytes, int count) {
  if (buffer_) buffer_->writeBytes(bytes, count);
}

void FileSaveGame::read(uint8_t* bytes, int count) {
  if (buffer_) buffer_->readBytes(bytes, count);
}
