#pragma once
#include <string>

// One copy of the game at a time owns the profile folder: an advisory lock on a
// file in it, held while the game runs. The kernel lets go of it when the process
// ends, however it ends, so a crashed game never leaves the profile locked.
class ProfileLock {
 public:
  static constexpr const char* kFileName = "profile.lock";
  enum class Result { Held, InUse, Unavailable };

  ProfileLock() = default;
  ~ProfileLock();
  ProfileLock(const ProfileLock&) = delete;
  ProfileLock& operator=(const ProfileLock&) = delete;

  // Takes the lock on the folder without waiting. InUse: another process holds
  // it. Unavailable: the folder or its file system cannot be locked (*why says
  // why in the system's words).
  Result acquire(const std::string& folder, std::string* why);
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};
