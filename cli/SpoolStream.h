#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <system_error>

// The key stream that a spool of plain data is enciphered with: a stream
// cipher, so the spool is exactly as long as the data. ChaCha20 from
// libcrypto on POSIX systems, AES-256 in counter mode from the system's
// BCrypt on Windows.
namespace cli {

// Key and nonce (or initial counter block) together.
inline constexpr std::size_t kSpoolKeyBytes = 48;

// Fills `key` from the system's random source.
std::error_code DrawSpoolKey(std::uint8_t* key, std::size_t size);

class SpoolStream {
public:
    SpoolStream();
    ~SpoolStream();
    SpoolStream(const SpoolStream&) = delete;
    SpoolStream& operator=(const SpoolStream&) = delete;

    // Starts the stream at its beginning under kSpoolKeyBytes of `key`.
    bool Start(const std::uint8_t* key);
    // XORs the next `size` bytes of the stream into `data`: enciphers and
    // deciphers alike.
    bool Apply(std::uint8_t* data, std::size_t size);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace cli
