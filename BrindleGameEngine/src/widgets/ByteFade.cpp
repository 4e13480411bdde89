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

TinyAction* makeEntryFade(unsigned char* first, int firstTarget, unsigned char* second,
                          int secondTarget, int ms) {
  // Each attach fades in from nothing; rising from a visible alpha would wrap the byte.
  *first = 0;
  *second = 0;
  TinyAction* a = makeByteRise(first, firstTarget, ms);
  TinyAction* b = makeByteRise(second, secondTarget, ms);
  if (!a && !b) return nullptr;
  TinyParalelAction* fade = new TinyParalelAction();
  if (a) fade->addAction(a);
  if (b) fade->addAction(b);
  return fade;
}

}  // namespace bge
