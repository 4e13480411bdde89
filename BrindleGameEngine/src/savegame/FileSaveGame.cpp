#include "FileSaveGame.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "Buffer.h"
#include "GameApp.h"
#include "SaveGameEntry.h"

namespace {

bool writeWholeFile(const std::string& path, const uint8_t* bytes, size_t count) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = count == 0 || std::fwrite(bytes, 1, count, file) == count;
  ok = std::fflush(file) == 0 && ok;
  ok = fsync(fileno(file)) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace

FileSaveGame::FileSaveGame(const std::string& path, GameApp* app) : path_(path), app_(app) {}

FileSaveGame::~FileSaveGame() { delete buffer_; }

bool FileSaveGame::save() {
  if (path_.empty()) return false;
  if (buffer_) {
    // Only an entry that saves from inside a save or load gets here.
    delete buffer_;
    buffer_ = nullptr;
    return false;
  }
  buffer_ = new Buffer();
  buffer_->clear();
  buffer_->resetReadPosition();
  if (app_) {
    const std::string id = app_->getSaveIdentifier();
    buffer_->writeInt(static_cast<int32_t>(id.size()));
    write(reinterpret_cast<const uint8_t*>(id.data()), static_cast<int>(id.size()));
  }
  bool ok = true;
  for (auto& item : entryMap_) ok = item.second->write(this) && ok;
  Buffer* done = buffer_;
  buffer_ = nullptr;

  std::error_code ec;
  const std::filesystem::path parent = std::filesystem::path(path_).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  const std::string temp = path_ + ".tmp";
  ok = writeWholeFile(temp, done->bytes(), static_cast<size_t>(done->byteCount())) && ok;
  delete done;
  if (ok && std::rename(temp.c_str(), path_.c_str()) == 0) return true;
  std::remove(temp.c_str());
  return false;
}

bool FileSaveGame::readFile(std::string& contents) const {
  FILE* file = std::fopen(path_.c_str(), "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    contents.resize(static_cast<size_t>(size));
    ok = size == 0 || std::fread(&contents[0], 1, contents.size(), file) == contents.size();
  }
  ok = std::fclose(file) == 0 && ok;
  return ok;
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

void FileSaveGame::readEntries() {
  for (auto& item : entryMap_) item.second->read(this);
}

bool FileSaveGame::load() {
  if (path_.empty()) return false;
  if (buffer_) {
    delete buffer_;
    buffer_ = nullptr;
    return false;
  }
  {
    FILE* probe = std::fopen(path_.c_str(), "rb");
    if (!probe) return false;
    std::fclose(probe);
  }
  std::string contents;
  if (!readFile(contents)) {
    keepBackup();
    return false;
  }
  buffer_ = new Buffer();
  buffer_->clear();
  buffer_->resetReadPosition();
  buffer_->setBytes(reinterpret_cast<const uint8_t*>(contents.data()),
                    static_cast<int>(contents.size()));
  contents.clear();

  bool ok = readHeader();
  loading_ = true;
  if (ok) {
    // Keep the current values so a file that ends early leaves them as they were.
    Buffer* fileBuffer = buffer_;
    Buffer snapshot;
    buffer_ = &snapshot;
    for (auto& item : entryMap_) item.second->write(this);
    buffer_ = fileBuffer;
    readEntries();
    if (buffer_->readPastEnd()) {
      ok = false;
      snapshot.resetReadPosition();
      buffer_ = &snapshot;
      readEntries();
      buffer_ = fileBuffer;
    }
  }
  loading_ = false;
  delete buffer_;
  buffer_ = nullptr;
  if (!ok) keepBackup();
  return ok;
}

bool FileSaveGame::keepBackup() {
  std::error_code ec;
  std::string target = path_ + ".bak";
  for (int n = 2; n <= 9 && std::filesystem::exists(target, ec); ++n) {
    target = path_ + ".bak" + std::to_string(n);
  }
  if (!std::filesystem::copy_file(path_, target,
                                  std::filesystem::copy_options::overwrite_existing, ec)) {
    std::printf("Could not keep a copy of the unreadable save file %s\n", path_.c_str());
    backupPath_.clear();
    return false;
  }
  std::printf("The save file %s could not be read; it was kept as %s\n", path_.c_str(),
              target.c_str());
  backupPath_ = target;
  return true;
}

void FileSaveGame::write(const uint8_t* bytes, int count) {
  if (buffer_) buffer_->writeBytes(bytes, count);
}

void FileSaveGame::read(uint8_t* bytes, int count) {
  if (buffer_) buffer_->readBytes(bytes, count);
}
