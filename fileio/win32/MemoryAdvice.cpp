#include "fileio/MemoryAdvice.h"

// Windows has no advice of either kind for memory that the C++ allocator
// hands out: large pages need a privilege and an allocation of their own, and
// what a crash dump holds is chosen by the program that writes it.
namespace fileio {

void PreferHugePages(void*, std::size_t) {}

void KeepOutOfCoreDumps(void*, std::size_t) {}

}  // namespace fileio
