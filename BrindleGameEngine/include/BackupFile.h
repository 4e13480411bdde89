#pragma once
#include <string>

// Copies of files the game could not read, kept before defaults go over them.
// A backup is "<path>.bak", then "<path>.bak2" ... "<path>.bak<kMaxBackups>";
// an existing backup is never written over, so every damaged start keeps its own.
namespace backupfile {

constexpr int kMaxBackups = 99;
// Larger files are renamed aside rather than copied: no save of ours comes near.
constexpr long long kMaxCopyBytes = 16 * 1024 * 1024;

// Copies the regular file at path byte for byte to a free backup name, made
// exclusively so a name taken meanwhile is skipped. Returns the copy's path, or
// empty with *why saying what failed.
std::string copy(const std::string& path, std::string* why);

// Renames whatever is at path (a folder, a device, a huge file) to a free backup
// name without replacing anything there. Returns the new path, or empty with *why.
std::string moveAside(const std::string& path, std::string* why);

// An existing backup of path that holds exactly these bytes; empty when none does.
// A file that keeps failing the same way is then kept once, not at every start.
std::string findSame(const std::string& path, const std::string& bytes);

// A copy for a small regular file, a rename for anything else.
std::string keep(const std::string& path, std::string* why);

}  // namespace backupfile
