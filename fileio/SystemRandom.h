#pragma once

#include <cstdint>

namespace fileio {

// 32 bits from the operating system's random source.
std::uint32_t SystemRandom32();

}  // namespace fileio
