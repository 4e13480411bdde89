#include "ConfigFile.h"

#include <cstdio>
#include <sstream>

#include "RegularFile.h"

namespace {
const char* const kWhitespace = " \n\t\v\r\f";

void cutComment(std::string& line, const std::string& comment) {
  if (comment.empty()) return;
  const size_t pos = line.find(comment);
  if (pos != std::string::npos) line.erase(pos);
}

bool contains(const std::string& text, const std::string& part) {
  return !part.empty() && text.find(part) != std::string::npos;
}
}  // namespace

ConfigFile::ConfigFile(const std::string& fileName, const std::string& delimiter,
                       const std::string& comment, const std::string& sentry)
    : delimiter_(delimiter), comment_(comment), sentry_(sentry) {
  // A parameter file is a few lines; a device or a huge file at its path is
  // refused like a missing one, never read without end.
  std::string text;
  const bge::FileReadResult read = bge::readRegularFile(fileName, bge::kMaxContentFileBytes, text);
  if (read != bge::FileReadResult::Read) {
    if (read != bge::FileReadResult::Missing)
      std::printf("WARNING: %s: %s\n", fileName.c_str(),
                  bge::describeFileRead(read, bge::kMaxContentFileBytes).c_str());
    throw file_not_found(fileName);
  }
  std::istringstream in(text);
  parse(in);
}

void ConfigFile::trim(std::string& text) {
  text.erase(0, text.find_first_not_of(kWhitespace));
  const size_t last = text.find_last_not_of(kWhitespace);
  if (last == std::string::npos) {
    text.clear();
  } else {
    text.erase(last + 1);
  }
}

void ConfigFile::parse(std::istream& in) {
  std::string lookAhead;
  bool haveLookAhead = false;
  for (;;) {
    std::string line;
    if (haveLookAhead) {
      line.swap(lookAhead);
      haveLookAhead = false;
    } else if (!std::getline(in, line)) {
      break;
    }
    cutComment(line, comment_);
    if (contains(line, sentry_)) return;

    const size_t pos = delimiter_.empty() ? std::string::npos : line.find(delimiter_);
    if (pos == std::string::npos) continue;
    std::string key = line.substr(0, pos);
    std::string value = line.substr(pos + delimiter_.size());

    // A value may go on over the following lines until a blank line, another
    // key or the sentry.
    while (std::getline(in, lookAhead)) {
      haveLookAhead = true;
      std::string trimmed = lookAhead;
      trim(trimmed);
      if (trimmed.empty()) break;
      std::string cut = lookAhead;
      cutComment(cut, comment_);
      if (contains(cut, delimiter_) || contains(cut, sentry_)) break;
      std::string cutTrimmed = cut;
      trim(cutTrimmed);
      if (!cutTrimmed.empty()) value += "\n";
      value += cut;
      lookAhead.clear();
      haveLookAhead = false;
    }

    trim(key);
    trim(value);
    contents_[key] = value;
  }
}
