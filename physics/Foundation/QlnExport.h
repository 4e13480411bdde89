#pragma once
// Visibility of the engine's interface. The shared library is compiled with hidden
// visibility and exports what carries QLN_API; the game's static build exports nothing.
#if defined(QLN_BUILDING_LIBRARY)
#define QLN_API __attribute__((visibility("default")))
// Small math functions stay inline for speed, yet the library must still export them:
// "used" makes every translation unit emit its copy, the linker keeps one.
#define QLN_INLINE_API inline __attribute__((visibility("default"), used))
#else
#define QLN_API
#define QLN_INLINE_API inline
#endif
