#pragma once

#include <cstddef>

// Makes large allocations fail on purpose. A test program that links
// AllocationLimit.cpp replaces the global operator new and delete; while a
// limit is in force, every request of at least its size throws
// std::bad_alloc, as it would when memory runs out.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t refuseFromBytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

    // How many requests were refused so far.
    static std::size_t Refused();
};
