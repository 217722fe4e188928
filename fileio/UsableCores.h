#pragma once

#include <cstddef>

namespace fileio {

// The number of processors this process may run on at the same time: the
// processors it is allowed to use, lowered to the share of processor time
// its control group grants. At least 1.
std::size_t UsableCores();

}  // namespace fileio
