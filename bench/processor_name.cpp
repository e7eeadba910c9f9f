#include "processor_name.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>

#include <cstring>
#endif

namespace velmire::bench {

#if defined(__x86_64__) || defined(__i386__)
// The brand string of cpuid leaves 0x80000002 .. 0x80000004, 48 characters.
std::string ProcessorName() {
  constexpr unsigned kFirstBrandLeaf = 0x80000002;
  if (__get_cpuid_max(0x80000000, nullptr) < kFirstBrandLeaf + 2) return "x86 processor";
  unsigned words[12] = {};
  for (unsigned i = 0; i < 3; ++i) {
    __get_cpuid(kFirstBrandLeaf + i, &words[4 * i], &words[4 * i + 1], &words[4 * i + 2],
                &words[4 * i + 3]);
  }
  char brand[sizeof words + 1] = {};
  std::memcpy(brand, words, sizeof words);
  std::string name(brand);
  name.erase(0, name.find_first_not_of(' '));
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}
#else
std::string ProcessorName() { return "processor of unknown name"; }
#endif

}  // namespace velmire::bench
