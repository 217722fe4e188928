// Large buffers that may hold plain text are left out of core dumps.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cipher/LargeBuffer.h"

namespace {

// The VmFlags line of the mapping that holds address, from /proc/self/smaps.
std::string FlagsOfMappingAt(const void* address) {
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-') {
            inside = begin <= a && a < end;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line + " ";
        }
    }
    return {};
}

TEST(LargeBuffer, ItsPagesAreLeftOutOfCoreDumps) {
    std::vector<std::uint8_t> buffer;
    cipher::SizeLargeBuffer(buffer, 8 << 20);
    const std::string flags = FlagsOfMappingAt(buffer.data() + buffer.size() / 2);
    ASSERT_FALSE(flags.empty()) << "no mapping found";
    EXPECT_NE(flags.find(" dd "), std::string::npos) << flags;
}

}  // namespace
