#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

// Sizes of the runs, in bytes. QUILLBOX_BENCH_MIB (default 64) sets the
// in-memory data, QUILLBOX_BENCH_FILE_MIB (default 256) the whole-file
// figure, QUILLBOX_BENCH_FILE_RUNS (default 3) how often each file command
// runs; small values give a quick smoke run.
std::size_t DataBytes();
std::size_t FileBytes();
int FileRuns();

// Deterministic pseudo-random bytes.
std::vector<std::uint8_t> RandomData(std::size_t size, std::uint64_t seed);

}  // namespace bench
