#pragma once
#include <cstdint>

#include "SaveGame.h"
#include "SaveGameEntry.h"

// A plain value stored as its own bytes (little-endian on every machine we ship).
template <typename T>
class GenericEntry : public SaveGameEntry {
 public:
  GenericEntry(T value, T defaultValue) : value_(value), defaultValue_(defaultValue) {}

  bool read(SaveGame* saveGame) override {
    saveGame->read(reinterpret_cast<uint8_t*>(&value_), static_cast<int>(sizeof(T)));
    return true;
  }
  bool write(SaveGame* saveGame) override {
    saveGame->write(reinterpret_cast<const uint8_t*>(&value_), static_cast<int>(sizeof(T)));
    return true;
  }
  int getSize() const override { return static_cast<int>(sizeof(T)); }

  T getValue() const { return value_; }
  void setValue(T value) { value_ = value; }
  T getDefaultValue() const { return defaultValue_; }
  void resetToDefault() { value_ = defaultValue_; }

 private:
  T value_;
  T defaultValue_;
};

// A value that only ever lies between lowest and highest: a read outside them is
// refused, so a damaged save is caught rather than played.
template <typename T>
class RangedEntry : public GenericEntry<T> {
 public:
  RangedEntry(T value, T defaultValue, T lowest, T highest)
      : GenericEntry<T>(value, defaultValue), lowest_(lowest), highest_(highest) {}

  bool read(SaveGame* saveGame) override {
    GenericEntry<T>::read(saveGame);
    const T v = this->getValue();
    return v >= lowest_ && v <= highest_;
  }

 private:
  T lowest_;
  T highest_;
};
