// Standard input spooled before the engine reads it. The spool of plain
// data is enciphered with a stream cipher (see SpoolStream.h): the fastest
// at hand, and a stream cipher keeps the spool exactly as long as the data,
// so its length is the data's. The key and nonce are
// drawn for each spool and wiped when it goes; the spool has no name and
// disappears with the process, so nothing readable outlives the run.

#include "cli/Spools.h"

#include <memory>

#include "cipher/Base64Stream.h"
#include "cipher/SecureZero.h"

namespace cli {

namespace {

constexpr std::size_t kPiece = 256 << 10;

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

SealedSpool::SealedSpool() : key_(kSpoolKeyBytes) {}

SealedSpool::~SealedSpool() {
    cipher::Wipe(key_);
}

std::error_code SealedSpool::Fill(const ReadSome& read, std::uint64_t limit) {
    if (std::error_code ec = DrawSpoolKey(key_.data(), key_.size())) return ec;
    in_ = std::make_unique<SpoolStream>();
    out_ = std::make_unique<SpoolStream>();
    if (!in_->Start(key_.data()) || !out_->Start(key_.data())) return CryptoFailure();
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
