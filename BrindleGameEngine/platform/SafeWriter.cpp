#include "platform/SafeWriter.h"

#include <unistd.h>

#include <cassert>
#include <cerrno>

SafeWriter::SafeWriter(int fd) : fd_(fd), buffer_(own_), capacity_(kOwnSize) {}

SafeWriter::SafeWriter(char* buffer, size_t capacity)
    : fd_(-1), buffer_(buffer), capacity_(capacity) {
  assert(buffer != nullptr && capacity > 0);
  buffer_[0] = '\0';
}

SafeWriter::~SafeWriter() { flush(); }

void SafeWriter::put(char c) {
  if (fd_ < 0) {
    // Keep room for the terminator; text past the capacity is dropped.
    if (used_ + 1 >= capacity_) {
      truncated_ = true;
      return;
    }
    buffer_[used_++] = c;
    buffer_[used_] = '\0';
    return;
  }
  if (used_ == capacity_) flush();
  buffer_[used_++] = c;
}

bool SafeWriter::flush() {
  if (fd_ < 0) return ok_;
  size_t done = 0;
  while (done < used_) {
    const ssize_t n = write(fd_, buffer_ + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok_ = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  flushed_ += done;
  used_ = 0;
  return ok_;
}

SafeWriter& SafeWriter::text(const char* s) {
  if (s == nullptr) return *this;
  while (*s) put(*s++);
  return *this;
}

SafeWriter& SafeWriter::bytes(const char* s, size_t n) {
  for (size_t i = 0; i < n; ++i) put(s[i]);
  return *this;
}

SafeWriter& SafeWriter::character(char c) {
  put(c);
  return *this;
}

SafeWriter& SafeWriter::unsignedDecimal(uint64_t value) { return paddedDecimal(value, 1); }

SafeWriter& SafeWriter::decimal(int64_t value) {
  if (value < 0) {
    put('-');
    // Negate in unsigned arithmetic so the most negative value survives.
    return unsignedDecimal(0 - static_cast<uint64_t>(value));
  }
  return unsignedDecimal(static_cast<uint64_t>(value));
}

SafeWriter& SafeWriter::paddedDecimal(uint64_t value, int minDigits) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n < minDigits && n < 20) digits[n++] = '0';
  while (n > 0) put(digits[--n]);
  return *this;
}

SafeWriter& SafeWriter::hex(uint64_t value, int minDigits) {
  static const char kDigits[] = "0123456789ABCDEF";
  char digits[20];
  int n = 0;
  do {
    digits[n++] = kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (n < minDigits && n < 16) digits[n++] = '0';
  while (n > 0) put(digits[--n]);
  return *this;
}

SafeWriter& SafeWriter::address(uint64_t value) {
  text("0x");
  return hex(value, 16);
}
