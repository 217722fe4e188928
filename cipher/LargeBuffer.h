#pragma once

#include <cstddef>

#include "fileio/HugePages.h"

namespace cipher {

// Sizes a freshly made string or vector to n elements (zero-filled), with its
// memory allocated before it is touched so that it can take huge pages.
template <typename Container>
void SizeLargeBuffer(Container& c, std::size_t n) {
    c.reserve(n);
    fileio::PreferHugePages(c.data(), n * sizeof(c[0]));
    c.resize(n);
}

}  // namespace cipher
