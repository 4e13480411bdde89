#pragma once
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

// The physics engine's one assertion, for invariants and for indices and sizes that come from
// content. A failed one reports the expression, the file and the line, then execution goes on:
// QLN_ASSERT yields the condition, so the caller takes its safe way out in the same breath:
//   if (!QLN_ASSERT(i < count && "index out of range")) return;
// A host (or a test) may install a handler.
typedef void (*QlnAssertHandler)(const char *expr, const char *file, int line);

QLN_API void qlnAssertReport(const char *expr, const char *file, int line);
QLN_API QlnAssertHandler qlnSetAssertHandler(QlnAssertHandler handler);
QLN_API unsigned long qlnAssertCount();

inline bool qlnAssertCheck(bool holds, const char *expr, const char *file, int line) {
  if (__builtin_expect(!holds, 0)) qlnAssertReport(expr, file, line);
  return holds;
}

}  // namespace QuillonPHX2D

#define QLN_ASSERT(cond) ::QuillonPHX2D::qlnAssertCheck(static_cast<bool>(cond), #cond, __FILE__, __LINE__)
