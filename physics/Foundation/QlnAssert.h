#pragma once
#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

// An assertion report names the expression, the file and the line, then execution goes on:
// the caller returns false or a neutral value. A host (or a test) may install a handler.
typedef void (*QlnAssertHandler)(const char *expr, const char *file, int line);

QLN_API void qlnAssertReport(const char *expr, const char *file, int line);
QLN_API QlnAssertHandler qlnSetAssertHandler(QlnAssertHandler handler);
QLN_API unsigned long qlnAssertCount();

}  // namespace QuillonPHX2D

#define QLN_ASSERT(cond) \
  ((cond) ? (void)0 : ::QuillonPHX2D::qlnAssertReport(#cond, __FILE__, __LINE__))
