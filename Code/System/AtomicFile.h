#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Whole-file reads and crash-safe writes for the game's own small files (profile
// side files, the local store). A write goes to a temporary file of its own name
// beside the file, is flushed to disk and renamed over the old file, so a crash
// leaves the old file or the new one. A link is written through to its target;
// a link to nothing or a read-only file is refused. On failure *why (when
// given) says why, in the system's words.
bool writeFileAtomically(const std::string& path, const void* bytes, size_t count, std::string* why = nullptr);
// Our own files are small; anything bigger at their path is not one of them.
constexpr size_t kMaxOwnFileBytes = 4 * 1024 * 1024;
enum class FileRead { Missing, Failed, Read };
// Reads a regular file of at most kMaxOwnFileBytes whole. A folder, a pipe, a
// bigger file or a read error is Failed, never a wait or a part of the file.
FileRead readOwnFile(const std::string& path, std::vector<unsigned char>& out);
// False when the file is missing or cannot be read whole.
bool readWholeFile(const std::string& path, std::vector<unsigned char>& out);
// Keeps a file that failed to load as the next free "<path>.bak", ".bak2" ...
// before defaults replace it (copied, or renamed when it is no small regular
// file) and says where; returns the backup's path, empty when none could be kept.
std::string keepBackupCopy(const std::string& path);
// The folder part of a path ("" for a bare name).
std::string folderOf(const std::string& path);
