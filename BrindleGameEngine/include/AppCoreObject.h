#pragma once
#include <cstdint>

// Something the application core updates once a frame and deletes when it asks
// to go. The flag word lives here, in the base, so the core reads a real member
// rather than guessing at an object's layout.
class AppCoreObject {
 public:
  // Bit 1 of the flag word: the object wants to be removed and deleted.
  static constexpr uint32_t kFlagRemove = 2;

  AppCoreObject() = default;
  virtual ~AppCoreObject() = default;
  AppCoreObject(const AppCoreObject&) = delete;
  AppCoreObject& operator=(const AppCoreObject&) = delete;

  virtual void update() = 0;

  uint32_t getFlags() const { return flags_; }
  void setFlags(uint32_t flags) { flags_ = flags; }
  bool wantsRemoval() const { return (flags_ & kFlagRemove) != 0; }

 private:
  uint32_t flags_ = 0;
};
