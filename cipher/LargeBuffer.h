#pragma once

#include <cstddef>

#include "fileio/MemoryAdvice.h"

namespace cipher {

// Sizes a freshly made string or vector to n elements (zero-filled), with its
// memory allocated before it is touched so that it can take huge pages and
// stays out of core dumps.
template <typename Container>
void SizeLargeBuffer(Container& c, std::size_t n) {
    c.reserve(n);
    fileio::PreferHugePages(c.data(), n * sizeof(c[0]));
    fileio::KeepOutOfCoreDumps(c.data(), n * sizeof(c[0]));
    c.resize(n);
}

}  // namespace cipher
