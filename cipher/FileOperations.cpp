// File encryption and decryption. Raw containers stream through a few small
// private buffers: the source is read ahead and the result written behind on
// a helper thread, while the cipher works on this thread. When encrypting,
// the new file only ever receives ciphertext.

#include <algorithm>
#include <cstring>
#include <deque>
#include <new>
#include <optional>

#include "cipher/Base64Stream.h"
#include "cipher/ByteOrder.h"
#include "cipher/ByteStreams.h"
#include "cipher/ChunkPipe.h"
#include "cipher/ChunkWorkers.h"
#include "cipher/CipherErrors.h"
#include "cipher/CodePage.h"
#include "cipher/ContainerLimits.h"
#include "cipher/PipedContainer.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"
#include "fileio/FileStore.h"

namespace {

using cipher::container::kMaxData;
using cipher::container::kMaxSize;
using cipher::container::kOverhead;
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

// Pieces of Base64 text read or written at a time.
constexpr std::size_t kTextPiece = 64 << 10;

// Base64 text read as the `size` bytes it decodes to.
class Base64Source final : public cipher::ByteSource {
public:
    Base64Source(cipher::ByteSource& text, std::uint64_t size)
        : text_(text),
          textLeft_(text.Size()),
          size_(size),
          piece_(kTextPiece),
          decoded_(cipher::Base64Decoder::Room(kTextPiece)) {}
    ~Base64Source() override { cipher::Wipe(decoded_); }

    std::uint64_t Size() const override { return size_; }
    std::error_code Read(std::uint8_t* data, std::size_t size) override {
        while (size > 0) {
            if (at_ == ready_) {
                if (const std::error_code ec = Refill()) return ec;
            }
            const std::size_t n = std::min(size, ready_ - at_);
            std::memcpy(data, decoded_.data() + at_, n);
            at_ += n;
            data += n;
            size -= n;
        }
        return {};
    }
    std::error_code ConfirmEnd() override { return text_.ConfirmEnd(); }

private:
    std::error_code Refill() {
        at_ = ready_ = 0;
        if (textLeft_ == 0) {
            ready_ = finished_ ? 0 : decoder_.Finish(decoded_.data());
            finished_ = true;
            // Fewer bytes than counted: the text changed while it was read.
            return ready_ == 0 ? fileio::SourceChanged() : std::error_code();
        }
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(kTextPiece, textLeft_));
        if (const std::error_code ec = text_.Read(piece_.data(), n)) return ec;
        textLeft_ -= n;
        ready_ = decoder_.Decode(piece_.data(), n, decoded_.data());
        return {};
    }

    cipher::ByteSource& text_;
    std::uint64_t textLeft_;
    std::uint64_t size_;
    cipher::Base64Decoder decoder_;
    std::vector<std::uint8_t> piece_, decoded_;
    std::size_t at_ = 0, ready_ = 0;
    bool finished_ = false;
};

// Writes the bytes of a container of `total` bytes as Base64 text.
class Base64Sink final : public cipher::ByteSink {
public:
    Base64Sink(cipher::ByteSink& out, std::uint64_t total)
        : out_(out), encoder_(total), text_(cipher::Base64Encoder::Room(kTextPiece)) {}

    std::error_code Write(const std::uint8_t* data, std::size_t size) override {
        while (size > 0) {
            const std::size_t n = std::min(size, kTextPiece);
            const std::size_t chars = encoder_.Encode(data, n, text_.data());
            if (const std::error_code ec = out_.Write(text_.data(), chars)) return ec;
            data += n;
            size -= n;
        }
        return {};
    }
    std::error_code Finish() {
        const std::size_t chars = encoder_.Finish(text_.data());
        return out_.Write(text_.data(), chars);
    }

private:
    cipher::ByteSink& out_;
    cipher::Base64Encoder encoder_;
    std::vector<std::uint8_t> text_;
};

// The characters that count in a file of Base64 text, read from its start;
// the file is read from its start again afterwards.
std::error_code CountBase64(fileio::SourceFile& input, std::uint64_t& characters) {
    std::vector<std::uint8_t> piece(kChunk);
    characters = 0;
    for (std::uint64_t left = input.Size(); left > 0;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, left));
        if (const std::error_code ec = input.ReadExactly(piece.data(), n)) return ec;
        characters += cipher::Base64Decoder::Count(piece.data(), n);
        left -= n;
    }
    return input.Rewind();
}

}  // namespace

bool clsBlowfish::IsExistingFile(const std::u16string& path) const {
    return fileio::IsRegularFile(path);
}

bool clsBlowfish::Fail(cipher::FileFailure failure, const std::u16string& path,
                       std::error_code code) {
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
    lastError_ = cipher::FileError{};
    lastError_.operation =
        encrypt ? cipher::FileOperation::Encrypt : cipher::FileOperation::Decrypt;
    std::error_code ec;
    fileio::ToPath(InFile, ec);
    if (ec) return Fail(cipher::FileFailure::InvalidName, InFile);
    if (fileio::IsFolder(InFile)) return Fail(cipher::FileFailure::SourceIsFolder, InFile);
    if (!IsExistingFile(InFile)) return Fail(cipher::FileFailure::SourceMissing, InFile);
    fileio::ToPath(OutFile, ec);
    if (ec) return Fail(cipher::FileFailure::InvalidName, OutFile);
    if (IsExistingFile(OutFile) && !Overwrite)
        return Fail(cipher::FileFailure::DestinationExists, OutFile);

    overwrite_ = Overwrite;
    // From here on the arguments are wiped whatever the outcome.
    const bool done = TransformExistingFile(InFile, OutFile, Key, base64, encrypt);
    WipeArguments(Key, InFile, OutFile);
    return done;
}

bool clsBlowfish::TransformExistingFile(const std::u16string& InFile, const std::u16string& OutFile,
                                        const std::u16string& Key, bool base64, bool encrypt) {
    std::error_code ec;
    const std::filesystem::path source = fileio::ToPath(InFile, ec);
    const std::filesystem::path destination = fileio::ToPath(OutFile, ec);
    if (OutFile.empty()) {
        return Fail(cipher::FileFailure::DestinationUnwritable, OutFile,
                    std::make_error_code(std::errc::invalid_argument));
    }
    try {
        // Assigned up front so an unusable password is refused before
        // anything is read; an empty one keeps the tables in force.
        if (!Key.empty()) this->Key(Key);
    } catch (const cipher::UnrepresentableTextError&) {
        return Fail(cipher::FileFailure::UnrepresentableKey);
    }
    fileio::SourceFile input;
    ec = input.Open(source);
    if (ec) return Fail(cipher::FileFailure::SourceUnreadable, InFile, ec);
    if (expectedSource_ && input.Identity() != *expectedSource_) {
        return Fail(cipher::FileFailure::SourceChanged, InFile);
    }
    const std::uint64_t limit = encrypt  ? cipher::container::kMaxData
                                : base64 ? cipher::container::kMaxBase64
                                         : cipher::container::kMaxSize;
    if (input.Size() > limit) return Fail(cipher::FileFailure::SourceTooLarge, InFile);
    cipher::FileSource file(input);
    std::optional<Base64Source> text;
    if (base64 && !encrypt) {
        // The text's length in bytes is counted first: the decipherment
        // needs the container's length before it starts.
        std::uint64_t characters = 0;
        ec = CountBase64(input, characters);
        if (ec) return Fail(cipher::FileFailure::SourceUnreadable, InFile, ec);
        if (characters == 0) return Fail(cipher::FileFailure::InvalidBase64, InFile);
        const std::uint64_t N = cipher::Base64Decoder::DecodedLength(characters);
        if (N > cipher::container::kMaxSize)
            return Fail(cipher::FileFailure::SourceTooLarge, InFile);
        text.emplace(file, N);
    }
    fileio::PendingFile output;
    if (!CreateDestination(output, destination, OutFile)) return false;
    cipher::PendingFileSink sink(output);
    const bool done = encrypt ? EncryptChunks(file, sink, base64, InFile, OutFile)
                              : DecryptChunks(text ? static_cast<cipher::ByteSource&>(*text) : file,
                                              sink, InFile, OutFile);
    if (!done) return false;
    input.Close();  // all read: the destination may be the same file
    return CommitOutcome(output.Commit(), OutFile);
}

bool clsBlowfish::CreateDestination(fileio::PendingFile& output,
                                    const std::filesystem::path& destination,
                                    const std::u16string& OutFile) {
    fileio::Refusal refusal = fileio::Refusal::None;
    output.KeepExisting(!overwrite_);
    const std::error_code ec = output.Create(destination, refusal);
    if (ec) return Fail(cipher::FileFailure::DestinationUnwritable, OutFile, ec);
    switch (refusal) {
        case fileio::Refusal::None:
            return true;
        case fileio::Refusal::NotAFile:
            return Fail(cipher::FileFailure::DestinationNotAFile, OutFile);
        case fileio::Refusal::ReadOnly:
            return Fail(cipher::FileFailure::DestinationReadOnly, OutFile);
        case fileio::Refusal::UntrustedLink:
            return Fail(cipher::FileFailure::DestinationUntrustedLink, OutFile);
    }
    return false;
}

// Says why a chunk could not be had from the pipe.
bool clsBlowfish::PipeFailure(cipher::ChunkPipe& pipe, const std::u16string& InFile,
                              const std::u16string& OutFile) {
    if (const std::error_code ec = pipe.WriteError()) {
        return Fail(cipher::FileFailure::DestinationUnwritable, OutFile, ec);
    }
    return SourceFailure(pipe.ReadError(), InFile);
}

// A source that could not be read, or that changed while it was read.
bool clsBlowfish::SourceFailure(std::error_code ec, const std::u16string& InFile) {
    if (ec == fileio::SourceChanged()) return Fail(cipher::FileFailure::SourceChanged, InFile);
    return Fail(cipher::FileFailure::SourceUnreadable, InFile, ec);
}

// Every chunk is read: the source must end there as it was when its length
// was taken, or the result would be a cut-off copy of a file that grew.
bool clsBlowfish::FinishChunks(cipher::ChunkPipe& pipe, cipher::ByteSource& input,
                               const std::u16string& InFile, const std::u16string& OutFile) {
    if (const std::error_code changed = input.ConfirmEnd()) return SourceFailure(changed, InFile);
    if (const std::error_code ec = pipe.Finish()) {
        return Fail(cipher::FileFailure::DestinationUnwritable, OutFile, ec);
    }
    return true;
}

bool clsBlowfish::CommitOutcome(std::error_code ec, const std::u16string& OutFile) {
    // Created by someone else while this file was being written.
    if (ec == std::errc::file_exists && !overwrite_) {
        return Fail(cipher::FileFailure::DestinationExists, OutFile);
    }
    if (ec) return Fail(cipher::FileFailure::DestinationUnwritable, OutFile, ec);
    return true;
}

// The container streams out chunk by chunk: chunk k holds container bytes
// [k * kChunk, (k + 1) * kChunk), which the helper fills with the source
// bytes that belong there (after the 12 header bytes in the first chunk).
bool clsBlowfish::EncryptChunks(cipher::ByteSource& input, cipher::ByteSink& output, bool base64,
                                const std::u16string& InFile, const std::u16string& OutFile) {
    if (input.Size() > cipher::container::kMaxData)
        return Fail(cipher::FileFailure::SourceTooLarge, InFile);
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
        return input.Read(buffer + (first - from), to - first);
    };
    std::optional<Base64Sink> text;
    try {
        if (base64) text.emplace(output, T);
    } catch (const std::bad_alloc&) {
        return Fail(cipher::FileFailure::Base64EncodingFailed, OutFile);
    }
    cipher::ByteSink& sink = text ? static_cast<cipher::ByteSink&>(*text) : output;
    auto drain = [&](const std::uint8_t* data, std::size_t size) { return sink.Write(data, size); };
    cipher::ChunkPipe pipe(kChunk, kBuffers, ChunksOf(T), fill, drain);

    ChainWalk walk;
    walk.total = T;
    for (std::size_t from = 0; from < T; from += kChunk) {
        if (StopRequested()) return Fail(cipher::FileFailure::Stopped, InFile);
        cipher::ChunkPipe::Chunk* chunk = pipe.Take();
        if (chunk == nullptr) return PipeFailure(pipe, InFile, OutFile);
        const std::size_t size = std::min(kChunk, T - from);
        std::memset(chunk->data + chunk->size, 0, size - chunk->size);
        if (from == 0) WriteHeader(chunk->data, D);
        EncryptSpan(chunk->data, from, from + size, walk);
        pipe.Give(chunk, chunk->data, size);
    }
    FinishReport(walk.last);
    if (!FinishChunks(pipe, input, InFile, OutFile)) return false;
    if (const std::error_code ec = text ? text->Finish() : std::error_code()) {
        return Fail(cipher::FileFailure::DestinationUnwritable, OutFile, ec);
    }
    return true;
}

// The size descriptor is checked against the source's length as soon as the
// first two blocks are deciphered: a wrong password writes nothing. The
// chunks after that are deciphered on the workers, each from the ciphertext
// block before it, and written in order as they are done.
bool clsBlowfish::DecryptChunks(cipher::ByteSource& input, cipher::ByteSink& output,
                                const std::u16string& InFile, const std::u16string& OutFile) {
    if (input.Size() > cipher::container::kMaxSize)
        return Fail(cipher::FileFailure::SourceTooLarge, InFile);
    const auto N = static_cast<std::size_t>(input.Size());
    if (!cipher::container::IsContainerLength(N))
        return Fail(cipher::FileFailure::NotEncryptedFile, InFile);
    auto fill = [&](std::size_t index, std::uint8_t* buffer, std::size_t, std::size_t& filled) {
        filled = std::min(kChunk, N - index * kChunk);
        return input.Read(buffer, filled);
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
            if (StopRequested()) return Fail(cipher::FileFailure::Stopped, InFile);
            cipher::ChunkPipe::Chunk* chunk = pipe.Take();
            if (chunk == nullptr) return PipeFailure(pipe, InFile, OutFile);
            std::size_t start = 0;
            if (next == 0) {
                DecryptSpan(chunk->data, 0, 2 * kBlock, walk);
                if (!ValidDescriptor(chunk->data, N)) {
                    return Fail(cipher::FileFailure::WrongPassword, InFile);
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
    return FinishChunks(pipe, input, InFile, OutFile);
}

bool clsBlowfish::BeginStream(cipher::FileOperation operation, const std::u16string& Key) {
    lastError_ = cipher::FileError{};
    lastError_.operation = operation;
    try {
        if (!Key.empty()) this->Key(Key);
    } catch (const cipher::UnrepresentableTextError&) {
        return Fail(cipher::FileFailure::UnrepresentableKey);
    }
    return true;
}

bool clsBlowfish::EncryptStream(cipher::ByteSource& input, cipher::ByteSink& output,
                                const std::u16string& Key, bool OutputIn64) {
    ResetTables();
    if (!BeginStream(cipher::FileOperation::Encrypt, Key)) return false;
    return EncryptChunks(input, output, OutputIn64, {}, {});
}

bool clsBlowfish::DecryptStream(cipher::ByteSource& container, cipher::ByteSink& output,
                                const std::u16string& Key) {
    if (!BeginStream(cipher::FileOperation::Decrypt, Key)) return false;
    return DecryptChunks(container, output, {}, {});
}

// The first two blocks give the length; a size descriptor that no container
// can have is a mismatch at once.
bool clsBlowfish::DecryptPiped(cipher::ByteStream& container, cipher::ByteSink& output,
                               const std::u16string& Key) {
    if (!BeginStream(cipher::FileOperation::Decrypt, Key)) return false;
    cipher::PipedContainer source(container);
    if (const std::error_code ec = source.ReadHead()) return SourceFailure(ec, {});
    if (source.HeadSize() == 2 * kBlock) {
        std::uint8_t header[2 * kBlock];
        std::copy_n(source.Head(), sizeof header, header);
        cipher::Chain chain;
        cipher::DecryptRun(tables_, header, sizeof header, chain, 0);
        const std::int64_t D = static_cast<std::int32_t>(cipher::LoadLittle(header + 8));
        cipher::SecureZero(header, sizeof header);  // its last four bytes are data
        if (D >= 0 && static_cast<std::uint64_t>(D) <= kMaxData) {
            source.SetSize(ContainerSize(static_cast<std::size_t>(D)));
            if (DecryptChunks(source, output, {}, {})) return true;
            if (!source.Mismatched()) return false;
        }
    }
    return MismatchedLength(source);
}

bool clsBlowfish::MismatchedLength(cipher::PipedContainer& source) {
    std::uint64_t total = 0;
    if (const std::error_code ec = source.Measure(kMaxSize, total)) return SourceFailure(ec, {});
    if (total > kMaxSize) return Fail(cipher::FileFailure::SourceTooLarge);
    if (!cipher::container::IsContainerLength(total)) {
        return Fail(cipher::FileFailure::NotEncryptedFile);
    }
    return Fail(cipher::FileFailure::WrongPassword);
}

bool clsBlowfish::ContainerHolds(fileio::SourceFile& container, fileio::SourceFile& plain,
                                 const std::u16string& Key, std::error_code& ec) {
    ec.clear();
    if (!Key.empty()) this->Key(Key);
    const auto N = static_cast<std::size_t>(container.Size());
    if (plain.Size() > kMaxData) return false;
    const auto D = static_cast<std::size_t>(plain.Size());
    if (N != ContainerSize(D)) return false;
    if ((ec = container.Rewind()) || (ec = plain.Rewind())) return false;

    // A chunk for every thread is read and deciphered at once, then
    // compared in order.
    const std::size_t threads = std::min(cipher::WorkerThreads(), kMaxInFlight);
    const std::size_t stride = kChunk * threads;
    std::vector<std::uint8_t> deciphered(std::min(stride, N)), original(kChunk);
    cipher::ChunkWorkers workers(threads);
    ChainWalk walk;
    walk.total = N;
    bool same = true;
    for (std::size_t at = 0; same && at < N; at += stride) {
        const std::size_t batch = std::min(stride, N - at);
        if ((ec = container.ReadExactly(deciphered.data(), batch))) break;
        DecryptSpanOn(workers, deciphered.data(), at, at + batch, walk);
        for (std::size_t from = at; same && from < at + batch; from += kChunk) {
            const std::uint8_t* chunk = deciphered.data() + (from - at);
            if (from == 0 && cipher::LoadLittle(chunk + 8) != D) same = false;
            const std::size_t first = std::max(from, kHeader);
            const std::size_t last = std::min({from + kChunk, at + batch, kHeader + D});
            if (!same || last <= first) continue;
            if ((ec = plain.ReadExactly(original.data(), last - first))) break;
            same = std::memcmp(chunk + (first - from), original.data(), last - first) == 0;
        }
        if (ec) break;
    }
    cipher::Wipe(deciphered);
    cipher::Wipe(original);
    // The source may not have grown since it was encrypted.
    if (!ec && same) ec = plain.ConfirmUnchanged();
    if (ec || !same) return false;
    FinishReport(walk.last);
    return true;
}

clsBlowfish::ByteArray clsBlowfish::AsciiBytes(const std::u16string& text) {
    ByteArray bytes(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<std::uint8_t>(text[i]);
    return bytes;
}
