// The pieces of Microsoft's C++ runtime support that a program linked without its libraries
// needs: allocation operators, the type_info table that thrown types' descriptors point to
// (Wine's msvcrt.dll does not export it), the floating-point marker and the terminate hook.
#include "runtime.h"

void* operator new(unsigned size) {
  void* block = malloc(size ? size : 1);
  if (!block) {
    printf("FAIL: out of memory\n");
    exit(3);
  }
  return block;
}
void operator delete(void* block) noexcept { free(block); }
void operator delete(void* block, unsigned) noexcept { free(block); }

// Only the descriptors' names take part in matching a catch clause; the table itself is
// never called.
extern "C" const void* const velmire_type_info_table[1] __asm__("??_7type_info@@6B@") = {nullptr};

extern "C" int _fltused = 0;

extern "C" void __std_terminate() {
  printf("FAIL: terminate called (an exception left a function that may not throw)\n");
  fflush(nullptr);
  exit(3);
}
