#include "tests/cli/FreedMemoryWatch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Each block starts with its size, so that a free knows how far to look.
constexpr std::size_t kHeader = alignof(std::max_align_t);
constexpr std::size_t kMaxMarker = 128;

std::atomic<bool> watching{false};
std::atomic<std::size_t> unwiped{0};
char narrow[kMaxMarker];
char16_t wide[kMaxMarker];
std::size_t markerLength = 0;

bool Holds(const unsigned char* data, std::size_t size, const void* marker, std::size_t bytes) {
    const auto* m = static_cast<const unsigned char*>(marker);
    return std::search(data, data + size, m, m + bytes) != data + size;
}

void* Allocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(kHeader + size));
    if (block == nullptr) throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    return block + kHeader;
}

void Release(void* p) noexcept {
    if (p == nullptr) return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    if (watching.load()) {
        std::size_t size;
        std::memcpy(&size, block, sizeof size);
        const auto* data = static_cast<const unsigned char*>(p);
        if (Holds(data, size, narrow, markerLength) ||
            Holds(data, size, wide, markerLength * sizeof(char16_t))) {
            unwiped.fetch_add(1);
        }
    }
    std::free(block);
}

}  // namespace

FreedMemoryWatch::FreedMemoryWatch(std::string_view asciiMarker) {
    markerLength = std::min(asciiMarker.size(), kMaxMarker);
    for (std::size_t i = 0; i < markerLength; ++i) {
        narrow[i] = asciiMarker[i];
        wide[i] = static_cast<unsigned char>(asciiMarker[i]);
    }
    unwiped.store(0);
    watching.store(true);
}

FreedMemoryWatch::~FreedMemoryWatch() {
    watching.store(false);
}

std::size_t FreedMemoryWatch::Unwiped() {
    return unwiped.load();
}

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
