#pragma once
#include <cstdint>

#include "Foundation/QlnExport.h"

namespace QuillonPHX2D {

// Creation serials give shapes an order that is the same on every run of a scene: the engine
// orders by serial wherever it needs a canonical order of two objects, never by address,
// since addresses depend on what the allocator did before.
typedef std::uint64_t QlnSerial;

// The next serial of the process, counting up from 1; never repeats (64 bits do not wrap).
QLN_API QlnSerial qlnNextSerial();

}  // namespace QuillonPHX2D
