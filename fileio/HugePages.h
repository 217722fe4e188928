#pragma once

#include <cstddef>

namespace fileio {

// Asks the system to back a large buffer with huge pages: touching hundreds
// of megabytes for the first time then costs a few hundred page faults
// instead of tens of thousands. Does nothing where that is not available.
void PreferHugePages(void* data, std::size_t bytes);

}  // namespace fileio
