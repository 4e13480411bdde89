#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace bge {

// Content files (levels, entities, layouts, strings, catalogues, shader
// sources) are a few KB; the biggest we ship is under 20 KB. A modder's
// hand-made level may well be a hundred times that, so 8 MiB refuses nothing
// real while keeping what a parse can cost (TinyXML keeps several times the
// text) to tens of MB.
constexpr size_t kMaxContentFileBytes = 8u * 1024u * 1024u;

// Our biggest picture is under 200 KB; 32 MiB holds a 4096 x 4096 photograph
// as PNG, more than any screen of ours shows, and the bytes are held while
// the picture is decoded.
constexpr size_t kMaxImageFileBytes = 32u * 1024u * 1024u;
// Effects are decoded whole into memory; ours are under 120 KB, and 16 MiB
// is a minute and a half of CD-quality WAV.
constexpr size_t kMaxSoundFileBytes = 16u * 1024u * 1024u;
// A track is held in memory while it plays; ours are under 100 KB, and
// 64 MiB is an hour of OGG or six minutes of CD-quality WAV.
constexpr size_t kMaxMusicFileBytes = 64u * 1024u * 1024u;

enum class FileReadResult { Read, Missing, NotRegular, TooBig, Failed };

// Reads a regular file of at most `limit` bytes whole, in one pass straight
// into `out` (room for `spare` more bytes is reserved behind the text). A
// folder, a pipe, a device (a link to /dev/zero) or a bigger file is refused
// from its stat alone, without a wait and without reading it; `out` is left
// empty on every answer but Read.
FileReadResult readRegularFile(const std::string& path, size_t limit, std::string& out, size_t spare = 0);
FileReadResult readRegularFile(const std::string& path, size_t limit, std::vector<unsigned char>& out);

// "cannot be opened", "is not a regular file", ... for a message that names the file.
std::string describeFileRead(FileReadResult result, size_t limit);

}  // namespace bge
