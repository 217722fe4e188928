// The container: a random block, a length header, the data and zero padding,
// enciphered in cipher-block chaining with an all-zero starting value.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <optional>

#include "cipher/ByteOrder.h"
#include "cipher/CbcLoops.h"
#include "cipher/ChunkWorkers.h"
#include "cipher/CipherErrors.h"
#include "cipher/RandomWords.h"
#include "cipher/SecureZero.h"
#include "cipher/clsBlowfish.h"

namespace {

using cipher::LoadBig;
using cipher::LoadLittle;
using cipher::StoreBig;
using cipher::StoreLittle;

constexpr std::size_t kBlock = 8;
constexpr std::size_t kHeader = 12;
// The largest data length whose container stays within 2^31 - 1 bytes.
constexpr std::size_t kMaxData = 2147483640 - kHeader;
// Bytes enciphered between two calls of the event pump.
constexpr std::size_t kPumpStride = 64 * 1024;
// The piece of a byte array that one thread deciphers at a time.
constexpr std::size_t kPiece = 256 * 1024;

// The first block offset at or after a report threshold.
inline std::size_t ReportOffset(double threshold) {
    return (static_cast<std::size_t>(threshold) + kBlock - 1) & ~(kBlock - 1);
}

// Walks the blocks of [from, to) in runs that end at a progress report or
// after kPumpStride bytes, so the per-block loops stay free of everything
// but the cipher. Offsets are counted from the start of the whole container,
// so a container walked in several spans reports exactly as one walked
// whole. range(from, to) processes the blocks of a run; report(offset) runs
// after the block at offset, pump() after every run.
template <typename Range, typename Report, typename Pump>
void WalkBlocks(std::size_t from, std::size_t to, const double& threshold, Range range,
                Report report, Pump pump) {
    std::size_t o = from;
    while (o < to) {
        const std::size_t reportAt = ReportOffset(threshold);
        std::size_t end = std::min(to, o + kPumpStride);
        const bool reportHere = reportAt < end;
        if (reportHere) end = reportAt + kBlock;
        range(o, end);
        o = end;
        if (reportHere) report(reportAt);
        pump();
    }
}

std::u16string StatusText(std::int32_t percent) {
    std::u16string text = u"Working... ";
    for (char c : std::to_string(percent)) text += static_cast<char16_t>(c);
    return text + u"%";
}

}  // namespace

std::uint32_t clsBlowfish::GetWord(const ByteArray& array, std::size_t p) {
    if (p + 4 > array.size()) throw std::out_of_range("block read past the end of the array");
    return LoadBig(array.data() + p);
}

void clsBlowfish::PutWord(ByteArray& array, std::size_t p, std::uint32_t w) {
    if (p + 4 > array.size()) throw std::out_of_range("block write past the end of the array");
    StoreBig(array.data() + p, w);
}

void clsBlowfish::Report(std::size_t offset, std::size_t total, std::int32_t& last,
                         double& threshold) {
    const auto percentage = static_cast<std::int32_t>(
        (static_cast<double>(offset) / static_cast<double>(total)) * 100.0);
    threshold = std::nearbyint(((percentage + 1) / 100.0) * static_cast<double>(total) + 1.0);
    std::int32_t Percent = percentage;
    sink_->Progress(Percent);
    last = Percent;
    sink_->SetStatusText(StatusText(Percent));
}

void clsBlowfish::FinishReport(std::int32_t last) {
    if (sink_ == nullptr || last == 100) return;
    std::int32_t Percent = 100;
    sink_->Progress(Percent);
}

std::int32_t clsBlowfish::EncryptBlocks(std::uint8_t* data, std::size_t bytes) {
    cipher::Chain chain;
    auto range = [&](std::size_t from, std::size_t to) {
        cipher::EncryptRun(tables_, data + from, to - from, chain);
    };
    return WalkChain(bytes, bytes, range);
}

// The first two blocks are deciphered in place; they hold the size
// descriptor. When it is valid for a whole container, every later block is
// written 12 bytes further to the front, so the data ends up at offset 0
// without a separate move. Otherwise all blocks stay where they are.
std::int32_t clsBlowfish::DecryptBlocks(std::uint8_t* data, std::size_t bytes, std::size_t total,
                                        std::optional<std::size_t>& dataAtFront) {
    cipher::Chain chain;
    std::size_t shift = 0;
    dataAtFront.reset();
    auto range = [&](std::size_t from, std::size_t to) {
        for (; from < to && from < 2 * kBlock; from += kBlock) {
            cipher::DecryptRun(tables_, data + from, kBlock, chain, 0);
            if (from == kBlock && bytes == total && ValidDescriptor(data, total)) {
                dataAtFront = LoadLittle(data + 8);
                std::memcpy(data, data + kHeader, 4);
                shift = kHeader;
            }
        }
        if (from < to) cipher::DecryptRun(tables_, data + from, to - from, chain, shift);
    };
    return WalkChain(bytes, total, range);
}

bool clsBlowfish::ValidDescriptor(const std::uint8_t* container, std::size_t N) {
    const std::int64_t D = static_cast<std::int32_t>(LoadLittle(container + 8));
    const std::int64_t overhead = static_cast<std::int64_t>(N) - D;
    return D >= 0 && overhead >= 12 && overhead <= 19;
}

template <typename Range>
std::int32_t clsBlowfish::WalkChain(std::size_t bytes, std::size_t total, Range& range) {
    ChainWalk walk;
    walk.total = total;
    WalkSpan(0, bytes, walk, range);
    return walk.last;
}

template <typename Range>
void clsBlowfish::WalkSpan(std::size_t from, std::size_t to, ChainWalk& walk, Range& range) {
    if (sink_ == nullptr) {
        range(from, to);
        return;
    }
    WalkBlocks(
        from, to, walk.threshold, range,
        [&](std::size_t offset) { Report(offset, walk.total, walk.last, walk.threshold); },
        [&] { sink_->PumpEvents(); });
}

void clsBlowfish::EncryptSpan(std::uint8_t* data, std::size_t from, std::size_t to,
                              ChainWalk& walk) {
    auto range = [&](std::size_t a, std::size_t b) {
        cipher::EncryptRun(tables_, data + (a - from), b - a, walk.chain);
    };
    WalkSpan(from, to, walk, range);
}

void clsBlowfish::DecryptSpan(std::uint8_t* data, std::size_t from, std::size_t to,
                              ChainWalk& walk) {
    auto range = [&](std::size_t a, std::size_t b) {
        cipher::DecryptRun(tables_, data + (a - from), b - a, walk.chain, 0);
    };
    WalkSpan(from, to, walk, range);
}

void clsBlowfish::ReportSpan(std::size_t from, std::size_t to, ChainWalk& walk) {
    auto none = [](std::size_t, std::size_t) {};
    WalkSpan(from, to, walk, none);
}

// Block k deciphers from ciphertext blocks k and k - 1 alone, so the pieces
// are independent once each has the ciphertext block before it, taken before
// any piece overwrites it.
void clsBlowfish::DecryptSpanOn(cipher::ChunkWorkers& workers, std::uint8_t* data, std::size_t from,
                                std::size_t to, ChainWalk& walk) {
    const std::size_t bytes = to - from;
    if (bytes == 0) return;
    const std::size_t count = (bytes + kPiece - 1) / kPiece;
    std::vector<cipher::Chain> chains(count);
    chains[0] = walk.chain;
    for (std::size_t k = 1; k < count; ++k) {
        chains[k] = {LoadBig(data + k * kPiece - 8), LoadBig(data + k * kPiece - 4)};
    }
    walk.chain = {LoadBig(data + bytes - 8), LoadBig(data + bytes - 4)};
    std::deque<cipher::ChunkWorkers::Job> jobs(count);
    for (std::size_t k = 0; k < count; ++k) {
        std::uint8_t* piece = data + k * kPiece;
        const std::size_t size = std::min(kPiece, bytes - k * kPiece);
        jobs[k].run = [this, piece, size, chain = chains[k]]() mutable {
            cipher::DecryptRun(tables_, piece, size, chain, 0);
        };
        workers.Submit(jobs[k]);
    }
    auto idle = [this] {
        if (sink_ != nullptr) sink_->PumpEvents();
    };
    for (std::size_t k = 0; k < count; ++k) {
        workers.Wait(jobs[k], idle);
        ReportSpan(from + k * kPiece, std::min(to, from + (k + 1) * kPiece), walk);
    }
}

std::int32_t clsBlowfish::DecryptBlocksOn(std::size_t threads, std::uint8_t* data,
                                          std::size_t bytes, std::size_t total,
                                          std::optional<std::size_t>& dataAtFront) {
    ChainWalk walk;
    walk.total = total;
    DecryptSpan(data, 0, 2 * kBlock, walk);
    const bool valid = bytes == total && ValidDescriptor(data, total);
    {
        cipher::ChunkWorkers workers(threads);
        DecryptSpanOn(workers, data + 2 * kBlock, 2 * kBlock, bytes, walk);
    }
    dataAtFront.reset();
    if (valid) {
        dataAtFront = LoadLittle(data + 8);
        std::memmove(data, data + kHeader, *dataAtFront);
    }
    return walk.last;
}

void clsBlowfish::WriteHeader(std::uint8_t* container, std::size_t D) {
    StoreLittle(container + 8, static_cast<std::uint32_t>(D));
    StoreLittle(container, cipher::RandomWord());
    StoreLittle(container + 4, cipher::RandomWord());
}

std::size_t clsBlowfish::ContainerSize(std::size_t D) {
    if (D > kMaxData) throw cipher::ContainerTooLargeError();
    return (D + kHeader + kBlock - 1) & ~(kBlock - 1);
}

void clsBlowfish::EncryptByte(ByteArray& byteArray, const std::u16string& Key) {
    if (!Key.empty()) this->Key(Key);
    const std::size_t D = byteArray.size();
    const std::size_t T = ContainerSize(D);
    if (byteArray.capacity() < T) {
        // Growing in place would free the data unwiped: copy it into a
        // buffer of the container's size and wipe the old one.
        ByteArray container(T);
        std::copy_n(byteArray.data(), D, container.data() + kHeader);
        cipher::Wipe(byteArray);
        byteArray.swap(container);
    } else {
        byteArray.resize(T);
        std::memmove(byteArray.data() + kHeader, byteArray.data(), D);
    }
    SealContainer(byteArray.data(), D);
}

void clsBlowfish::SealContainer(std::uint8_t* container, std::size_t D) {
    const std::size_t T = ContainerSize(D);
    std::memset(container + kHeader + D, 0, T - kHeader - D);
    WriteHeader(container, D);
    FinishReport(EncryptBlocks(container, T));
}

bool clsBlowfish::DecryptByte(ByteArray& byteArray, const std::u16string& Key) {
    if (!Key.empty()) this->Key(Key);
    const std::size_t N = byteArray.size();
    if (N == 0) return false;
    std::uint8_t* data = byteArray.data();
    std::optional<std::size_t> dataAtFront;
    const std::size_t whole = N - N % kBlock;
    const std::size_t threads = cipher::WorkerThreads();
    const std::int32_t last = threads > 1 && whole > 2 * kBlock + kPiece
                                  ? DecryptBlocksOn(threads, data, whole, N, dataAtFront)
                                  : DecryptBlocks(data, whole, N, dataAtFront);
    // A trailing partial block, a lone block without room for the size
    // descriptor, or a descriptor that does not fit the length ends the call
    // with every block deciphered in place.
    if (!dataAtFront) return false;
    byteArray.resize(*dataAtFront);
    FinishReport(last);
    return true;
}
