#pragma once

class TinyAction;

namespace bge {

// A linear fade of one colour byte by amount over ms, up or down. Durations of
// 0 or less would never move the byte (or divide by zero), so the caller sets
// the end value itself and gets null back.
TinyAction* makeByteRise(unsigned char* target, int amount, int ms);
TinyAction* makeByteFall(unsigned char* target, int amount, int ms);

// A widget's entry fade: both alpha bytes start from nothing and rise together to
// their targets. Null when there is nothing to run (the bytes are already set).
TinyAction* makeEntryFade(unsigned char* first, int firstTarget, unsigned char* second,
                          int secondTarget, int ms);

}  // namespace bge
