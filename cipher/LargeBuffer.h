#pragma once

#include <cstddef>

namespace cipher {

// Asks the system to back a large buffer with huge pages: touching hundreds
// of megabytes for the first time then costs a few hundred page faults
// instead of tens of thousands. Does nothing where that is not available.
void PreferHugePages(void* data, std::size_t bytes);

// Asks the system to leave the whole pages of a buffer that holds secrets
// (plain text, keys) out of core dumps. The bytes at either end that share a
// page with other data are not covered.
void KeepOutOfCoreDumps(void* data, std::size_t bytes);

// Sizes a freshly made string or vector to n elements (zero-filled), with its
// memory allocated before it is touched so that it can take huge pages and
// stays out of core dumps.
template <typename Container>
void SizeLargeBuffer(Container& c, std::size_t n) {
    c.reserve(n);
    PreferHugePages(c.data(), n * sizeof(c[0]));
    KeepOutOfCoreDumps(c.data(), n * sizeof(c[0]));
    c.resize(n);
}

}  // namespace cipher
