#include "cli/SpoolStream.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

namespace cli {

namespace {

constexpr std::size_t kKeyBytes = 32;  // then ChaCha20's counter and nonce, 16 bytes
constexpr std::size_t kPiece = 256 << 10;

}  // namespace

std::error_code DrawSpoolKey(std::uint8_t* key, std::size_t size) {
    return RAND_bytes(key, static_cast<int>(size)) == 1 ? std::error_code()
                                                        : std::make_error_code(std::errc::io_error);
}

struct SpoolStream::State {
    EVP_CIPHER_CTX* context = nullptr;
    ~State() { EVP_CIPHER_CTX_free(context); }
};

SpoolStream::SpoolStream() = default;
SpoolStream::~SpoolStream() = default;

bool SpoolStream::Start(const std::uint8_t* key) {
    state_ = std::make_unique<State>();
    state_->context = EVP_CIPHER_CTX_new();
    return state_->context != nullptr && EVP_CipherInit_ex(state_->context, EVP_chacha20(), nullptr,
                                                           key, key + kKeyBytes, 1) == 1;
}

bool SpoolStream::Apply(std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const int n = static_cast<int>(size < kPiece ? size : kPiece);
        int out = 0;
        if (EVP_CipherUpdate(state_->context, data, &out, data, n) != 1 || out != n) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace cli
