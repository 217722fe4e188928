#pragma once

#include <cstddef>

// Advice to the system about large buffers. Each call covers the whole pages
// of [data, data + bytes) only, and does nothing where the system has no such
// advice.
namespace fileio {

// Back the buffer with huge pages: touching hundreds of megabytes for the
// first time then costs a few hundred page faults instead of tens of
// thousands.
void PreferHugePages(void* data, std::size_t bytes);

// Leave the buffer, which holds secrets (plain text, keys), out of core
// dumps. The bytes at either end that share a page with other data are not
// covered.
void KeepOutOfCoreDumps(void* data, std::size_t bytes);

}  // namespace fileio
