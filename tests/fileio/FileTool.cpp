// A minimal command-line front end to the file operations and the wipe, for
// tests that need the engine in a process of its own (to kill it, to signal
// it or to measure its memory).
//
//     quillbox_filetool encrypt|decrypt SOURCE DESTINATION PASSWORD
//     quillbox_filetool wipe SOURCE ENCRYPTED PASSWORD
//
// Exit status: 0 written (or wiped), 1 failed (the reason on standard error),
// 2 usage. With QUILLBOX_FILETOOL_STOP_AT=N in the environment the tool stops
// itself (SIGSTOP) at its N-th progress report, so that a test can signal it
// at a known moment of the work.

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "cipher/clsBlowfish.h"
#include "core/Messages.h"
#include "core/SourceWipe.h"
#include "core/TerminationCleanup.h"

namespace {

std::u16string Text(const char* utf8) {
    std::u16string text;
    for (const char* p = utf8; *p != '\0'; ++p) text.push_back(static_cast<unsigned char>(*p));
    return text;
}

class StopAtReport final : public cipher::ProgressSink {
public:
    explicit StopAtReport(long at) : at_(at) {}
    void Progress(std::int32_t&) override {
        if (++reports_ == at_) std::raise(SIGSTOP);
    }
    void SetStatusText(const std::u16string&) override {}
    void PumpEvents() override {}

private:
    long at_;
    long reports_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 5 ? argv[1] : "";
    if (mode != "encrypt" && mode != "decrypt" && mode != "wipe") {
        std::cerr << "usage: quillbox_filetool encrypt|decrypt|wipe SOURCE DESTINATION PASSWORD\n";
        return 2;
    }
    core::RemoveTemporaryFileOnTermination();
    // The paths are taken byte for byte, which suits the ASCII paths the
    // tests use.
    std::u16string source = Text(argv[2]), destination = Text(argv[3]), key = Text(argv[4]);
    if (mode == "wipe") {
        const core::WipeResult result = core::WipeSource(source, destination, key, nullptr);
        if (result.outcome == core::WipeOutcome::Wiped) return 0;
        std::cerr << "not wiped: " << result.reason << '\n';
        return 1;
    }
    const char* stopAt = std::getenv("QUILLBOX_FILETOOL_STOP_AT");
    StopAtReport stopper(stopAt != nullptr ? std::atol(stopAt) : 0);
    clsBlowfish cipher(&stopper);
    const bool written = mode == "encrypt" ? cipher.EncryptFile(source, destination, true, key)
                                           : cipher.DecryptFile(source, destination, true, key);
    if (!written) {
        std::cerr << core::messages::ForFile(cipher.LastError()) << '\n';
        return 1;
    }
    return 0;
}
