#include "bench/WholeFile.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
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
    double seconds = 0;
    double peakMiB = 0;
    bool ok = false;
};

// Runs a program to completion; its wall time and its own peak resident set.
CommandResult RunDirectly(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return {};
    if (pid == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return {};
    const auto stop = std::chrono::steady_clock::now();
    return {std::chrono::duration<double>(stop - start).count(),
            static_cast<double>(usage.ru_maxrss) / 1024.0,
            WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

// A small process, forked before the benchmark allocates its data, that
// starts the measured commands. A process forked from the benchmark itself
// would carry the benchmark's resident pages into its peak (Linux keeps the
// high-water mark across exec).
class Launcher {
public:
    void Start() {
        int toLauncher[2], fromLauncher[2];
        if (pipe(toLauncher) != 0 || pipe(fromLauncher) != 0)
            throw std::runtime_error("pipe failed");
        pid_ = fork();
        if (pid_ < 0) throw std::runtime_error("fork failed");
        if (pid_ == 0) {
            close(toLauncher[1]);
            close(fromLauncher[0]);
            Serve(toLauncher[0], fromLauncher[1]);
            _exit(0);
        }
        close(toLauncher[0]);
        close(fromLauncher[1]);
        commands_ = toLauncher[1];
        results_ = fromLauncher[0];
    }

    ~Launcher() {
        if (pid_ <= 0) return;
        close(commands_);
        close(results_);
        waitpid(pid_, nullptr, 0);
    }

    CommandResult Run(const std::vector<std::string>& args) {
        if (pid_ <= 0) return RunDirectly(args);
        std::string message;
        for (const auto& a : args) message += a + '\0';
        const std::uint64_t size = message.size();
        CommandResult result{};
        if (!WriteAll(commands_, &size, sizeof size) ||
            !WriteAll(commands_, message.data(), message.size()) ||
            !ReadAll(results_, &result, sizeof result)) {
            throw std::runtime_error("command launcher lost");
        }
        return result;
    }

private:
    static void Serve(int commands, int results) {
        std::uint64_t size = 0;
        while (ReadAll(commands, &size, sizeof size)) {
            std::string message(size, '\0');
            if (!ReadAll(commands, message.data(), message.size())) break;
            std::vector<std::string> args;
            for (std::size_t start = 0; start < message.size();) {
                const std::size_t end = message.find('\0', start);
                args.push_back(message.substr(start, end - start));
                start = end + 1;
            }
            const CommandResult result = RunDirectly(args);
            if (!WriteAll(results, &result, sizeof result)) break;
        }
    }

    static bool ReadAll(int fd, void* data, std::size_t size) {
        auto* p = static_cast<char*>(data);
        while (size > 0) {
            const ssize_t n = read(fd, p, size);
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    static bool WriteAll(int fd, const void* data, std::size_t size) {
        const auto* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = write(fd, p, size);
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    pid_t pid_ = -1;
    int commands_ = -1;
    int results_ = -1;
};

Launcher& TheLauncher() {
    static Launcher launcher;
    return launcher;
}

CommandResult RunCommand(const std::vector<std::string>& args) {
    const CommandResult result = TheLauncher().Run(args);
    if (!result.ok)
        throw std::runtime_error("command failed: " + args[0] + " " +
                                 (args.size() > 1 ? args[1] : ""));
    return result;
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

void StartCommandLauncher() {
    TheLauncher().Start();
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
