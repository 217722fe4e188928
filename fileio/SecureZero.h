#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fileio {

// Overwrites memory with zeros in a way the optimiser may not drop.
inline void SecureZero(void* data, std::size_t size) {
    volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
    while (size--) *p++ = 0;
}

// Clears a text or byte variable, first overwriting what it held.
template <typename Container>
inline void Wipe(Container& c) {
    if (!c.empty()) SecureZero(c.data(), c.size() * sizeof(c[0]));
    c.clear();
}

// Wipes a text or byte variable when the scope ends, however it ends.
template <typename Container>
class WipedOnExit {
public:
    explicit WipedOnExit(Container& c) : c_(c) {}
    ~WipedOnExit() { Wipe(c_); }
    WipedOnExit(const WipedOnExit&) = delete;
    WipedOnExit& operator=(const WipedOnExit&) = delete;

private:
    Container& c_;
};

}  // namespace fileio
