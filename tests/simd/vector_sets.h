// Helpers of the vector kernel checks: the kernel sets to check and random bytes.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "core/kernel_table.h"

namespace velmire::test {

// Every kernel set of this build the processor runs, except the portable one they are
// checked against.
inline std::vector<const KernelSet*> VectorKernelSets() {
  std::vector<const KernelSet*> sets = AvailableKernels();
  sets.erase(sets.begin());
  return sets;
}

class RandomBytes {
 public:
  explicit RandomBytes(uint32_t seed) : engine_(seed) {}

  // Uniform in lo .. hi, both included.
  int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine_); }
  uint8_t Byte() { return static_cast<uint8_t>(Between(0, 255)); }
  bool Chance(int percent) { return Between(0, 99) < percent; }

  template <typename T>
  const T& Pick(const std::vector<T>& values) {
    return values[static_cast<size_t>(Between(0, static_cast<int>(values.size()) - 1))];
  }

  std::vector<uint8_t> Bytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) b = Byte();
    return bytes;
  }

 private:
  std::mt19937 engine_;
};

}  // namespace velmire::test
