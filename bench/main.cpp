// Throughput of the cipher engine beside OpenSSL on the same data, in one run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bench/BenchConfig.h"
#include "bench/OpenSslReference.h"
#include "bench/SummaryReporter.h"
#include "bench/WholeFile.h"
#include "cipher/ProgressSink.h"
#include "cipher/clsBlowfish.h"

namespace {

using bench::DataBytes;
using ByteArray = clsBlowfish::ByteArray;

constexpr const char16_t* kPassword = u"benchmark password";
const std::uint8_t kReferenceKey[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                                        0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};

// The data every in-memory figure works on, made once.
struct Inputs {
    Inputs() : plain(bench::RandomData(DataBytes(), 1)) {
        container = plain;
        clsBlowfish cipher;
        cipher.EncryptByte(container, kPassword);
        base64 = cipher.EncodeArray64(plain);

        reference.SetKey(kReferenceKey);
        referenceCipher.resize(plain.size());
        reference.Encrypt(plain.data(), referenceCipher.data(), plain.size());
        referenceBase64.resize(plain.size() / 3 * 4 + 8);
        referenceBase64.resize(bench::OpenSslReference::EncodeBase64(plain.data(), plain.size(),
                                                                     referenceBase64.data()));
    }

    ByteArray plain, container, referenceCipher;
    std::u16string base64;
    std::string referenceBase64;
    bench::OpenSslReference reference;
};

Inputs& Data() {
    static Inputs inputs;
    return inputs;
}

class NoopSink : public cipher::ProgressSink {
public:
    void Progress(std::int32_t&) override {}
    void SetStatusText(const std::u16string&) override {}
    void PumpEvents() override {}
};

class CountingSink : public cipher::ProgressSink {
public:
    void Progress(std::int32_t&) override { ++calls; }
    void SetStatusText(const std::u16string& text) override { calls += text.empty() ? 0 : 1; }
    void PumpEvents() override { ++calls; }
    std::int64_t calls = 0;
};

void SetBytes(benchmark::State& state, std::size_t perIteration) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * perIteration));
}

// EncryptByte on a fresh copy of the data each time; the copy is not timed.
// The array has room for the container, as it does when a file is read.
void EncryptWithSink(benchmark::State& state, cipher::ProgressSink* sink) {
    const ByteArray& plain = Data().plain;
    clsBlowfish cipher(sink);
    cipher.Key(kPassword);
    ByteArray work;
    work.reserve(plain.size() + 24);
    for (auto _ : state) {
        state.PauseTiming();
        work.assign(plain.begin(), plain.end());
        state.ResumeTiming();
        cipher.EncryptByte(work);
        benchmark::DoNotOptimize(work.data());
    }
    SetBytes(state, plain.size());
}

void EngineEncryptByte(benchmark::State& state) {
    EncryptWithSink(state, nullptr);
}

void EngineDecryptByte(benchmark::State& state) {
    const ByteArray& container = Data().container;
    clsBlowfish cipher;
    cipher.Key(kPassword);
    ByteArray work;
    for (auto _ : state) {
        state.PauseTiming();
        work.assign(container.begin(), container.end());
        state.ResumeTiming();
        if (!cipher.DecryptByte(work)) state.SkipWithError("container not accepted");
        benchmark::DoNotOptimize(work.data());
    }
    SetBytes(state, container.size());
}

void ReferenceEncrypt(benchmark::State& state) {
    Inputs& data = Data();
    ByteArray out(data.plain.size());
    for (auto _ : state) {
        data.reference.Encrypt(data.plain.data(), out.data(), data.plain.size());
        benchmark::DoNotOptimize(out.data());
    }
    SetBytes(state, data.plain.size());
}

void ReferenceDecrypt(benchmark::State& state) {
    Inputs& data = Data();
    ByteArray out(data.referenceCipher.size());
    for (auto _ : state) {
        data.reference.Decrypt(data.referenceCipher.data(), out.data(), out.size());
        benchmark::DoNotOptimize(out.data());
    }
    if (out != data.plain) state.SkipWithError("OpenSSL round trip failed");
    SetBytes(state, out.size());
}

void EngineKeySchedule(benchmark::State& state) {
    clsBlowfish cipher;
    for (auto _ : state) cipher.Key(kPassword);
}

void ReferenceKeySchedule(benchmark::State& state) {
    bench::OpenSslReference& reference = Data().reference;
    for (auto _ : state) reference.SetKey(kReferenceKey);
}

void EngineEncode(benchmark::State& state) {
    const ByteArray& plain = Data().plain;
    clsBlowfish cipher;
    for (auto _ : state) {
        std::u16string text = cipher.EncodeArray64(plain);
        benchmark::DoNotOptimize(text.data());
    }
    SetBytes(state, plain.size());
}

void EngineDecode(benchmark::State& state) {
    const std::u16string& text = Data().base64;
    clsBlowfish cipher;
    std::size_t decoded = 0;
    for (auto _ : state) {
        ByteArray bytes = cipher.DecodeArray64(text);
        decoded = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    if (decoded != Data().plain.size()) state.SkipWithError("decoded length differs");
    SetBytes(state, decoded);
}

void ReferenceEncode(benchmark::State& state) {
    const ByteArray& plain = Data().plain;
    std::string out(plain.size() / 3 * 4 + 8, '\0');
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            bench::OpenSslReference::EncodeBase64(plain.data(), plain.size(), out.data()));
    }
    SetBytes(state, plain.size());
}

void ReferenceDecode(benchmark::State& state) {
    const std::string& text = Data().referenceBase64;
    ByteArray out(text.size() / 4 * 3 + 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            bench::OpenSslReference::DecodeBase64(text.data(), text.size(), out.data()));
    }
    SetBytes(state, Data().plain.size());
}

void ProgressNoop(benchmark::State& state) {
    NoopSink sink;
    EncryptWithSink(state, &sink);
}

void ProgressCounting(benchmark::State& state) {
    CountingSink sink;
    EncryptWithSink(state, &sink);
    state.counters["sink_calls"] =
        static_cast<double>(sink.calls) /
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
}

void RegisterInMemoryBenchmarks() {
    const std::pair<const char*, void (*)(benchmark::State&)> figures[] = {
        {"Engine/EncryptByte", EngineEncryptByte}, {"OpenSSL/BF-CBC-encrypt", ReferenceEncrypt},
        {"Engine/DecryptByte", EngineDecryptByte}, {"OpenSSL/BF-CBC-decrypt", ReferenceDecrypt},
        {"Engine/EncodeArray64", EngineEncode},    {"OpenSSL/Base64-encode", ReferenceEncode},
        {"Engine/DecodeArray64", EngineDecode},    {"OpenSSL/Base64-decode", ReferenceDecode},
        {"Progress/NoopSink", ProgressNoop},       {"Progress/CountingSink", ProgressCounting},
    };
    for (const auto& [name, function] : figures) {
        benchmark::RegisterBenchmark(name, function)->UseRealTime()->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("Engine/KeySchedule", EngineKeySchedule)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("OpenSSL/KeySchedule", ReferenceKeySchedule)
        ->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char** argv) {
    if (const int code = bench::RunWholeFileChild(argc, argv); code >= 0) return code;
    bench::StartCommandLauncher();

    RegisterInMemoryBenchmarks();
    bench::RegisterWholeFileBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.Failed() ? 1 : 0;
}
