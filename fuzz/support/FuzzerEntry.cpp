// The libFuzzer side of one target: FUZZ_TARGET_FUNCTION names its entry.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "Targets.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FUZZ_TARGET_FUNCTION(data, size);
  return 0;
}
