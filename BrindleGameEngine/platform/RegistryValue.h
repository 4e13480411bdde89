#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Write-only per-user values under the maker's key. Stored as files under
// $XDG_CONFIG_HOME (else ~/.config): one folder per key path
// ("SOFTWARE/<base key>[/<sub key>...]"), one file per value holding the type as a
// 4-byte little-endian number followed by the data bytes. Each file is written to a
// temporary file and renamed over the old one.

enum : uint32_t {
  kRegistryTypeString = 1,  // REG_SZ
  kRegistryTypeBinary = 3,  // REG_BINARY
  kRegistryTypeDword = 4,   // REG_DWORD
};

// The maker's key, "BrindleMediaGames" from start-up; an empty key writes nothing.
extern std::string g_registryBaseKey;

// name is a value name, or sub keys and a value name separated by "\\". True only
// when the value is stored; an empty base key, a name that would leave the key's
// folder, or any failure of the file system gives false.
bool setRegistryValue(const std::string& name, uint32_t type, const void* data, size_t size);

// The value as 4 little-endian bytes of type REG_DWORD.
bool setRegistryDword(const std::string& name, uint32_t value);

// The folder that holds the value files of a key path, e.g. "SOFTWARE\\Maker\\Sub";
// empty when no configuration folder is known.
std::string registryKeyFolder(const std::string& keyPath);
