#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Whole-file reads and crash-safe writes for the game's own small files (profile
// side files, the local store). A write goes to "<path>.tmp", is flushed to disk
// and renamed over the old file, so a crash leaves the old file or the new one.
bool writeFileAtomically(const std::string& path, const void* bytes, size_t count);
// False when the file is missing or cannot be read whole.
bool readWholeFile(const std::string& path, std::vector<unsigned char>& out);
// Copies a file that failed to load to "<path>.bak" (or .bak2 ... .bak9 when
// taken) before defaults replace it; returns the copy's path, empty on failure.
std::string keepBackupCopy(const std::string& path);
// The folder part of a path ("" for a bare name).
std::string folderOf(const std::string& path);
