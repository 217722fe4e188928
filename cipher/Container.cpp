// The container: a random block, a length header, the data and zero padding,
// enciphered in cipher-block chaining with an all-zero starting value.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "cipher/CipherErrors.h"
#include "cipher/RandomWords.h"
#include "cipher/clsBlowfish.h"

namespace {

constexpr std::size_t kBlock = 8;
constexpr std::size_t kHeader = 12;
// The largest data length whose container stays within 2^31 - 1 bytes.
constexpr std::size_t kMaxData = 2147483640 - kHeader;
// Bytes enciphered between two calls of the event pump.
constexpr std::size_t kPumpStride = 64 * 1024;

inline std::uint32_t LoadBig(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

inline void StoreBig(std::uint8_t* p, std::uint32_t w) {
    p[0] = static_cast<std::uint8_t>(w >> 24);
    p[1] = static_cast<std::uint8_t>(w >> 16);
    p[2] = static_cast<std::uint8_t>(w >> 8);
    p[3] = static_cast<std::uint8_t>(w);
}

inline void StoreLittle(std::uint8_t* p, std::uint32_t w) {
    p[0] = static_cast<std::uint8_t>(w);
    p[1] = static_cast<std::uint8_t>(w >> 8);
    p[2] = static_cast<std::uint8_t>(w >> 16);
    p[3] = static_cast<std::uint8_t>(w >> 24);
}

inline std::int32_t LoadLittleSigned(const std::uint8_t* p) {
    const std::uint32_t w = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                            (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
    return static_cast<std::int32_t>(w);
}

// The first block offset at or after a report threshold.
inline std::size_t ReportOffset(double threshold) {
    return (static_cast<std::size_t>(threshold) + kBlock - 1) & ~(kBlock - 1);
}

// Walks the blocks of [0, bytes) in runs that end at a progress report or
// after kPumpStride bytes, so the per-block loops stay free of everything
// but the cipher. range(from, to) processes the blocks of a run;
// report(offset) runs after the block at offset, pump() after every run.
template <typename Range, typename Report, typename Pump>
void WalkBlocks(std::size_t bytes, const double& threshold, Range range, Report report, Pump pump) {
    std::size_t o = 0;
    while (o < bytes) {
        const std::size_t reportAt = ReportOffset(threshold);
        std::size_t end = std::min(bytes, o + kPumpStride);
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
    std::uint32_t cL = 0, cR = 0;
    auto range = [&](std::size_t from, std::size_t to) {
        const cipher::Tables& t = tables_;
        std::uint32_t l = cL, r = cR;
        for (std::uint8_t* p = data + from; p != data + to; p += kBlock) {
            l ^= LoadBig(p);
            r ^= LoadBig(p + 4);
            cipher::Encipher(t, l, r);
            StoreBig(p, l);
            StoreBig(p + 4, r);
        }
        cL = l;
        cR = r;
    };
    return WalkChain(bytes, bytes, range);
}

std::int32_t clsBlowfish::DecryptBlocks(std::uint8_t* data, std::size_t bytes, std::size_t total) {
    std::uint32_t cL = 0, cR = 0;
    auto range = [&](std::size_t from, std::size_t to) {
        constexpr int kLanes = 8;
        const cipher::Tables& t = tables_;
        std::uint8_t* p = data + from;
        std::uint8_t* const end = data + to;
        for (; end - p >= static_cast<std::ptrdiff_t>(kLanes * kBlock); p += kLanes * kBlock) {
            std::uint32_t xL[kLanes], xR[kLanes], L[kLanes], R[kLanes];
            for (int k = 0; k < kLanes; ++k) {
                L[k] = xL[k] = LoadBig(p + k * kBlock);
                R[k] = xR[k] = LoadBig(p + k * kBlock + 4);
            }
            cipher::DecipherLanes<kLanes>(t, L, R);
            for (int k = 0; k < kLanes; ++k) {
                StoreBig(p + k * kBlock, L[k] ^ (k == 0 ? cL : xL[k - 1]));
                StoreBig(p + k * kBlock + 4, R[k] ^ (k == 0 ? cR : xR[k - 1]));
            }
            cL = xL[kLanes - 1];
            cR = xR[kLanes - 1];
        }
        for (; p != end; p += kBlock) {
            const std::uint32_t xL = LoadBig(p), xR = LoadBig(p + 4);
            std::uint32_t L = xL, R = xR;
            cipher::Decipher(t, L, R);
            StoreBig(p, L ^ cL);
            StoreBig(p + 4, R ^ cR);
            cL = xL;
            cR = xR;
        }
    };
    return WalkChain(bytes, total, range);
}

template <typename Range>
std::int32_t clsBlowfish::WalkChain(std::size_t bytes, std::size_t total, Range& range) {
    if (sink_ == nullptr) {
        range(0, bytes);
        return 0;
    }
    std::int32_t last = 0;
    double threshold = 0;
    WalkBlocks(
        bytes, threshold, range,
        [&](std::size_t offset) { Report(offset, total, last, threshold); },
        [&] { sink_->PumpEvents(); });
    return last;
}

void clsBlowfish::EncryptByte(ByteArray& byteArray, const std::u16string& Key) {
    if (!Key.empty()) this->Key(Key);
    const std::size_t D = byteArray.size();
    if (D > kMaxData) throw ContainerTooLargeError();
    const std::size_t T = (D + kHeader + kBlock - 1) & ~(kBlock - 1);
    byteArray.resize(T);
    std::uint8_t* data = byteArray.data();
    std::memmove(data + kHeader, data, D);
    StoreLittle(data + 8, static_cast<std::uint32_t>(D));
    StoreLittle(data, cipher::RandomWord());
    StoreLittle(data + 4, cipher::RandomWord());
    FinishReport(EncryptBlocks(data, T));
}

bool clsBlowfish::DecryptByte(ByteArray& byteArray, const std::u16string& Key) {
    if (!Key.empty()) this->Key(Key);
    const std::size_t N = byteArray.size();
    if (N == 0) return false;
    std::uint8_t* data = byteArray.data();
    const std::int32_t last = DecryptBlocks(data, N - N % kBlock, N);
    // A trailing partial block, or a lone block without room for the
    // size descriptor, ends the call here.
    if (N % kBlock != 0 || N < kHeader) return false;
    const std::int64_t D = LoadLittleSigned(data + 8);
    const std::int64_t overhead = static_cast<std::int64_t>(N) - D;
    if (D < 0 || overhead < 12 || overhead > 19) return false;
    std::memmove(data, data + kHeader, static_cast<std::size_t>(D));
    byteArray.resize(static_cast<std::size_t>(D));
    FinishReport(last);
    return true;
}
