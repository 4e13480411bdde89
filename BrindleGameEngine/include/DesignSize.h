#pragma once

namespace bge {

// The size every screen, layout and field area is written for, in design units;
// the graphics scale it to whatever window the player has.
constexpr int kDesignWidth = 1366;
constexpr int kDesignHeight = 768;

}  // namespace bge
