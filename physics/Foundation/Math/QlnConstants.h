#pragma once

namespace QuillonPHX2D {

// A value nobody has set yet (bits 0x4F7BADFC): default-constructed math values hold it so
// that a forgotten initialisation shows up as an absurd number instead of silent zeros.
constexpr float QLN_UNSET = 4222483456.0f;
// The engine's "infinity" for boxes, bounds and limits (bits 0x7E967699).
constexpr float QLN_MAX = 1e38f;
constexpr float QLN_PI = 3.1415927f;
constexpr float QLN_2PI = 6.2831855f;

}  // namespace QuillonPHX2D
