#include "bench/SummaryReporter.h"

#include <unistd.h>

#include <cstdio>

#include "bench/BenchConfig.h"

namespace bench {

namespace {

double Counter(const benchmark::BenchmarkReporter::Run& run, const char* name) {
    const auto it = run.counters.find(name);
    return it == run.counters.end() ? 0.0 : it->second.value;
}

}  // namespace

SummaryReporter::SummaryReporter()
    : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        failed_ = failed_ || run.error_occurred;
        if (run.error_occurred || run.iterations == 0) continue;
        // With repetitions, the mean stands for the figure.
        const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
        if (run.run_type == Run::RT_Aggregate && !mean) continue;
        const std::string& name = run.run_name.function_name;
        if (!mean && run.repetitions > 1) continue;
        Figure& f = figures_[name];
        f.bytesPerSecond = Counter(run, "bytes_per_second");
        f.secondsPerIteration = run.real_accumulated_time / static_cast<double>(run.iterations);
        f.cpuSecondsPerIteration = run.cpu_accumulated_time / static_cast<double>(run.iterations);
        f.manualTime = run.run_name.time_type == "manual_time";
        f.peakMiB = Counter(run, "peak_rss_MiB");
        f.callsPerIteration = Counter(run, "sink_calls");
    }
}

const SummaryReporter::Figure* SummaryReporter::Find(const std::string& name) const {
    const auto it = figures_.find(name);
    return it == figures_.end() ? nullptr : &it->second;
}

void SummaryReporter::PrintRate(const char* label, const std::string& engine,
                                const std::string& reference, const char* referenceName,
                                const char* target) {
    const Figure* e = Find(engine);
    const Figure* r = Find(reference);
    if (e == nullptr || r == nullptr || r->bytesPerSecond <= 0) return;
    std::printf("  %-15s %10.1f MB/s   %-22s %10.1f MB/s   ratio %5.2f", label,
                e->bytesPerSecond / 1e6, referenceName, r->bytesPerSecond / 1e6,
                e->bytesPerSecond / r->bytesPerSecond);
    // On a busy machine the wall time includes waiting for a processor; the
    // ratio of CPU times shows the work alone. (The whole-file figures run
    // in child processes, so they have wall time only.)
    if (e->cpuSecondsPerIteration > 0 && r->cpuSecondsPerIteration > 0 && !r->manualTime) {
        const double engineCpu =
            e->bytesPerSecond * e->secondsPerIteration / e->cpuSecondsPerIteration;
        const double referenceCpu =
            r->bytesPerSecond * r->secondsPerIteration / r->cpuSecondsPerIteration;
        std::printf(" (CPU time %5.2f)", engineCpu / referenceCpu);
    }
    std::printf("   target %s\n", target);
}

void SummaryReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::printf("\nSummary (MB = 10^6 bytes; ratio = engine speed / reference speed, same run)\n");
    PrintRate("EncryptByte", "Engine/EncryptByte", "OpenSSL/BF-CBC-encrypt",
              "OpenSSL BF-CBC encrypt", ">= 1.1");
    PrintRate("DecryptByte", "Engine/DecryptByte", "OpenSSL/BF-CBC-decrypt",
              "OpenSSL BF-CBC decrypt", ">= 3");
    PrintRate("EncodeArray64", "Engine/EncodeArray64", "OpenSSL/Base64-encode",
              "OpenSSL EVP_EncodeBlock", ">= 1000 MB/s");
    PrintRate("DecodeArray64", "Engine/DecodeArray64", "OpenSSL/Base64-decode",
              "OpenSSL EVP_DecodeBlock", ">= 1000 MB/s");
    if (const Figure* e = Find("Engine/KeySchedule"), *r = Find("OpenSSL/KeySchedule"); e && r) {
        std::printf("  %-15s %10.1f us     %-22s %10.1f us     ratio %5.2f   target < 100 us\n",
                    "Key schedule", e->secondsPerIteration * 1e6, "OpenSSL BF key setup",
                    r->secondsPerIteration * 1e6, r->secondsPerIteration / e->secondsPerIteration);
    }
    PrintRate("EncryptFile", "WholeFile/EncryptFile", "WholeFile/openssl_enc",
              "openssl enc -bf-cbc", ">= 1.05");
    PrintRate("DecryptFile", "WholeFile/DecryptFile", "WholeFile/openssl_dec",
              "openssl enc -d -bf-cbc", ">= 2");
    const double fileMiB = static_cast<double>(FileBytes()) / (1 << 20);
    for (const char* name : {"WholeFile/EncryptFile", "WholeFile/DecryptFile"}) {
        if (const Figure* f = Find(name)) {
            // Files stream through a small buffer: the limit does not grow with the file.
            std::printf("  %-26s peak resident %8.1f MiB for a %.0f MiB file   limit 48 MiB\n",
                        name, f->peakMiB, fileMiB);
        }
    }
    if (const Figure* quiet = Find("Progress/NoopSink"), *counting = Find("Progress/CountingSink");
        quiet && counting) {
        std::printf(
            "  %-15s counting sink %.0f calls per EncryptByte; cost against a no-op sink %+.2f %% "
            "CPU time, "
            "%+.2f %% wall time   target < 3 %%\n",
            "Progress", counting->callsPerIteration,
            (counting->cpuSecondsPerIteration / quiet->cpuSecondsPerIteration - 1) * 100,
            (counting->secondsPerIteration / quiet->secondsPerIteration - 1) * 100);
    }
    std::fflush(stdout);
}

}  // namespace bench
