#pragma once
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace bge {

// No picture of ours comes near this; a header claiming more is damaged or hostile,
// and decoding it would take gigabytes before failing.
constexpr int kMaxImageSide = 8192;

// Why an image file gave no picture.
struct ImageProblem {
  bool missing = false;  // nothing at the path, as opposed to a file we could not use
  std::string text;      // "is missing", "is not a regular file ...", "claims 30000 x 30000 pixels ...", ...
};

// Width and height from the first bytes of a PNG, JPEG, WEBP or BMP file, read
// through the stream without decoding a pixel. False for another kind of file or
// a damaged header; the stream is left wherever the reading stopped.
bool readImageSize(SDL_RWops* stream, int& width, int& height, std::string& kind);

// Reads the file through bge::readRegularFile (a regular file of at most
// kMaxImageFileBytes) and decodes it only after its header gave a size within
// kMaxImageSide a side. Null on any failure, with the reason in problem when
// one is given.
SDL_Surface* loadImageSurface(const std::string& path, ImageProblem* problem = nullptr);

// As loadImageSurface, printing "ERROR: image file <path> <reason>" on failure;
// a missing file is quiet when quietWhenMissing is set (optional companions).
SDL_Surface* loadImageSurfaceOrSay(const std::string& path, bool quietWhenMissing = false);

}  // namespace bge
