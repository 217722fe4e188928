// Standard input spooled before the engine reads it. The spool of plain
// data is enciphered with ChaCha20 from the system's crypto library: the
// fastest stream cipher at hand, and a stream cipher keeps the spool exactly
// as long as the data, so its length is the data's. The key and nonce are
// drawn for each spool and wiped when it goes; the spool has no name and
// disappears with the process, so nothing readable outlives the run.

#include "cli/Spools.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

#include "cipher/Base64Stream.h"
#include "cipher/SecureZero.h"

namespace cli {

namespace {

constexpr std::size_t kPiece = 256 << 10;
constexpr std::size_t kKeyBytes = 32;
constexpr std::size_t kNonceBytes = 16;  // ChaCha20's counter and nonce

// Reads up to `limit` + 1 bytes in pieces and hands each to `take`.
std::error_code ReadPieces(const ReadSome& read, std::uint64_t limit,
                           const std::function<std::error_code(std::uint8_t*, std::size_t)>& take) {
    std::vector<std::uint8_t> piece(kPiece);
    const cipher::WipedOnExit wipe(piece);
    std::uint64_t total = 0;
    for (;;) {
        std::size_t n = 0;
        if (std::error_code ec = read(piece.data(), piece.size(), n)) return ec;
        if (n == 0) return {};
        total += n;
        if (total > limit) return std::make_error_code(std::errc::file_too_large);
        if (std::error_code ec = take(piece.data(), n)) return ec;
    }
}

std::error_code CryptoFailure() {
    return std::make_error_code(std::errc::io_error);
}

}  // namespace

std::error_code CiphertextSpool::Fill(const ReadSome& read, bool base64, std::uint64_t limit) {
    if (std::error_code ec = spool_.Create()) return ec;
    if (!base64) {
        std::error_code ec = ReadPieces(read, limit, [this](std::uint8_t* data, std::size_t size) {
            return spool_.Write(data, size);
        });
        return ec ? ec : spool_.Rewind();
    }
    cipher::Base64Decoder decoder;
    std::vector<std::uint8_t> decoded(cipher::Base64Decoder::Room(kPiece));
    std::error_code ec = ReadPieces(read, limit, [&](std::uint8_t* data, std::size_t size) {
        return spool_.Write(decoded.data(), decoder.Decode(data, size, decoded.data()));
    });
    if (!ec) ec = spool_.Write(decoded.data(), decoder.Finish(decoded.data()));
    if (!ec && decoder.Characters() == 0) ec = std::make_error_code(std::errc::invalid_argument);
    if (!ec) ec = spool_.Rewind();
    return ec;
}

struct SealedSpool::Stream {
    EVP_CIPHER_CTX* context = nullptr;
    ~Stream() { EVP_CIPHER_CTX_free(context); }
    bool Start(const std::uint8_t* key, bool encrypt) {
        context = EVP_CIPHER_CTX_new();
        return context != nullptr && EVP_CipherInit_ex(context, EVP_chacha20(), nullptr, key,
                                                       key + kKeyBytes, encrypt ? 1 : 0) == 1;
    }
    bool Apply(std::uint8_t* data, std::size_t size) {
        while (size > 0) {
            const int n = static_cast<int>(size < kPiece ? size : kPiece);
            int out = 0;
            if (EVP_CipherUpdate(context, data, &out, data, n) != 1 || out != n) return false;
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }
};

SealedSpool::SealedSpool() : key_(kKeyBytes + kNonceBytes) {}

SealedSpool::~SealedSpool() {
    OPENSSL_cleanse(key_.data(), key_.size());
}

std::error_code SealedSpool::Fill(const ReadSome& read, std::uint64_t limit) {
    if (RAND_bytes(key_.data(), static_cast<int>(key_.size())) != 1) return CryptoFailure();
    in_ = std::make_unique<Stream>();
    out_ = std::make_unique<Stream>();
    if (!in_->Start(key_.data(), true) || !out_->Start(key_.data(), false)) return CryptoFailure();
    if (std::error_code ec = spool_.Create()) return ec;
    std::error_code ec = ReadPieces(read, limit, [this](std::uint8_t* data, std::size_t size) {
        if (!in_->Apply(data, size)) return CryptoFailure();
        return spool_.Write(data, size);
    });
    if (!ec) ec = spool_.Rewind();
    return ec;
}

std::error_code SealedSpool::Read(std::uint8_t* data, std::size_t size) {
    if (std::error_code ec = spool_.Read(data, size)) return ec;
    return out_->Apply(data, size) ? std::error_code() : CryptoFailure();
}

}  // namespace cli
