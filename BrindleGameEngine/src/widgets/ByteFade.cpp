#include "widgets/ByteFade.h"

#include "tinyaction/TinyActions.h"

namespace bge {

TinyAction* makeByteRise(unsigned char* target, int amount, int ms) {
  if (ms <= 0) {
    *target = static_cast<unsigned char>(*target + amount);
    return nullptr;
  }
  return new TinyRelIncrementator<unsigned char>(TinyTimer(ms), target,
                                                 static_cast<unsigned char>(amount),
                                                 linearOperatorFunction, 1.0f);
}

TinyAction* makeByteFall(unsigned char* target, int amount, int ms) {
  if (ms <= 0) {
    *target = static_cast<unsigned char>(*target - amount);
    return nullptr;
  }
  return new TinyRelDecrementator<unsigned char>(TinyTimer(ms), target,
                                                 static_cast<unsigned char>(amount),
                                                 linearOperatorFunction, 1.0f);
}

}  // namespace bge
