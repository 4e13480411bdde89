#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The profile's four side files beside the save file. Each has a fixed size;
// a file of another size, or with a value no profile can hold, is rejected
// whole (kept as a backup) and the profile keeps its values.
namespace sidefiles {

constexpr const char* kScreenSize = "screensize.dat";
constexpr const char* kMissions = "missions.dat";
constexpr const char* kCustomFlags = "customflags.dat";
constexpr const char* kBadges = "badges.dat";

constexpr int kMissionCount = 45;
constexpr int kBadgeCount = 675;
// Screen sizes a window can really have.
constexpr int32_t kMinScreenSide = 320;
constexpr int32_t kMaxScreenSide = 16384;

// Values the option flags, the last station, mission and mode are ever given.
constexpr int32_t kLowestCustomFlag = -1;
constexpr int32_t kHighestCustomFlag = 1000;

// Rejected: kept as a backup, the defaults may replace it. LeftAlone: rejected
// but no copy could be kept, so nothing may be written over it.
enum class ReadResult { Missing, Rejected, LeftAlone, Read };

// Encoders: the bytes written to each file.
std::vector<unsigned char> encodeScreenSize(int32_t width, int32_t height);
std::vector<unsigned char> encodeFlags(const std::vector<bool>& flags);  // missions and badges
std::vector<unsigned char> encodeInts(const std::vector<int32_t>& values);

// Decoders: true when the bytes are a whole, valid file of that kind.
bool decodeScreenSize(const std::vector<unsigned char>& bytes, int32_t* width, int32_t* height);
bool decodeFlags(const std::vector<unsigned char>& bytes, size_t count, std::vector<bool>* flags);
bool decodeInts(const std::vector<unsigned char>& bytes, size_t count, int32_t lowest, int32_t highest,
                std::vector<int32_t>* values);

// Reads a file and runs the decoder; a rejected file is kept as a backup first.
template <typename Decode>
ReadResult readSideFile(const std::string& path, Decode decode);
ReadResult readFile(const std::string& path, std::vector<unsigned char>* bytes);
ReadResult reject(const std::string& path);
// A whole file that knows nothing of the wins the save record (or missions.dat)
// shows (a power cut can leave one zero-filled): kept as a backup (once: a copy
// already kept is named instead) and said, before the profile writes over it. False when no copy
// could be kept: nothing may then be written over it.
bool keepShortfall(const std::string& path, const std::vector<unsigned char>& bytes, const char* what);
// True when every byte is zero.
bool zeroFilled(const std::vector<unsigned char>& bytes);

}  // namespace sidefiles

template <typename Decode>
sidefiles::ReadResult sidefiles::readSideFile(const std::string& path, Decode decode) {
  std::vector<unsigned char> bytes;
  const ReadResult r = readFile(path, &bytes);
  if (r != ReadResult::Read) return r;
  if (decode(bytes)) return ReadResult::Read;
  return reject(path);
}
