#include "Buffer.h"

#include <cstddef>

#include "AssertReport.h"

Buffer::Buffer() {
  // Standard reflected CRC-32 (polynomial 0x04C11DB7, reversed 0xEDB88320).
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    crcTable_[n] = c;
  }
}

void Buffer::clear() {
  bytes_.clear();
  sizeBits_ = 0;
  readBit_ = 0;
  writeBit_ = 0;
  readPastEnd_ = false;
}

void Buffer::writeByte(uint8_t value) {
  const int k = writeBit_ % 8;
  if (k == 0) {
    bytes_.push_back(value);
  } else {
    const std::size_t i = static_cast<std::size_t>(writeBit_ / 8);
    (void)BGE_REPORT(i < bytes_.size());
    bytes_[i] = static_cast<uint8_t>(bytes_[i] | (value << k));
    bytes_.push_back(static_cast<uint8_t>(value >> (8 - k)));
  }
  writeBit_ += 8;
  if (writeBit_ > sizeBits_) sizeBits_ = writeBit_;
}

void Buffer::writeBool(bool flag) { writeByte(flag ? 1 : 0); }

void Buffer::writeInt(int32_t value) {
  const uint32_t u = static_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) writeByte(static_cast<uint8_t>(u >> shift));
}

void Buffer::writeBytes(const uint8_t* bytes, int count) {
  for (int i = 0; i < count; ++i) writeByte(bytes[i]);
}

uint8_t Buffer::readByte() {
  const std::size_t i = static_cast<std::size_t>(readBit_ / 8);
  const int k = readBit_ % 8;
  if (static_cast<std::size_t>((readBit_ + 7) / 8) >= bytes_.size()) {
    readPastEnd_ = true;
    return 0;
  }
  uint8_t value = bytes_[i];
  if (k != 0) value = static_cast<uint8_t>((bytes_[i] >> k) | (bytes_[i + 1] << (8 - k)));
  readBit_ += 8;
  return value;
}

bool Buffer::readBool() { return readByte() != 0; }

int32_t Buffer::readInt() {
  uint32_t u = 0;
  for (int shift = 0; shift < 32; shift += 8) u |= static_cast<uint32_t>(readByte()) << shift;
  return static_cast<int32_t>(u);
}

void Buffer::readBytes(uint8_t* bytes, int count) {
  for (int i = 0; i < count; ++i) bytes[i] = readByte();
}

void Buffer::setBytes(const uint8_t* bytes, int count) {
  if (count < 0) count = 0;
  bytes_.assign(bytes, bytes + count);
  sizeBits_ = count * 8;
  readPastEnd_ = false;
}
