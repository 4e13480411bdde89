#pragma once

// Common base of the engine's shared objects (states, widgets, actions, images,
// resources, catalogues). It carries nothing; ownership is by raw pointers.
class ReferenceCountable {
 public:
  ReferenceCountable() = default;
};
