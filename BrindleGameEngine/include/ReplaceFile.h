#pragma once
#include <cstddef>
#include <string>

// Whole-file writes that replace a file in one step: the bytes go to a temporary
// file of a name no other process uses, beside the real file, are flushed and
// renamed over it, so a crash leaves the old file or the new one and two copies
// of the game never write into the same temporary file.
namespace replacefile {

// Empty when the file at path may be replaced (or made), else why not. A
// symbolic link is followed to its target (*target); a link to nothing, a
// read-only file or one this user may not write is refused: the player's link
// or protection stays as it is.
std::string whyNotWritable(const std::string& path, std::string* target);

// Replaces the file at path (through a link, its target) with the bytes.
// False with *why saying what failed (the system's reason).
bool write(const std::string& path, const void* bytes, size_t count, std::string* why);

// Writes all the bytes to an open file, through short writes and interruptions.
// False with errno set when the file takes no more.
bool writeAll(int fd, const void* bytes, size_t count);

}  // namespace replacefile
