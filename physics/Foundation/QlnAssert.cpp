#include "Foundation/QlnAssert.h"

#include <atomic>
#include <cstdio>

namespace QuillonPHX2D {

namespace {
std::atomic<QlnAssertHandler> g_handler{nullptr};
std::atomic<unsigned long> g_count{0};
}  // namespace

void qlnAssertReport(const char *expr, const char *file, int line) {
  ++g_count;
  QlnAssertHandler handler = g_handler.load();
  if (handler) {
    handler(expr, file, line);
    return;
  }
  std::printf("Assertion failed: %s, file %s, line %d\n", expr, file, line);
  std::fflush(stdout);
}

QlnAssertHandler qlnSetAssertHandler(QlnAssertHandler handler) { return g_handler.exchange(handler); }

unsigned long qlnAssertCount() { return g_count.load(); }

}  // namespace QuillonPHX2D
