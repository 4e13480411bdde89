#pragma once
#include <cstddef>
#include <string>
#include <vector>

// Input played into SDL's event queue at given frames, for unattended runs
// (smoke checks, recorded demos). One command per line, "#" starts a comment:
//   <frame> key <SDL key name>   a press and release of that key
//   <frame> quit                 what closing the window sends
// The events go through the same queue and handlers as real input.
class EventScript {
 public:
  struct Step {
    int frame = 0;
    std::string command;
    std::string argument;
  };

  // Scripts are a line a step; a megabyte is far more than any run needs.
  static constexpr size_t kMaxFileBytes = 1024 * 1024;

  // Returns false (script empty) when the file is missing, is no regular file
  // (refused unread), is larger than kMaxFileBytes or a line is malformed.
  bool loadFromFile(const std::string& path);
  bool parse(const std::string& text);
  // Pushes every step due by this frame; returns how many events were pushed.
  int pump(int frame, unsigned int windowId);
  bool finished() const { return next_ >= steps_.size(); }
  const std::vector<Step>& steps() const { return steps_; }

 private:
  std::vector<Step> steps_;
  size_t next_ = 0;
};
