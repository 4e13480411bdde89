#pragma once
#include <map>
#include <sstream>
#include <string>

// A key=value text file ("# comment", ends at the sentry line), read into a map.
class ConfigFile {
 public:
  // Thrown by the constructor when the file cannot be opened.
  struct file_not_found {
    std::string filename;
    explicit file_not_found(const std::string& name = std::string()) : filename(name) {}
  };

  // An empty file: every read gives its default.
  ConfigFile() = default;
  explicit ConfigFile(const std::string& fileName, const std::string& delimiter = "=",
                      const std::string& comment = "#", const std::string& sentry = "EndConfigFile");

  // The value converted to T, or the default when the key is missing or its
  // value is not a T.
  template <typename T>
  T read(const std::string& key, const T& defaultValue) const;

  bool keyExists(const std::string& key) const { return contents_.count(key) != 0; }
  const std::map<std::string, std::string>& contents() const { return contents_; }

  static void trim(std::string& text);

 private:
  void parse(std::istream& in);

  std::string delimiter_;
  std::string comment_;
  std::string sentry_;
  std::string unused_;
  std::map<std::string, std::string> contents_;
};

template <typename T>
T ConfigFile::read(const std::string& key, const T& defaultValue) const {
  auto it = contents_.find(key);
  if (it == contents_.end()) return defaultValue;
  std::istringstream in(it->second);
  T value{};
  if (!(in >> value)) return defaultValue;
  return value;
}

// Strings are taken whole, not word by word.
template <>
inline std::string ConfigFile::read<std::string>(const std::string& key,
                                                 const std::string& defaultValue) const {
  auto it = contents_.find(key);
  return it == contents_.end() ? defaultValue : it->second;
}
