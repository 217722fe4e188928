#pragma once

#include <cstddef>
#include <string_view>

// Replaced allocation functions that look into every block as it is freed.
// While a watch exists, each freed block that still holds the marker, as
// 8-bit bytes (UTF-8 or code page) or as 16-bit text, is counted: a copy of
// a secret that nobody wiped. Link into a test program of its own.
class FreedMemoryWatch {
public:
    explicit FreedMemoryWatch(std::string_view asciiMarker);
    ~FreedMemoryWatch();
    FreedMemoryWatch(const FreedMemoryWatch&) = delete;
    FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;

    // Blocks freed with the marker in them since the watch began.
    static std::size_t Unwiped();
};
