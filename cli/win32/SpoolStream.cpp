// AES-256 in counter mode, built from BCrypt's AES in ECB mode: the counter
// blocks of a piece are enciphered in one call and XORed into the data.

#include "cli/SpoolStream.h"

#include <windows.h>
// windows.h first
#include <bcrypt.h>

#include <algorithm>
#include <array>
#include <vector>

#include "cipher/SecureZero.h"

namespace cli {

namespace {

constexpr std::size_t kKeyBytes = 32;  // then the initial counter block, 16 bytes
constexpr std::size_t kBlock = 16;
constexpr std::size_t kPieceBlocks = 4096;

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

}  // namespace

std::error_code DrawSpoolKey(std::uint8_t* key, std::size_t size) {
    return Succeeded(::BCryptGenRandom(nullptr, key, static_cast<ULONG>(size),
                                       BCRYPT_USE_SYSTEM_PREFERRED_RNG))
               ? std::error_code()
               : std::make_error_code(std::errc::io_error);
}

struct SpoolStream::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_KEY_HANDLE key = nullptr;
    std::array<std::uint8_t, kBlock> counter{};
    std::vector<std::uint8_t> stream = std::vector<std::uint8_t>(kPieceBlocks * kBlock);
    std::size_t at = 0, ready = 0;

    ~State() {
        if (key != nullptr) ::BCryptDestroyKey(key);
        if (algorithm != nullptr) ::BCryptCloseAlgorithmProvider(algorithm, 0);
        cipher::Wipe(stream);
        std::fill(counter.begin(), counter.end(), std::uint8_t{0});
    }

    // The next piece of the key stream: the counter blocks, enciphered.
    bool Refill() {
        for (std::size_t b = 0; b < kPieceBlocks; ++b) {
            std::copy(counter.begin(), counter.end(), stream.begin() + b * kBlock);
            for (std::size_t i = kBlock; i-- > 0 && ++counter[i] == 0;) {
            }
        }
        ULONG written = 0;
        const auto size = static_cast<ULONG>(stream.size());
        if (!Succeeded(::BCryptEncrypt(key, stream.data(), size, nullptr, nullptr, 0, stream.data(),
                                       size, &written, 0)) ||
            written != size) {
            return false;
        }
        at = 0;
        ready = stream.size();
        return true;
    }
};

SpoolStream::SpoolStream() = default;
SpoolStream::~SpoolStream() = default;

bool SpoolStream::Start(const std::uint8_t* key) {
    state_ = std::make_unique<State>();
    State& s = *state_;
    if (!Succeeded(::BCryptOpenAlgorithmProvider(&s.algorithm, BCRYPT_AES_ALGORITHM, nullptr, 0))) {
        return false;
    }
    wchar_t mode[] = BCRYPT_CHAIN_MODE_ECB;
    if (!Succeeded(::BCryptSetProperty(s.algorithm, BCRYPT_CHAINING_MODE,
                                       reinterpret_cast<PUCHAR>(mode), sizeof mode, 0))) {
        return false;
    }
    if (!Succeeded(::BCryptGenerateSymmetricKey(s.algorithm, &s.key, nullptr, 0,
                                                const_cast<PUCHAR>(key), kKeyBytes, 0))) {
        return false;
    }
    std::copy(key + kKeyBytes, key + kKeyBytes + kBlock, s.counter.begin());
    return true;
}

bool SpoolStream::Apply(std::uint8_t* data, std::size_t size) {
    State& s = *state_;
    while (size > 0) {
        if (s.at == s.ready && !s.Refill()) return false;
        const std::size_t n = std::min(size, s.ready - s.at);
        for (std::size_t i = 0; i < n; ++i) data[i] ^= s.stream[s.at + i];
        s.at += n;
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace cli
