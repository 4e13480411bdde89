#pragma once

// Deletes through the virtual destructor when there is something to delete and
// clears the owner's pointer, so a second call is harmless.
template <typename T>
inline void safeDelete(T*& object) {
  if (!object) return;
  T* doomed = object;
  object = nullptr;
  delete doomed;
}
