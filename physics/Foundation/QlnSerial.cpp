#include "Foundation/QlnSerial.h"

#include <atomic>

namespace QuillonPHX2D {

QlnSerial qlnNextSerial() {
  static std::atomic<QlnSerial> last{0};
  return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

}  // namespace QuillonPHX2D
