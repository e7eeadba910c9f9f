// Reference counts shared with the host change only through atomic increment and decrement.
#pragma once

#include <atomic>
#include <cstdint>

namespace velmire {

inline int32_t InterlockedIncrement32(int32_t& value) {
  return std::atomic_ref<int32_t>(value).fetch_add(1, std::memory_order_acq_rel) + 1;
}

inline int32_t InterlockedDecrement32(int32_t& value) {
  return std::atomic_ref<int32_t>(value).fetch_sub(1, std::memory_order_acq_rel) - 1;
}

inline int32_t InterlockedRead32(const int32_t& value) {
  return std::atomic_ref<int32_t>(const_cast<int32_t&>(value)).load(std::memory_order_acquire);
}

}  // namespace velmire
