#include "bench/BenchConfig.h"

#include <cstdlib>
#include <string>

namespace bench {

namespace {

long EnvNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return fallback;
    const long number = std::strtol(value, nullptr, 10);
    return number > 0 ? number : fallback;
}

}  // namespace

std::size_t DataBytes() {
    return static_cast<std::size_t>(EnvNumber("QUILLBOX_BENCH_MIB", 64)) << 20;
}
std::size_t FileBytes() {
    return static_cast<std::size_t>(EnvNumber("QUILLBOX_BENCH_FILE_MIB", 256)) << 20;
}
int FileRuns() {
    return static_cast<int>(EnvNumber("QUILLBOX_BENCH_FILE_RUNS", 3));
}

std::vector<std::uint8_t> RandomData(std::size_t size, std::uint64_t seed) {
    std::vector<std::uint8_t> data(size);
    std::uint64_t x = seed * 0x9E3779B97F4A7C15ull + 1;
    for (std::size_t i = 0; i < size; ++i) {
        // xorshift64*: fast enough to fill hundreds of MiB.
        x ^= x >> 12;
        x ^= x << 25;
        x ^= x >> 27;
        data[i] = static_cast<std::uint8_t>((x * 0x2545F4914F6CDD1Dull) >> 56);
    }
    return data;
}

}  // namespace bench
