#include "tests/cipher/AllocationLimit.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::size_t> refuseFrom{std::numeric_limits<std::size_t>::max()};
std::atomic<std::size_t> refused{0};

void* Allocate(std::size_t size) {
    if (size >= refuseFrom.load()) {
        refused.fetch_add(1);
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void* AllocateOrNull(std::size_t size) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

AllocationLimit::AllocationLimit(std::size_t refuseFromBytes) {
    refuseFrom.store(refuseFromBytes);
}

AllocationLimit::~AllocationLimit() {
    refuseFrom.store(std::numeric_limits<std::size_t>::max());
}

std::size_t AllocationLimit::Refused() {
    return refused.load();
}

// Every plain form is replaced, so that each allocation is freed by the
// matching function (sanitizer builds check that pairing).
void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
