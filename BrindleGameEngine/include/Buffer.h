#pragma once
#include <cstdint>
#include <vector>

// A growable byte store with bit cursors, used to assemble and parse the save file.
class Buffer {
 public:
  Buffer();
  virtual ~Buffer() = default;

  void clear();
  void resetReadPosition() { readBit_ = 0; }

  void writeByte(uint8_t value);
  void writeBool(bool flag);
  void writeInt(int32_t value);
  void writeBytes(const uint8_t* bytes, int count);

  // Past the end these yield 0 and leave the cursor; readPastEnd() then tells.
  uint8_t readByte();
  bool readBool();
  int32_t readInt();
  void readBytes(uint8_t* bytes, int count);

  void setBytes(const uint8_t* bytes, int count);
  const uint8_t* bytes() const { return bytes_.empty() ? nullptr : bytes_.data(); }
  int byteCount() const { return (sizeBits_ + 7) / 8; }

  int sizeInBits() const { return sizeBits_; }
  int readPosition() const { return readBit_; }
  int writePosition() const { return writeBit_; }
  // True once a read ran past the stored bytes (since the last clear or setBytes).
  bool readPastEnd() const { return readPastEnd_; }
  const uint32_t* crcTable() const { return crcTable_; }

 private:
  std::vector<uint8_t> bytes_;
  int32_t sizeBits_ = 0;
  int32_t readBit_ = 0;
  int32_t writeBit_ = 0;
  uint32_t crcTable_[256];
  bool readPastEnd_ = false;
};
