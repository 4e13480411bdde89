#include "ImageFile.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "RegularFile.h"

namespace bge {
namespace {

bool readBytes(SDL_RWops* stream, uint8_t* out, size_t count) {
  return SDL_RWread(stream, out, 1, count) == count;
}

uint32_t bigEndian32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint32_t littleEndian32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
int bigEndian16(const uint8_t* p) { return (p[0] << 8) | p[1]; }
int littleEndian16(const uint8_t* p) { return p[0] | (p[1] << 8); }

// Sizes beyond int are reported as INT32_MAX so the limit check refuses them.
int clampSide(int64_t side) { return side > INT32_MAX ? INT32_MAX : static_cast<int>(side); }

bool jpegSize(SDL_RWops* stream, int& width, int& height) {
  // Walks the marker segments up to the first frame header.
  for (int segment = 0; segment < 1024; ++segment) {
    uint8_t marker[2];
    if (!readBytes(stream, marker, 2) || marker[0] != 0xFF) return false;
    while (marker[1] == 0xFF) {
      if (!readBytes(stream, marker + 1, 1)) return false;
    }
    const uint8_t code = marker[1];
    if (code == 0xD8 || code == 0x01 || (code >= 0xD0 && code <= 0xD7)) continue;  // no length
    if (code == 0xD9 || code == 0xDA) return false;  // image data before any frame header
    uint8_t lengthBytes[2];
    if (!readBytes(stream, lengthBytes, 2)) return false;
    const int length = bigEndian16(lengthBytes);
    if (length < 2) return false;
    const bool frame = code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
    if (frame) {
      uint8_t header[5];
      if (length < 7 || !readBytes(stream, header, 5)) return false;
      height = bigEndian16(header + 1);
      width = bigEndian16(header + 3);
      return true;
    }
    if (SDL_RWseek(stream, length - 2, RW_SEEK_CUR) < 0) return false;
  }
  return false;
}

bool webpSize(SDL_RWops* stream, int& width, int& height) {
  uint8_t chunk[8 + 10];
  if (!readBytes(stream, chunk, sizeof chunk)) return false;
  const uint8_t* data = chunk + 8;
  if (std::memcmp(chunk, "VP8 ", 4) == 0) {
    if (data[3] != 0x9D || data[4] != 0x01 || data[5] != 0x2A) return false;
    width = littleEndian16(data + 6) & 0x3FFF;
    height = littleEndian16(data + 8) & 0x3FFF;
    return true;
  }
  if (std::memcmp(chunk, "VP8L", 4) == 0) {
    if (data[0] != 0x2F) return false;
    const uint32_t bits = littleEndian32(data + 1);
    width = static_cast<int>(bits & 0x3FFF) + 1;
    height = static_cast<int>((bits >> 14) & 0x3FFF) + 1;
    return true;
  }
  if (std::memcmp(chunk, "VP8X", 4) == 0) {
    width = static_cast<int>(data[4] | (data[5] << 8) | (data[6] << 16)) + 1;
    height = static_cast<int>(data[7] | (data[8] << 8) | (data[9] << 16)) + 1;
    return true;
  }
  return false;
}

}  // namespace

bool readImageSize(SDL_RWops* stream, int& width, int& height, std::string& kind) {
  width = height = 0;
  kind.clear();
  if (!stream) return false;
  uint8_t head[26];
  const size_t got = SDL_RWread(stream, head, 1, sizeof head);
  if (got >= 8 && std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) {
    kind = "PNG";
    if (got < 24 || std::memcmp(head + 12, "IHDR", 4) != 0) return false;
    width = clampSide(bigEndian32(head + 16));
    height = clampSide(bigEndian32(head + 20));
  } else if (got >= 2 && head[0] == 0xFF && head[1] == 0xD8) {
    kind = "JPEG";
    if (SDL_RWseek(stream, 2, RW_SEEK_SET) < 0 || !jpegSize(stream, width, height)) return false;
  } else if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0) {
    kind = "WEBP";
    if (SDL_RWseek(stream, 12, RW_SEEK_SET) < 0 || !webpSize(stream, width, height)) return false;
  } else if (got >= 2 && head[0] == 'B' && head[1] == 'M') {
    kind = "BMP";
    if (got < 26) return false;
    const uint32_t infoSize = littleEndian32(head + 14);
    if (infoSize == 12) {
      width = littleEndian16(head + 18);
      height = littleEndian16(head + 20);
    } else {
      // Negative heights mean rows stored top first.
      const int64_t w = static_cast<int32_t>(littleEndian32(head + 18));
      const int64_t h = static_cast<int32_t>(littleEndian32(head + 22));
      width = clampSide(w < 0 ? -w : w);
      height = clampSide(h < 0 ? -h : h);
    }
  } else {
    return false;
  }
  return width > 0 && height > 0;
}

SDL_Surface* loadImageSurface(const std::string& path, ImageProblem* problem) {
  ImageProblem local;
  ImageProblem& out = problem ? *problem : local;
  out = ImageProblem();
  // Read whole first, through the door every content file takes: a pipe or a
  // device in the image's place is refused without waiting on it.
  std::vector<unsigned char> bytes;
  const FileReadResult read = readRegularFile(path, kMaxImageFileBytes, bytes);
  if (read != FileReadResult::Read) {
    out.missing = read == FileReadResult::Missing;
    out.text = out.missing ? "is missing" : describeFileRead(read, kMaxImageFileBytes);
    return nullptr;
  }
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!stream) {
    out.text = std::string("cannot be read: ") + SDL_GetError();
    return nullptr;
  }
  int width = 0;
  int height = 0;
  std::string kind;
  if (!readImageSize(stream, width, height, kind)) {
    SDL_RWclose(stream);
    out.text = kind.empty() ? "is not a PNG, JPEG, WEBP or BMP image"
                            : "is damaged: its " + kind + " header gives no picture size";
    return nullptr;
  }
  if (width > kMaxImageSide || height > kMaxImageSide) {
    SDL_RWclose(stream);
    out.text = "claims " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels, over the limit of " + std::to_string(kMaxImageSide) + " a side; not loaded";
    return nullptr;
  }
  SDL_RWseek(stream, 0, RW_SEEK_SET);
  SDL_Surface* surface = IMG_Load_RW(stream, 1);
  if (!surface) out.text = "is damaged: " + std::string(SDL_GetError());
  return surface;
}

SDL_Surface* loadImageSurfaceOrSay(const std::string& path, bool quietWhenMissing) {
  ImageProblem problem;
  SDL_Surface* surface = loadImageSurface(path, &problem);
  if (!surface && !(quietWhenMissing && problem.missing)) {
    std::printf("ERROR: image file %s %s\n", path.c_str(), problem.text.c_str());
    std::fflush(stdout);
  }
  return surface;
}

}  // namespace bge
