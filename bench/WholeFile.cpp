#include "bench/WholeFile.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchConfig.h"
#include "cipher/clsBlowfish.h"

namespace bench {

namespace fs = std::filesystem;

namespace {

constexpr const char* kChildFlag = "--whole-file-child";
constexpr const char16_t* kPassword = u"benchmark password";
constexpr const char* kOpenSslKey = "00112233445566778899AABBCCDDEEFF";

struct CommandResult {
    double seconds;
    double peakMiB;
};

// Runs a program to completion; its wall time and its own peak resident set.
CommandResult RunCommand(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("wait4 failed");
    const auto stop = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("command failed: " + args[0] + " " +
                                 (args.size() > 1 ? args[1] : ""));
    }
    return {std::chrono::duration<double>(stop - start).count(),
            static_cast<double>(usage.ru_maxrss) / 1024.0};
}

std::string SelfPath() {
    return fs::read_symlink("/proc/self/exe").string();
}

// The temporary folder with the source file and the encrypted inputs of the
// decryption runs, made on first use and removed at exit.
class FileSet {
public:
    FileSet() {
        std::string pattern = (fs::temp_directory_path() / "quillbox-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        dir_ = pattern;
        const auto data = RandomData(FileBytes(), 42);
        std::ofstream(Path("source.bin"), std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
        // The inputs of the decryption runs; this also warms the page cache.
        RunCommand(EngineCommand("encrypt", "source.bin", "engine.enc"));
        RunCommand(OpenSslCommand(false, "source.bin", "openssl.enc"));
    }
    ~FileSet() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    std::vector<std::string> EngineCommand(const char* operation, const std::string& in,
                                           const std::string& out) const {
        return {SelfPath(), kChildFlag, operation, Path(in), Path(out)};
    }

    std::vector<std::string> OpenSslCommand(bool decrypt, const std::string& in,
                                            const std::string& out) const {
        std::vector<std::string> args = {"openssl", "enc"};
        if (decrypt) args.push_back("-d");
        for (const char* a : {"-bf-cbc", "-provider", "legacy", "-provider", "default", "-K",
                              kOpenSslKey, "-iv", "0000000000000000", "-in"}) {
            args.push_back(a);
        }
        args.push_back(Path(in));
        args.push_back("-out");
        args.push_back(Path(out));
        return args;
    }

private:
    fs::path dir_;
};

FileSet& Files() {
    static FileSet files;
    return files;
}

void MeasureCommand(benchmark::State& state, const std::vector<std::string>& command) {
    double peak = 0;
    for (auto _ : state) {
        const CommandResult result = RunCommand(command);
        state.SetIterationTime(result.seconds);
        peak = std::max(peak, result.peakMiB);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileBytes()));
    state.counters["peak_rss_MiB"] = peak;
    state.counters["file_MiB"] = static_cast<double>(FileBytes()) / (1 << 20);
}

}  // namespace

int RunWholeFileChild(int argc, char** argv) {
    if (argc != 5 || std::strcmp(argv[1], kChildFlag) != 0) return -1;
    const bool encrypt = std::strcmp(argv[2], "encrypt") == 0;
    std::u16string in = fs::path(argv[3]).u16string(), out = fs::path(argv[4]).u16string(),
                   key = kPassword;
    clsBlowfish cipher;
    const bool done =
        encrypt ? cipher.EncryptFile(in, out, true, key) : cipher.DecryptFile(in, out, true, key);
    return done ? 0 : 1;
}

void RegisterWholeFileBenchmarks() {
    struct Figure {
        const char* name;
        bool engine, decrypt;
    };
    for (const Figure& f : {Figure{"WholeFile/EncryptFile", true, false},
                            Figure{"WholeFile/openssl_enc", false, false},
                            Figure{"WholeFile/DecryptFile", true, true},
                            Figure{"WholeFile/openssl_dec", false, true}}) {
        benchmark::RegisterBenchmark(
            f.name,
            [f](benchmark::State& state) {
                FileSet& files = Files();
                const std::string out = f.decrypt ? "decrypted.bin" : "encrypted.out";
                const std::string in =
                    !f.decrypt ? "source.bin" : (f.engine ? "engine.enc" : "openssl.enc");
                MeasureCommand(state, f.engine ? files.EngineCommand(
                                                     f.decrypt ? "decrypt" : "encrypt", in, out)
                                               : files.OpenSslCommand(f.decrypt, in, out));
            })
            ->UseManualTime()
            ->Iterations(FileRuns())
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace bench
