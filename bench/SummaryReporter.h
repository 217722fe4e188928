#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace bench {

// The console output of Google Benchmark, followed by a summary that sets
// each engine figure beside its reference from the same run.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    // Colour only on a terminal.
    SummaryReporter();

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;
    // Whether any run stopped with an error.
    bool Failed() const { return failed_; }

private:
    struct Figure {
        double bytesPerSecond = 0;  // 0 when the run had no byte count
        double secondsPerIteration = 0;
        double cpuSecondsPerIteration = 0;
        bool manualTime = false;
        double peakMiB = 0;
        double callsPerIteration = 0;
    };
    const Figure* Find(const std::string& name) const;
    void PrintRate(const char* label, const std::string& engine, const std::string& reference,
                   const char* referenceName, const char* target);

    std::map<std::string, Figure> figures_;
    bool failed_ = false;
};

}  // namespace bench
