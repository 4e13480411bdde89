#pragma once

// Common base of the engine's one-instance objects; it holds nothing.
template <typename T>
class SingletonContainer {
 protected:
  SingletonContainer() = default;
  ~SingletonContainer() = default;
};
