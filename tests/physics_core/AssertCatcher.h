#pragma once
#include "Foundation/QlnAssert.h"

// Counts assertion reports while in scope instead of printing them.
class AssertCatcher {
 public:
  AssertCatcher() : previous_(QuillonPHX2D::qlnSetAssertHandler(&AssertCatcher::onAssert)) { count() = 0; }
  ~AssertCatcher() { QuillonPHX2D::qlnSetAssertHandler(previous_); }
  int reports() const { return count(); }

 private:
  static int &count() {
    static int n = 0;
    return n;
  }
  static void onAssert(const char *, const char *, int) { ++count(); }
  QuillonPHX2D::QlnAssertHandler previous_;
};
