#include "fileio/MemoryAdvice.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace fileio {

namespace {

// The whole pages of [data, data + size) aligned to `alignment`, or an empty
// range.
struct Pages {
    void* begin = nullptr;
    std::size_t bytes = 0;
};

Pages InnerPages(void* data, std::size_t size, std::uintptr_t alignment) {
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const auto begin = (start + alignment - 1) & ~(alignment - 1);
    const auto end = (start + size) & ~(alignment - 1);
    if (end <= begin) return {};
    return {reinterpret_cast<void*>(begin), end - begin};
}

}  // namespace

void PreferHugePages(void* data, std::size_t bytes) {
    const Pages pages = InnerPages(data, bytes, std::uintptr_t{2} << 20);
    if (pages.bytes > 0) ::madvise(pages.begin, pages.bytes, MADV_HUGEPAGE);
}

void KeepOutOfCoreDumps(void* data, std::size_t bytes) {
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) return;
    const Pages pages = InnerPages(data, bytes, static_cast<std::uintptr_t>(pageSize));
    if (pages.bytes > 0) ::madvise(pages.begin, pages.bytes, MADV_DONTDUMP);
}

}  // namespace fileio
