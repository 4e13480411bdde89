#pragma once
#include <cstddef>
#include <cstdint>

// Formats text into a fixed buffer without allocating and hands it to write(2):
// the only kind of output a signal handler may do. A writer over a caller's
// buffer with no file (fd < 0) just fills the buffer and never passes its capacity.
class SafeWriter {
 public:
  // Writes to fd through an internal buffer.
  explicit SafeWriter(int fd);
  // Fills the given buffer (zero-terminated, at most capacity - 1 characters).
  SafeWriter(char* buffer, size_t capacity);
  ~SafeWriter();
  SafeWriter(const SafeWriter&) = delete;
  SafeWriter& operator=(const SafeWriter&) = delete;

  SafeWriter& text(const char* s);
  SafeWriter& bytes(const char* s, size_t n);
  SafeWriter& character(char c);
  SafeWriter& decimal(int64_t value);
  SafeWriter& unsignedDecimal(uint64_t value);
  // Zero-padded to at least minDigits, upper-case digits, no prefix.
  SafeWriter& hex(uint64_t value, int minDigits = 1);
  // "0x" and all 16 digits: pointers and sizes are printed in full.
  SafeWriter& address(uint64_t value);
  // Zero-padded decimal, e.g. 2 digits for clock fields.
  SafeWriter& paddedDecimal(uint64_t value, int minDigits);

  // Pushes buffered bytes to the file; false when any write so far failed.
  bool flush();
  bool ok() const { return ok_; }
  size_t length() const { return used_ + flushed_; }
  // True when a buffer-only writer had to drop text.
  bool truncated() const { return truncated_; }

 private:
  void put(char c);

  static constexpr size_t kOwnSize = 1024;
  int fd_;
  char own_[kOwnSize];
  char* buffer_;
  size_t capacity_;
  size_t used_ = 0;
  size_t flushed_ = 0;
  bool ok_ = true;
  bool truncated_ = false;
};
