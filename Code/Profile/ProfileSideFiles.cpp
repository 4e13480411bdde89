#include "Profile/ProfileSideFiles.h"

#include "AssertReport.h"

#include <cstdio>

#include "BackupFile.h"
#include "Buffer.h"
#include "System/AtomicFile.h"

namespace sidefiles {
namespace {

std::vector<unsigned char> bytesOf(const Buffer& buffer) {
  const unsigned char* b = buffer.bytes();
  return b ? std::vector<unsigned char>(b, b + buffer.byteCount()) : std::vector<unsigned char>();
}

void load(Buffer& buffer, const std::vector<unsigned char>& bytes) {
  buffer.clear();
  buffer.setBytes(bytes.data(), static_cast<int>(bytes.size()));
  buffer.resetReadPosition();
}

}  // namespace

std::vector<unsigned char> encodeScreenSize(int32_t width, int32_t height) {
  Buffer buffer;
  buffer.writeInt(width);
  buffer.writeInt(height);
  return bytesOf(buffer);
}

std::vector<unsigned char> encodeFlags(const std::vector<bool>& flags) {
  Buffer buffer;
  for (bool f : flags) buffer.writeBool(f);
  return bytesOf(buffer);
}

std::vector<unsigned char> encodeInts(const std::vector<int32_t>& values) {
  Buffer buffer;
  for (int32_t v : values) buffer.writeInt(v);
  return bytesOf(buffer);
}

bool decodeScreenSize(const std::vector<unsigned char>& bytes, int32_t* width, int32_t* height) {
  if (bytes.size() != 8) return false;
  Buffer buffer;
  load(buffer, bytes);
  const int32_t w = buffer.readInt();
  const int32_t h = buffer.readInt();
  // A zero or absurd size would give zero or endless scale factors.
  if (w < kMinScreenSide || w > kMaxScreenSide || h < kMinScreenSide || h > kMaxScreenSide) return false;
  *width = w;
  *height = h;
  return true;
}

bool decodeFlags(const std::vector<unsigned char>& bytes, size_t count, std::vector<bool>* flags) {
  if (bytes.size() != count) return false;
  for (unsigned char b : bytes)
    if (b > 1) return false;  // written only as 0 or 1
  flags->assign(count, false);
  for (size_t i = 0; i < count; ++i) (*flags)[i] = bytes[i] == 1;
  return true;
}

bool decodeInts(const std::vector<unsigned char>& bytes, size_t count, int32_t lowest, int32_t highest,
                std::vector<int32_t>* values) {
  if (bytes.size() != count * 4) return false;
  Buffer buffer;
  load(buffer, bytes);
  std::vector<int32_t> read(count, 0);
  for (size_t i = 0; i < count; ++i) {
    read[i] = buffer.readInt();
    if (read[i] < lowest || read[i] > highest) return false;
  }
  *values = read;
  return true;
}

ReadResult readFile(const std::string& path, std::vector<unsigned char>* bytes) {
  switch (readOwnFile(path, *bytes)) {
    case FileRead::Missing: return ReadResult::Missing;
    case FileRead::Read: return ReadResult::Read;
    case FileRead::Failed: break;
  }
  return reject(path);
}

ReadResult reject(const std::string& path) {
  std::printf("WARNING: %s is damaged; its defaults are used\n", path.c_str());
  return keepBackupCopy(path).empty() ? ReadResult::LeftAlone : ReadResult::Rejected;
}

bool keepShortfall(const std::string& path, const std::vector<unsigned char>& bytes, const char* what) {
  const std::string same = backupfile::findSame(path, std::string(bytes.begin(), bytes.end()));
  std::string target = same;
  std::string why;
  if (target.empty()) target = backupfile::copy(path, &why);
  if (BGE_ERROR_MSG(!target.empty(), (path + " " + what + ", though missions were won, and no copy of it could be kept (" +
                                       why + "); it is left as it is")
                                          .c_str())) {
    std::printf("WARNING: %s %s, though missions were won; %s %s\n", path.c_str(), what,
                same.empty() ? "it was kept as" : "its copy is kept as", target.c_str());
  }
  std::fflush(stdout);
  return !target.empty();
}

bool zeroFilled(const std::vector<unsigned char>& bytes) {
  for (unsigned char b : bytes)
    if (b != 0) return false;
  return true;
}

}  // namespace sidefiles
