#pragma once
// Unrelated allocations for tests that replay a scene in one process: blocks of many sizes,
// some of them freed again while the scene is built, so the scene's objects land in holes
// scattered through the heap instead of in the order they are made.
#include <memory>
#include <vector>

namespace testenv {

class HeapClutter {
 public:
  explicit HeapClutter(int blocks = 600) {
    for (int i = 0; i < blocks; ++i) keep(i);
  }
  // Frees a few blocks spread over the heap and keeps a few new ones; call it between the
  // objects of the scene.
  void stir() {
    for (int k = 0; k < 4; ++k) {
      next_ = (next_ * 1103515245u + 12345u) & 0x7fffffffu;
      blocks_[next_ % blocks_.size()].reset();
    }
    keep(int(next_ % 97));
  }

 private:
  void keep(int i) { blocks_.emplace_back(new char[16 + 8 * ((i * 37) % 61)]); }

  std::vector<std::unique_ptr<char[]>> blocks_;
  unsigned next_ = 1;
};

}  // namespace testenv
