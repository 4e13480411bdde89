#pragma once
// In this suite an engine assertion is a test failure unless a test says it expects one:
// a failed bounds check must stop the test, not let it read on.
#include <gtest/gtest.h>

#include "Foundation/QlnAssert.h"

namespace p3test {

class ExpectAsserts {
 public:
  ExpectAsserts() : start_(QuillonPHX2D::qlnAssertCount()) { ++depth(); }
  ~ExpectAsserts() { --depth(); }
  unsigned long reported() const { return QuillonPHX2D::qlnAssertCount() - start_; }
  static int& depth() {
    static int d = 0;
    return d;
  }

 private:
  unsigned long start_;
};

}  // namespace p3test
