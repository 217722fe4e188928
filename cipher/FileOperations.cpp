// File encryption and decryption. Raw containers stream through a few small
// private buffers: the source is read ahead and the result written behind on
// a helper thread, while the cipher works on this thread. When encrypting,
// the new file only ever receives ciphertext.

#include <algorithm>
#include <cstring>
#include <deque>

#include "cipher/ByteOrder.h"
#include "cipher/ChunkPipe.h"
#include "cipher/ChunkWorkers.h"
#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/ContainerLimits.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "fileio/FileStore.h"

namespace {

using container::kMaxData;
using container::kMaxSize;
using container::kOverhead;
constexpr std::size_t kHeader = 12;
constexpr std::size_t kBlock = 8;
// The unit of reading, transforming and writing, and the number of buffers
// in flight. Small enough that a chunk stays in the processor's cache while
// it is transformed, large enough that the system calls cost nothing
// measurable (see the file benchmarks).
constexpr std::size_t kChunk = 256 << 10;
constexpr std::size_t kBuffers = 4;
// The most chunks deciphered at once, whatever the number of threads.
constexpr std::size_t kMaxInFlight = 32;

void WipeArguments(std::u16string& Key, std::u16string& InFile, std::u16string& OutFile) {
    cipher::Wipe(Key);
    cipher::Wipe(InFile);
    cipher::Wipe(OutFile);
}

std::size_t ChunksOf(std::size_t bytes) {
    return (bytes + kChunk - 1) / kChunk;
}

}  // namespace

bool clsBlowfish::IsExistingFile(const std::u16string& path) const {
    return filestore::IsRegularFile(path);
}

bool clsBlowfish::Fail(FileFailure failure, const std::u16string& path, std::error_code code) {
    lastError_.failure = failure;
    lastError_.path = path;
    lastError_.code = code;
    return false;
}

bool clsBlowfish::EncryptFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                              std::u16string& Key, bool OutputIn64) {
    ResetTables();
    return TransformFile(InFile, OutFile, Overwrite, Key, OutputIn64, true);
}

bool clsBlowfish::DecryptFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                              std::u16string& Key, bool IsFileIn64) {
    return TransformFile(InFile, OutFile, Overwrite, Key, IsFileIn64, false);
}

bool clsBlowfish::TransformFile(std::u16string& InFile, std::u16string& OutFile, bool Overwrite,
                                std::u16string& Key, bool base64, bool encrypt) {
    lastError_ = FileError{};
    lastError_.operation = encrypt ? FileOperation::Encrypt : FileOperation::Decrypt;
    std::error_code ec;
    filestore::ToPath(InFile, ec);
    if (ec) return Fail(FileFailure::InvalidName, InFile);
    if (filestore::IsFolder(InFile)) return Fail(FileFailure::SourceIsFolder, InFile);
    if (!IsExistingFile(InFile)) return Fail(FileFailure::SourceMissing, InFile);
    filestore::ToPath(OutFile, ec);
    if (ec) return Fail(FileFailure::InvalidName, OutFile);
    if (IsExistingFile(OutFile) && !Overwrite) return Fail(FileFailure::DestinationExists, OutFile);

    overwrite_ = Overwrite;
    // From here on the arguments are wiped whatever the outcome.
    const bool done = TransformExistingFile(InFile, OutFile, Key, base64, encrypt);
    WipeArguments(Key, InFile, OutFile);
    return done;
}

bool clsBlowfish::TransformExistingFile(const std::u16string& InFile, const std::u16string& OutFile,
                                        const std::u16string& Key, bool base64, bool encrypt) {
    std::error_code ec;
    const std::filesystem::path source = filestore::ToPath(InFile, ec);
    const std::filesystem::path destination = filestore::ToPath(OutFile, ec);
    if (OutFile.empty()) {
        return Fail(FileFailure::DestinationUnwritable, OutFile,
                    std::make_error_code(std::errc::invalid_argument));
    }
    try {
        // Assigned up front so an unusable password is refused before
        // anything is read; an empty one keeps the tables in force.
        if (!Key.empty()) this->Key(Key);
    } catch (const UnrepresentableTextError&) {
        return Fail(FileFailure::UnrepresentableKey);
    }
    if (base64) return TransformBase64File(source, destination, InFile, OutFile, encrypt);

    filestore::SourceFile input;
    ec = input.Open(source);
    if (ec) return Fail(FileFailure::SourceUnreadable, InFile, ec);
    if (input.Size() > (encrypt ? kMaxData : kMaxSize)) {
        return Fail(FileFailure::SourceTooLarge, InFile);
    }
    filestore::PendingFile output;
    if (!CreateDestination(output, destination, OutFile)) return false;
    return encrypt ? EncryptStream(input, output, InFile, OutFile)
                   : DecryptStream(input, output, InFile, OutFile);
}

bool clsBlowfish::CreateDestination(filestore::PendingFile& output,
                                    const std::filesystem::path& destination,
                                    const std::u16string& OutFile) {
    filestore::Refusal refusal = filestore::Refusal::None;
    output.KeepExisting(!overwrite_);
    const std::error_code ec = output.Create(destination, refusal);
    if (ec) return Fail(FileFailure::DestinationUnwritable, OutFile, ec);
    switch (refusal) {
        case filestore::Refusal::None:
            return true;
        case filestore::Refusal::NotAFile:
            return Fail(FileFailure::DestinationNotAFile, OutFile);
        case filestore::Refusal::ReadOnly:
            return Fail(FileFailure::DestinationReadOnly, OutFile);
        case filestore::Refusal::UntrustedLink:
            return Fail(FileFailure::DestinationUntrustedLink, OutFile);
    }
    return false;
}

// Says why a chunk could not be had from the pipe.
bool clsBlowfish::PipeFailure(cipher::ChunkPipe& pipe, const std::u16string& InFile,
                              const std::u16string& OutFile) {
    if (const std::error_code ec = pipe.WriteError()) {
        return Fail(FileFailure::DestinationUnwritable, OutFile, ec);
    }
    return Fail(FileFailure::SourceUnreadable, InFile, pipe.ReadError());
}

bool clsBlowfish::FinishStream(cipher::ChunkPipe& pipe, filestore::PendingFile& output,
                               const std::u16string& OutFile) {
    std::error_code ec = pipe.Finish();
    if (!ec) ec = output.Commit();
    return CommitOutcome(ec, OutFile);
}

bool clsBlowfish::CommitOutcome(std::error_code ec, const std::u16string& OutFile) {
    // Created by someone else while this file was being written.
    if (ec == std::errc::file_exists && !overwrite_) {
        return Fail(FileFailure::DestinationExists, OutFile);
    }
    if (ec) return Fail(FileFailure::DestinationUnwritable, OutFile, ec);
    return true;
}

// The container streams out chunk by chunk: chunk k holds container bytes
// [k * kChunk, (k + 1) * kChunk), which the helper fills with the source
// bytes that belong there (after the 12 header bytes in the first chunk).
bool clsBlowfish::EncryptStream(filestore::SourceFile& input, filestore::PendingFile& output,
                                const std::u16string& InFile, const std::u16string& OutFile) {
    const auto D = static_cast<std::size_t>(input.Size());
    const std::size_t T = ContainerSize(D);
    const std::size_t dataEnd = kHeader + D;
    auto fill = [&](std::size_t index, std::uint8_t* buffer, std::size_t, std::size_t& filled) {
        const std::size_t from = index * kChunk;
        const std::size_t to = std::min(from + kChunk, dataEnd);
        const std::size_t first = std::max(from, kHeader);
        filled = first - from;
        if (to <= first) return std::error_code();
        filled = to - from;
        return input.ReadExactly(buffer + (first - from), to - first);
    };
    auto drain = [&](const std::uint8_t* data, std::size_t size) {
        return output.Write(data, size);
    };
    cipher::ChunkPipe pipe(kChunk, kBuffers, ChunksOf(T), fill, drain);

    ChainWalk walk;
    walk.total = T;
    for (std::size_t from = 0; from < T; from += kChunk) {
        cipher::ChunkPipe::Chunk* chunk = pipe.Take();
        if (chunk == nullptr) return PipeFailure(pipe, InFile, OutFile);
        const std::size_t size = std::min(kChunk, T - from);
        std::memset(chunk->data + chunk->size, 0, size - chunk->size);
        if (from == 0) WriteHeader(chunk->data, D);
        EncryptSpan(chunk->data, from, from + size, walk);
        pipe.Give(chunk, chunk->data, size);
    }
    FinishReport(walk.last);
    return FinishStream(pipe, output, OutFile);
}

// The size descriptor is checked against the source's length as soon as the
// first two blocks are deciphered: a wrong password writes nothing. The
// chunks after that are deciphered on the workers, each from the ciphertext
// block before it, and written in order as they are done.
bool clsBlowfish::DecryptStream(filestore::SourceFile& input, filestore::PendingFile& output,
                                const std::u16string& InFile, const std::u16string& OutFile) {
    const auto N = static_cast<std::size_t>(input.Size());
    if (N < 2 * kBlock || N % kBlock != 0) return Fail(FileFailure::WrongPassword, InFile);
    auto fill = [&](std::size_t index, std::uint8_t* buffer, std::size_t, std::size_t& filled) {
        filled = std::min(kChunk, N - index * kChunk);
        return input.ReadExactly(buffer, filled);
    };
    auto drain = [&](const std::uint8_t* data, std::size_t size) {
        return output.Write(data, size);
    };
    const std::size_t threads = std::min(cipher::WorkerThreads(), kMaxInFlight);
    cipher::ChunkPipe pipe(kChunk, kBuffers - 1 + threads, ChunksOf(N), fill, drain);

    struct Piece {
        cipher::ChunkPipe::Chunk* chunk;
        std::size_t from, start;
        cipher::ChunkWorkers::Job job;
    };
    std::deque<Piece> inFlight;
    cipher::ChunkWorkers workers(threads);
    auto idle = [this] {
        if (sink_ != nullptr) sink_->PumpEvents();
    };
    ChainWalk walk;
    walk.total = N;
    std::size_t dataEnd = 0;
    std::size_t next = 0;
    while (next < N || !inFlight.empty()) {
        if (next < N && inFlight.size() < threads) {
            cipher::ChunkPipe::Chunk* chunk = pipe.Take();
            if (chunk == nullptr) return PipeFailure(pipe, InFile, OutFile);
            std::size_t start = 0;
            if (next == 0) {
                DecryptSpan(chunk->data, 0, 2 * kBlock, walk);
                if (!ValidDescriptor(chunk->data, N)) {
                    return Fail(FileFailure::WrongPassword, InFile);
                }
                dataEnd = kHeader + cipher::LoadLittle(chunk->data + 8);
                start = 2 * kBlock;
            }
            Piece& piece = inFlight.emplace_back(Piece{chunk, next, start, {}});
            const std::uint8_t* lastBlock = chunk->data + chunk->size - kBlock;
            piece.job.run = [this, chunk, start, chain = walk.chain]() mutable {
                cipher::DecryptRun(tables_, chunk->data + start, chunk->size - start, chain, 0);
            };
            // The next chunk chains on this one's last ciphertext block,
            // taken before the workers overwrite it.
            walk.chain = {cipher::LoadBig(lastBlock), cipher::LoadBig(lastBlock + 4)};
            workers.Submit(piece.job);
            next += chunk->size;
            continue;
        }
        Piece& piece = inFlight.front();
        workers.Wait(piece.job, idle);
        const std::size_t from = piece.from;
        ReportSpan(from + piece.start, from + piece.chunk->size, walk);
        const std::size_t first = std::max(from, kHeader);
        const std::size_t last = std::min(from + piece.chunk->size, dataEnd);
        pipe.Give(piece.chunk, piece.chunk->data + (first - from), last > first ? last - first : 0);
        inFlight.pop_front();
    }
    FinishReport(walk.last);
    return FinishStream(pipe, output, OutFile);
}

bool clsBlowfish::ContainerHolds(filestore::SourceFile& container, filestore::SourceFile& plain,
                                 const std::u16string& Key, std::error_code& ec) {
    ec.clear();
    if (!Key.empty()) this->Key(Key);
    const auto N = static_cast<std::size_t>(container.Size());
    if (plain.Size() > kMaxData) return false;
    const auto D = static_cast<std::size_t>(plain.Size());
    if (N != ContainerSize(D)) return false;
    if ((ec = container.Rewind()) || (ec = plain.Rewind())) return false;

    std::vector<std::uint8_t> deciphered(kChunk), original(kChunk);
    ChainWalk walk;
    walk.total = N;
    bool same = true;
    for (std::size_t from = 0; same && from < N; from += kChunk) {
        const std::size_t size = std::min(kChunk, N - from);
        if ((ec = container.ReadExactly(deciphered.data(), size))) break;
        DecryptSpan(deciphered.data(), from, from + size, walk);
        if (from == 0 && cipher::LoadLittle(deciphered.data() + 8) != D) same = false;
        const std::size_t first = std::max(from, kHeader);
        const std::size_t last = std::min(from + size, kHeader + D);
        if (!same || last <= first) continue;
        if ((ec = plain.ReadExactly(original.data(), last - first))) break;
        same = std::memcmp(deciphered.data() + (first - from), original.data(), last - first) == 0;
    }
    cipher::Wipe(deciphered);
    cipher::Wipe(original);
    if (ec || !same) return false;
    FinishReport(walk.last);
    return true;
}

// Base64 files are read, transformed and written whole.
bool clsBlowfish::TransformBase64File(const std::filesystem::path& source,
                                      const std::filesystem::path& destination,
                                      const std::u16string& InFile, const std::u16string& OutFile,
                                      bool encrypt) {
    ByteArray bytes;
    std::error_code ec = filestore::ReadWholeFile(source, bytes, encrypt ? kOverhead : 0,
                                                  encrypt ? kMaxData : kMaxSize);
    if (ec == std::errc::file_too_large) return Fail(FileFailure::SourceTooLarge, InFile);
    if (ec) return Fail(FileFailure::SourceUnreadable, InFile, ec);

    if (encrypt) {
        EncryptByte(bytes);
        const std::u16string text = EncodeArray64(bytes);
        // A container is never empty, so neither is its text, unless the encoder failed.
        if (text.empty()) return Fail(FileFailure::Base64EncodingFailed, OutFile);
        bytes = AsciiBytes(text);
    } else {
        try {
            bytes = DecodeArray64(codepage::BytesToText(bytes));
        } catch (const Base64Error&) {
            return Fail(FileFailure::InvalidBase64, InFile);
        }
        if (!DecryptByte(bytes)) {
            cipher::Wipe(bytes);
            return Fail(FileFailure::WrongPassword, InFile);
        }
    }
    filestore::PendingFile output;
    const bool created = CreateDestination(output, destination, OutFile);
    if (created) ec = output.Write(bytes.data(), bytes.size());
    if (created && !ec) ec = output.Commit();
    cipher::Wipe(bytes);
    if (!created) return false;
    return CommitOutcome(ec, OutFile);
}

clsBlowfish::ByteArray clsBlowfish::AsciiBytes(const std::u16string& text) {
    ByteArray bytes(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<std::uint8_t>(text[i]);
    return bytes;
}
